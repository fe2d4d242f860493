// Transport failures of the libcurl client: nothing listening, no TLS, a
// silent server, and abandoning a request.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "platform/https/TlsLab.h"

namespace vn::test {
namespace {

using Clock = std::chrono::steady_clock;

HttpsRequest RequestTo(std::uint16_t port) {
    HttpsRequest request;
    request.host = "127.0.0.1";
    request.port = port;
    request.path = "/";
    return request;
}

TEST(CurlHttpsClientTest, NothingListeningCannotConnect) {
    TlsLab lab;
    CurlHttpsClient client(lab.ClientOptions());
    HttpsResponse response;
    EXPECT_EQ(client.Send(RequestTo(UnusedPort()), response), ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_EQ(response.statusCode, 0u);
}

TEST(CurlHttpsClientTest, ServerWithoutTlsIsASecureChannelError) {
    TlsLab lab;
    TestHttpsServer plain(nullptr);
    CurlHttpsClient client(lab.ClientOptions());
    HttpsResponse response;
    EXPECT_EQ(client.Send(RequestTo(plain.Port()), response), ERROR_INTERNET_SECURITY_CHANNEL_ERROR);
    EXPECT_EQ(response.statusCode, 0u);
}

TEST(CurlHttpsClientTest, SilentServerTimesOut) {
    TlsLab lab;
    const Identity identity = lab.Trusted();
    TestHttpsServer server(&identity);
    server.SetReply({200, "", {}, TestHttpsServer::Behaviour::NeverAnswer});
    CurlHttpsClient::Options options = lab.ClientOptions();
    options.lowSpeedSeconds = 1;
    CurlHttpsClient client(options);
    HttpsResponse response;
    const auto started = Clock::now();
    EXPECT_EQ(client.Send(RequestTo(server.Port()), response), ERROR_INTERNET_TIMEOUT);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(8));
}

// A server that keeps the answer's head coming, a line at a time, never
// looks idle: only the request's deadline ends it; without one the whole
// answer arrives.
TEST(CurlHttpsClientTest, ADeadlineEndsAnAnswerThatTrickles) {
    TlsLab lab;
    const Identity identity = lab.Trusted();
    TestHttpsServer server(&identity);
    server.SetReply({200, "7.1", {}, TestHttpsServer::Behaviour::DripHead});
    CurlHttpsClient client(lab.ClientOptions());
    const struct {
        std::optional<std::chrono::milliseconds> limit;
        Status status;
    } cases[] = {
        {std::chrono::milliseconds(800), ERROR_INTERNET_TIMEOUT},
        {std::chrono::milliseconds(0), ERROR_INTERNET_TIMEOUT},  // over before it starts
        {std::nullopt, ERROR_SUCCESS},
    };
    for (const auto& c : cases) {
        HttpsRequest request = RequestTo(server.Port());
        if (c.limit)
            request.deadline = Clock::now() + *c.limit;
        HttpsResponse response;
        EXPECT_EQ(client.Send(request, response), c.status) << (c.limit ? c.limit->count() : -1);
        EXPECT_EQ(response.body, c.status == ERROR_SUCCESS ? "7.1" : "");
    }
}

// The running cap on the body holds exactly, over one piece of the answer
// and over many: an answer of maxBodyBytes arrives whole, one byte more fails.
TEST(CurlHttpsClientTest, TheBodyCapHoldsExactly) {
    TlsLab lab;
    const Identity identity = lab.Trusted();
    TestHttpsServer server(&identity);
    CurlHttpsClient client(lab.ClientOptions());
    for (const std::size_t cap : {std::size_t{1}, std::size_t{4096}, std::size_t{200000}}) {
        for (const std::size_t length : {cap, cap + 1}) {
            server.SetReply({200, std::string(length, 'v'), {}, TestHttpsServer::Behaviour::Answer});
            HttpsRequest request = RequestTo(server.Port());
            request.maxBodyBytes = cap;
            HttpsResponse response;
            const bool fits = length == cap;
            EXPECT_EQ(client.Send(request, response), fits ? ERROR_SUCCESS : ERROR_HTTP_INVALID_SERVER_RESPONSE)
                << length;
            // Never more is kept than the cap.
            if (fits)
                EXPECT_EQ(response.body.size(), cap);
            else
                EXPECT_LE(response.body.size(), cap);
        }
    }
}

TEST(CurlHttpsClientTest, CancelEndsARequestInFlight) {
    TlsLab lab;
    const Identity identity = lab.Trusted();
    TestHttpsServer server(&identity);
    server.SetReply({200, "", {}, TestHttpsServer::Behaviour::NeverAnswer});
    CurlHttpsClient client(lab.ClientOptions());  // its own time-outs are 10 s
    std::atomic<bool> cancel{false};
    HttpsRequest request = RequestTo(server.Port());
    request.cancel = &cancel;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancel.store(true);
    });
    HttpsResponse response;
    const auto started = Clock::now();
    EXPECT_EQ(client.Send(request, response), ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
    canceller.join();
}

}  // namespace
}  // namespace vn::test
