// WebRequest over the libcurl client against a real local HTTPS server.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/https/TlsLab.h"
#include "update/LastError.h"
#include "update/WebRequest.h"

namespace vn::test {
namespace {

class WebRequestServerTest : public ::testing::Test {
protected:
    WebRequestServerTest() : identity_(lab_.Trusted()), server_(&identity_), client_(lab_.ClientOptions()) {}

    std::string Url(const std::string& path = "/mykshost/version.asp") const {
        return "https://" + server_.HostAndPort() + path;
    }
    void Reply(int status, std::string body, std::string extraHeaders = {}) {
        server_.SetReply({status, std::move(body), std::move(extraHeaders), TestHttpsServer::Behaviour::Answer});
    }

    TlsLab lab_;
    Identity identity_;
    TestHttpsServer server_;
    CurlHttpsClient client_;
};

std::string Pattern(std::size_t length) {
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>('a' + i % 26);
    return text;
}

TEST_F(WebRequestServerTest, BodiesComeBackWholeAndTerminated) {
    for (std::size_t length : {0u, 1u, 255u, 256u, 257u, 511u, 512u, 513u, 10000u}) {
        const std::string body = Pattern(length);
        Reply(200, body);
        SetLastError(ERROR_INTERNET_TIMEOUT);
        auto text = WebRequest(client_, Url(), nullptr, nullptr, 0);
        ASSERT_NE(text, nullptr) << length;
        EXPECT_EQ(std::strlen(text.get()), length);
        EXPECT_EQ(std::string(text.get()), body);
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    }
}

TEST_F(WebRequestServerTest, StatusesOtherThan200GiveNoText) {
    const struct {
        int status;
        Status expected;
        const char* extraHeaders;
    } cases[] = {
        {404, ERROR_INTERNET_ITEM_NOT_FOUND, ""},
        {403, ERROR_ACCESS_DENIED, ""},
        {401, ERROR_ACCESS_DENIED, ""},
        {400, ERROR_INTERNET_INCORRECT_FORMAT, ""},
        {405, ERROR_INTERNET_INCORRECT_FORMAT, ""},
        {414, ERROR_INTERNET_INCORRECT_FORMAT, ""},
        {500, ERROR_INTERNET_INTERNAL_ERROR, ""},
        {302, ERROR_HTTP_INVALID_SERVER_RESPONSE, "Location: /elsewhere\r\n"},
    };
    for (const auto& c : cases) {
        Reply(c.status, "<html><body><h1>Not here</h1></body></html>", c.extraHeaders);
        EXPECT_EQ(WebRequest(client_, Url(), nullptr, nullptr, 0), nullptr) << c.status;
        EXPECT_EQ(GetLastError(), c.expected) << c.status;
    }
    EXPECT_EQ(server_.Requests().size(), std::size(cases));  // the redirect was not followed
}

TEST_F(WebRequestServerTest, GetSendsNoBodyHeaders) {
    Reply(200, "x");
    ASSERT_NE(WebRequest(client_, Url("/a/b.asp?q=1"), nullptr, nullptr, 0), nullptr);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/a/b.asp?q=1");
    EXPECT_NE(requests[0].headers.find("User-Agent: Vantor\r\n"), std::string::npos);
    EXPECT_NE(requests[0].headers.find("Cache-Control: no-cache\r\n"), std::string::npos);
    EXPECT_EQ(requests[0].headers.find("Content-"), std::string::npos);
    EXPECT_EQ(requests[0].headers.find("Accept"), std::string::npos);
}

TEST_F(WebRequestServerTest, PostWithBodySendsTypeAndLength) {
    Reply(200, "stored");
    const std::string form = "name=value&other=1";
    auto text = WebRequest(client_, Url("/post.asp"), "application/x-www-form-urlencoded", form.data(), form.size());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "stored");
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, form);
    EXPECT_NE(requests[0].headers.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
    EXPECT_NE(requests[0].headers.find("Content-Length: 18\r\n"), std::string::npos);
    EXPECT_EQ(requests[0].headers.find("Expect"), std::string::npos);
}

TEST_F(WebRequestServerTest, LargePostBodyArrivesWhole) {
    Reply(200, "ok");
    const std::string form = Pattern(10000);
    ASSERT_NE(WebRequest(client_, Url(), "text/plain", form.data(), form.size()), nullptr);
    ASSERT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(server_.Requests()[0].body, form);
}

TEST_F(WebRequestServerTest, PostWithEmptyBodySendsNoLengthOrType) {
    Reply(200, "ok");
    const char empty[] = "";
    ASSERT_NE(WebRequest(client_, Url(), nullptr, empty, 0), nullptr);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].headers.find("Content-"), std::string::npos);
    EXPECT_EQ(requests[0].body, "");
}

TEST_F(WebRequestServerTest, UrlEndingAfterThePortNeverReachesTheServer) {
    EXPECT_EQ(WebRequest(client_, "https://" + server_.HostAndPort(), nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_URL);
    EXPECT_EQ(server_.Connections(), 0);
}

TEST_F(WebRequestServerTest, PlainHttpSchemeStillSpeaksTls) {
    Reply(200, "secure");
    auto text = WebRequest(client_, "http://" + server_.HostAndPort() + "/x", nullptr, nullptr, 0);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "secure");
}

TEST_F(WebRequestServerTest, BodyCutShortKeepsTheReceivedPart) {
    server_.SetReply({200, Pattern(1000), {}, TestHttpsServer::Behaviour::TruncateBody});
    auto text = WebRequest(client_, Url(), nullptr, nullptr, 0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text.get()), Pattern(500));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_CONNECTION_ABORTED);
}

}  // namespace
}  // namespace vn::test
