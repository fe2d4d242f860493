#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Status.h"

namespace vn {

// One HTTPS request, already split into its parts.
struct HttpsRequest {
    std::string host;
    std::uint16_t port = 443;
    std::string verb = "GET";
    std::string path = "/";
    std::string headers;  // "Name: value\r\n" lines
    std::string body;
    bool ignoreUnknownCa = false;  // the retry after ERROR_INTERNET_INVALID_CA
    // Plain HTTP, for the few services that offer nothing else (the metadata
    // of WS-Discovery's devices); never with credentials or secrets.
    bool plainHttp = false;
    // When given, a transfer still running after *cancel turns true ends soon
    // with ERROR_INTERNET_OPERATION_CANCELLED (so owners need not wait it out).
    const std::atomic<bool>* cancel = nullptr;
    // When not 0, an answer whose body grows past this many bytes is not read
    // further: the request fails with ERROR_HTTP_INVALID_SERVER_RESPONSE.
    std::size_t maxBodyBytes = 0;
    // When set, the whole request (connecting, the answer's head and body)
    // ends by then with ERROR_INTERNET_TIMEOUT, however the server trickles.
    std::optional<std::chrono::steady_clock::time_point> deadline;
};

struct HttpsResponse {
    std::uint32_t statusCode = 0;
    std::string body;
};

class HttpsClient {
public:
    virtual ~HttpsClient() = default;

    // Sends the request and reads the whole answer. The result is 0 or a code
    // of the Internet client (12000 range).
    [[nodiscard]] virtual Status Send(const HttpsRequest& request, HttpsResponse& response) = 0;
};

}  // namespace vn
