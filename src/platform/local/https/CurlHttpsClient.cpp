#include "platform/local/https/CurlHttpsClient.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <chrono>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

namespace vn {
namespace {

// What the certificate check of one transfer allows, and what it refused.
struct CertificatePolicy {
    bool ignoreUnknownCa = false;
    bool refusedUnknownCa = false;
    int refusedError = X509_V_OK;
};

// Everything the callbacks of one transfer share.
struct Transfer {
    CertificatePolicy policy;
    const std::atomic<bool>* cancel = nullptr;
    std::size_t maxBodyBytes = 0;  // 0: no limit
    std::string body;
    bool outOfMemory = false;
    bool bodyTooLarge = false;
};

bool IsUnknownAuthority(int error) {
    switch (error) {
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE: return true;
    default: return false;
    }
}

bool IsDateError(int error) { return error == X509_V_ERR_CERT_HAS_EXPIRED || error == X509_V_ERR_CERT_NOT_YET_VALID; }

int PolicyIndex() {
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// Called by OpenSSL for every problem found in the server's chain. Accepted
// problems are cleared so that the verification result stays X509_V_OK.
int VerifyCertificate(int preverified, X509_STORE_CTX* store) {
    if (preverified)
        return 1;
    auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* policy =
        ssl ? static_cast<CertificatePolicy*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), PolicyIndex())) : nullptr;
    if (!policy)
        return 0;
    const int error = X509_STORE_CTX_get_error(store);
    const bool unknownAuthority = IsUnknownAuthority(error);
    if (IsDateError(error) || (unknownAuthority && policy->ignoreUnknownCa)) {
        X509_STORE_CTX_set_error(store, X509_V_OK);
        return 1;
    }
    if (unknownAuthority)
        policy->refusedUnknownCa = true;
    else
        policy->refusedError = error;
    return 0;
}

CURLcode InstallCertificatePolicy(CURL*, void* sslContext, void* policy) {
    auto* context = static_cast<SSL_CTX*>(sslContext);
    if (!SSL_CTX_set_ex_data(context, PolicyIndex(), policy))
        return CURLE_OUT_OF_MEMORY;
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, VerifyCertificate);
    return CURLE_OK;
}

size_t AppendBody(char* data, size_t size, size_t count, void* transfer) {
    auto& state = *static_cast<Transfer*>(transfer);
    // Refusing the data ends the transfer: a server that sends on and on
    // cannot make us keep it all.
    if (state.maxBodyBytes != 0 && size * count > state.maxBodyBytes - state.body.size()) {
        state.bodyTooLarge = true;
        return 0;
    }
    try {
        state.body.append(data, size * count);
    } catch (const std::bad_alloc&) {
        state.outOfMemory = true;
        return 0;
    }
    return size * count;
}

int CheckCancel(void* transfer, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* cancel = static_cast<Transfer*>(transfer)->cancel;
    return cancel && cancel->load() ? 1 : 0;
}

[[nodiscard]] Status CertificateStatus(int error) {
    return error == X509_V_ERR_CERT_REVOKED ? ERROR_INTERNET_SEC_CERT_REVOKED : ERROR_INTERNET_SEC_CERT_ERRORS;
}

[[nodiscard]] Status TransferStatus(CURLcode code, const Transfer& transfer) {
    if (code == CURLE_OK)
        return ERROR_SUCCESS;
    if (transfer.policy.refusedUnknownCa)
        return ERROR_INTERNET_INVALID_CA;
    if (transfer.policy.refusedError != X509_V_OK)
        return CertificateStatus(transfer.policy.refusedError);
    if (transfer.outOfMemory)
        return ERROR_NOT_ENOUGH_MEMORY;
    if (transfer.bodyTooLarge)
        return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    switch (code) {
    case CURLE_URL_MALFORMAT: return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_ABORTED_BY_CALLBACK: return ERROR_INTERNET_OPERATION_CANCELLED;
    case CURLE_PEER_FAILED_VERIFICATION: return ERROR_INTERNET_SEC_CERT_ERRORS;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED: return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_PARTIAL_FILE:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR: return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_OUT_OF_MEMORY: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

bool HasHeader(std::string_view headers, std::string_view name) {
    for (std::size_t start = 0; start < headers.size();) {
        std::size_t end = headers.find("\r\n", start);
        if (end == std::string_view::npos)
            end = headers.size();
        const std::string_view line = headers.substr(start, end - start);
        if (line.size() > name.size() && line[name.size()] == ':' &&
            curl_strnequal(line.data(), name.data(), name.size()))
            return true;
        start = end + 2;
    }
    return false;
}

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

bool Append(HeaderList& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown)
        return false;
    (void)list.release();  // grown is the same list, one line longer
    list.reset(grown);
    return true;
}

// The request's own header lines, then what keeps libcurl from adding headers
// of its own ("Name:" with nothing after it removes libcurl's header).
bool BuildHeaders(const HttpsRequest& request, HeaderList& list) {
    std::string_view rest = request.headers;
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        const std::string_view line = rest.substr(0, end);
        if (!line.empty() && !Append(list, std::string(line)))
            return false;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    }
    std::string fixed[] = {"Accept:", "Expect:", "Cache-Control: no-cache", "Pragma: no-cache"};
    for (const auto& line : fixed)
        if (!Append(list, line))
            return false;
    if (!HasHeader(request.headers, "Content-Type") && !Append(list, "Content-Type:"))
        return false;
    if (request.body.empty() && !HasHeader(request.headers, "Content-Length") && !Append(list, "Content-Length:"))
        return false;
    return true;
}

// The host as a URL has it: an IPv6 literal goes in brackets, its zone
// ("fe80::1%eth0") with the percent sign encoded.
std::string UrlHost(const std::string& host) {
    if (host.find(':') == std::string::npos || host.front() == '[')
        return host;
    std::string out = "[";
    for (const char c : host)
        out += c == '%' ? std::string("%25") : std::string(1, c);
    return out + "]";
}

void InitialiseCurlOnce() {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}

}  // namespace

CurlHttpsClient::CurlHttpsClient() : CurlHttpsClient(Options{}) {}

CurlHttpsClient::CurlHttpsClient(Options options) : options_(std::move(options)) { InitialiseCurlOnce(); }

Status CurlHttpsClient::Send(const HttpsRequest& request, HttpsResponse& response) {
    response = HttpsResponse{};
    CurlHandle curl(curl_easy_init(), &curl_easy_cleanup);
    HeaderList headers(nullptr, &curl_slist_free_all);
    if (!curl || !BuildHeaders(request, headers))
        return ERROR_NOT_ENOUGH_MEMORY;

    Transfer transfer;
    transfer.policy.ignoreUnknownCa = request.ignoreUnknownCa;
    transfer.cancel = request.cancel;
    transfer.maxBodyBytes = request.maxBodyBytes;
    const char* scheme = request.plainHttp ? "http" : "https";
    const std::string url =
        std::string(scheme) + "://" + UrlHost(request.host) + ":" + std::to_string(request.port) + request.path;

    CURL* easy = curl.get();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, scheme);
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, options_.userAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    if (request.verb == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
        if (request.verb != "POST")
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }

    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);  // a name mismatch is accepted
    curl_easy_setopt(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, InstallCertificatePolicy);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, &transfer.policy);
    if (!options_.caFile.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, options_.caFile.c_str());
        curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    }

    if (request.deadline) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(*request.deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return ERROR_INTERNET_TIMEOUT;
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
    }
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, options_.connectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, options_.lowSpeedBytes);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, options_.lowSpeedSeconds);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    if (transfer.cancel) {
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, CheckCancel);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);
    }

    const CURLcode code = curl_easy_perform(easy);
    long statusCode = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &statusCode);
    response.statusCode = static_cast<std::uint32_t>(statusCode);
    response.body = std::move(transfer.body);
    return TransferStatus(code, transfer);
}

}  // namespace vn
