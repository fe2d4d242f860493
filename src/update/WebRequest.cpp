#include "update/WebRequest.h"

#include <cstring>
#include <new>
#include <string>

#include "update/LastError.h"
#include "update/UrlParts.h"

namespace vn {
namespace {

constexpr std::uint32_t kHttpOk = 200;

// The failure that an HTTP status other than 200 stands for.
[[nodiscard]] Status HttpStatusError(std::uint32_t statusCode) {
    switch (statusCode) {
    case 400:
    case 405:
    case 414: return ERROR_INTERNET_INCORRECT_FORMAT;
    case 401:
    case 403: return ERROR_ACCESS_DENIED;
    case 404: return ERROR_INTERNET_ITEM_NOT_FOUND;
    case 500: return ERROR_INTERNET_INTERNAL_ERROR;
    default: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    }
}

std::string HeaderBlock(const char* contentType, std::size_t bodyLength) {
    std::string headers;
    if (contentType)
        headers += std::string("Content-Type: ") + contentType + "\r\n";
    if (bodyLength != 0)
        headers += "Content-Length: " + std::to_string(bodyLength) + "\r\n";
    return headers;
}

// An answer whose status line arrived is past the send, even when reading its
// body failed afterwards.
bool SendFailed(Status status, const HttpsResponse& response) {
    return status != ERROR_SUCCESS && response.statusCode == 0;
}

std::unique_ptr<char[]> Fail(Status status) {
    SetLastError(status);
    return nullptr;
}

}  // namespace

std::unique_ptr<char[]> WebRequest(HttpsClient& client, std::string_view url, const char* contentType, const void* body,
                                   std::size_t bodyLength, const std::atomic<bool>* cancel, std::size_t maxAnswerBytes,
                                   std::chrono::milliseconds timeLimit) {
    UrlParts parts;
    if (!UrlParts::Split(url, parts))
        return Fail(ERROR_INTERNET_INVALID_URL);

    HttpsRequest request;
    request.host = parts.host;
    request.port = parts.port;
    request.verb = body ? "POST" : "GET";
    request.path = parts.path;
    request.headers = HeaderBlock(contentType, bodyLength);
    if (body)
        request.body.assign(static_cast<const char*>(body), bodyLength);
    request.cancel = cancel;
    request.maxBodyBytes = maxAnswerBytes;
    if (timeLimit.count() > 0)
        request.deadline = std::chrono::steady_clock::now() + timeLimit;

    HttpsResponse response;
    Status status = client.Send(request, response);
    if (status == ERROR_INTERNET_INVALID_CA && SendFailed(status, response)) {
        request.ignoreUnknownCa = true;
        status = client.Send(request, response);
    }
    if (SendFailed(status, response))
        return Fail(status);
    if (response.statusCode != kHttpOk)
        return Fail(HttpStatusError(response.statusCode));
    // A part of an answer that was too long is no answer (whatever the
    // client, the limit holds here too).
    if (maxAnswerBytes != 0 && (status == ERROR_HTTP_INVALID_SERVER_RESPONSE || response.body.size() > maxAnswerBytes))
        return Fail(ERROR_HTTP_INVALID_SERVER_RESPONSE);

    std::unique_ptr<char[]> text(new (std::nothrow) char[response.body.size() + 1]);
    if (!text)
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    std::memcpy(text.get(), response.body.data(), response.body.size());
    text[response.body.size()] = '\0';
    SetLastError(status);
    return text;
}

}  // namespace vn
