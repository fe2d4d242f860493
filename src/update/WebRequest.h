#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string_view>

#include "platform/Https.h"

namespace vn {

// One HTTPS request to the maker's web service. With a body (even one of
// length 0) it is a POST, otherwise a GET; the scheme of the URL is ignored,
// the port is 443 unless the URL names one.
//
// Returns the whole response body of a status-200 answer as a NUL-terminated
// text that the caller owns, or null. The thread's last-error value is set
// on every return: 0 (or the code of a body read that failed part-way) with a
// text, otherwise the reason for having none.
//
// A request still running when *cancel turns true ends soon with
// ERROR_INTERNET_OPERATION_CANCELLED. With maxAnswerBytes not 0, an answer
// longer than that is not read on and gives null, with
// ERROR_HTTP_INVALID_SERVER_RESPONSE. With timeLimit not 0, the request,
// a retry included, ends by then with ERROR_INTERNET_TIMEOUT, however slowly
// the server sends.
std::unique_ptr<char[]> WebRequest(HttpsClient& client, std::string_view url, const char* contentType, const void* body,
                                   std::size_t bodyLength, const std::atomic<bool>* cancel = nullptr,
                                   std::size_t maxAnswerBytes = 0,
                                   std::chrono::milliseconds timeLimit = std::chrono::milliseconds::zero());

}  // namespace vn
