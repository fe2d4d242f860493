#pragma once

#include <string>

#include "platform/Https.h"

namespace vn {

// HttpsClient on libcurl with OpenSSL. Every request is HTTP/1.1 over TLS
// (plain only when it asks so), nothing is cached and no credentials are ever
// offered. Certificates are checked, but a host-name mismatch and an expired
// or not yet valid certificate are accepted; an unknown certificate authority fails with
// ERROR_INTERNET_INVALID_CA unless the request asks to ignore exactly that.
//
// Send fills response.statusCode as soon as the answer's status line has
// arrived. A failure with a non-zero status code therefore means that reading
// the body failed; the part that did arrive is in response.body.
class CurlHttpsClient final : public HttpsClient {
public:
    struct Options {
        // Trusted authorities as a PEM file; empty means the system's bundle.
        std::string caFile;
        std::string userAgent = "Vantor";
        // Like a desktop HTTP client: a minute to connect (TLS handshake
        // included), and a transfer that moves less than lowSpeedBytes per
        // second for lowSpeedSeconds is given up as timed out.
        long connectTimeoutSeconds = 60;
        long lowSpeedBytes = 1;
        long lowSpeedSeconds = 60;
    };

    CurlHttpsClient();
    explicit CurlHttpsClient(Options options);

    [[nodiscard]] Status Send(const HttpsRequest& request, HttpsResponse& response) override;

private:
    Options options_;
};

}  // namespace vn
