// WebRequest's own rules, with a scripted client in place of the network.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "update/LastError.h"
#include "update/WebRequest.h"

namespace vn {
namespace {

class ScriptedClient final : public HttpsClient {
public:
    struct Answer {
        Status status = ERROR_SUCCESS;
        HttpsResponse response;
    };

    Status Send(const HttpsRequest& request, HttpsResponse& response) override {
        sent.push_back(request);
        if (answers.empty()) {
            response = HttpsResponse{200, "default"};
            return ERROR_SUCCESS;
        }
        Answer answer = answers.front();
        answers.pop_front();
        response = answer.response;
        return answer.status;
    }

    std::deque<Answer> answers;
    std::vector<HttpsRequest> sent;
};

std::unique_ptr<char[]> Get(HttpsClient& client, std::string_view url) {
    return WebRequest(client, url, nullptr, nullptr, 0);
}

TEST(WebRequestTest, InvalidUrlsFailWithoutNetworkActivity) {
    for (const char* url : {"no-colon-at-all/path", "https://host", "https://host:8443",
                            "https://host:8443:", "https:", "https://host:70000/x"}) {
        ScriptedClient client;
        SetLastError(0);
        EXPECT_EQ(Get(client, url), nullptr) << url;
        EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_URL) << url;
        EXPECT_TRUE(client.sent.empty()) << url;
    }
}

TEST(WebRequestTest, UrlIsSplitIntoHostPortAndPath) {
    struct Case {
        const char* url;
        const char* host;
        std::uint16_t port;
        const char* path;
    } cases[] = {
        {"https://example.test/a/b.asp", "example.test", 443, "/a/b.asp"},
        {"https://example.test:8443/a?x=1", "example.test", 8443, "/a?x=1"},
        {"http://example.test/plain", "example.test", 443, "/plain"},    // always TLS, still 443
        {"http:::///example.test::::8443/", "example.test", 8443, "/"},  // runs of ":" and "/" are skipped
        {"x:host:/p", "host", 443, "/p"},                                // an empty port is the default
    };
    for (const auto& c : cases) {
        ScriptedClient client;
        ASSERT_NE(Get(client, c.url), nullptr) << c.url;
        ASSERT_EQ(client.sent.size(), 1u);
        EXPECT_EQ(client.sent[0].host, c.host) << c.url;
        EXPECT_EQ(client.sent[0].port, c.port) << c.url;
        EXPECT_EQ(client.sent[0].path, c.path) << c.url;
    }
}

TEST(WebRequestTest, UnknownAuthorityIsRetriedOnceIgnoringIt) {
    ScriptedClient client;
    client.answers = {{ERROR_INTERNET_INVALID_CA, {}}, {ERROR_SUCCESS, {200, "ok"}}};
    auto text = Get(client, "https://h/p");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "ok");
    ASSERT_EQ(client.sent.size(), 2u);
    EXPECT_FALSE(client.sent[0].ignoreUnknownCa);
    EXPECT_TRUE(client.sent[1].ignoreUnknownCa);

    ScriptedClient twice;
    twice.answers = {{ERROR_INTERNET_INVALID_CA, {}}, {ERROR_INTERNET_INVALID_CA, {}}, {ERROR_SUCCESS, {200, "x"}}};
    EXPECT_EQ(Get(twice, "https://h/p"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_CA);
    EXPECT_EQ(twice.sent.size(), 2u);
}

// One limit for the whole request: the retry gets what is left of it.
TEST(WebRequestTest, ATimeLimitIsOneDeadlineForTheRequestAndItsRetry) {
    using namespace std::chrono;
    for (const milliseconds limit : {milliseconds(0), milliseconds(60000)}) {
        ScriptedClient client;
        client.answers.push_back({ERROR_INTERNET_INVALID_CA, {}});
        const auto started = steady_clock::now();
        ASSERT_NE(WebRequest(client, "https://example.test/v", nullptr, nullptr, 0, nullptr, 0, limit), nullptr);
        ASSERT_EQ(client.sent.size(), 2u);
        EXPECT_EQ(client.sent[0].deadline, client.sent[1].deadline) << limit.count();
        EXPECT_EQ(client.sent[0].deadline.has_value(), limit.count() > 0);
        if (client.sent[0].deadline) {
            EXPECT_GE(*client.sent[0].deadline, started + limit);
            EXPECT_LE(*client.sent[0].deadline, steady_clock::now() + limit);
        }
    }
}

TEST(WebRequestTest, OtherSendFailuresEndTheRequestAtOnce) {
    for (Status failure : {ERROR_INTERNET_SEC_CERT_ERRORS, ERROR_INTERNET_CANNOT_CONNECT,
                           ERROR_INTERNET_SECURITY_CHANNEL_ERROR, ERROR_INTERNET_TIMEOUT}) {
        ScriptedClient client;
        client.answers = {{failure, {}}};
        EXPECT_EQ(Get(client, "https://h/p"), nullptr);
        EXPECT_EQ(GetLastError(), failure);
        EXPECT_EQ(client.sent.size(), 1u);
    }
}

TEST(WebRequestTest, FailedBodyReadKeepsWhatArrivedAndItsCode) {
    ScriptedClient client;
    client.answers = {{ERROR_INTERNET_CONNECTION_ABORTED, {200, "partial"}}};
    auto text = Get(client, "https://h/p");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "partial");
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_CONNECTION_ABORTED);

    ScriptedClient notFound;
    notFound.answers = {{ERROR_INTERNET_CONNECTION_ABORTED, {404, "part"}}};
    EXPECT_EQ(Get(notFound, "https://h/p"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_ITEM_NOT_FOUND);
}

TEST(WebRequestTest, AnAnswerLongerThanTheLimitIsNoAnswer) {
    const struct {
        Status status;
        const char* body;
        bool text;
    } cases[] = {
        {ERROR_SUCCESS, "12345", true},
        {ERROR_SUCCESS, "123456", false},                      // a client that ignored the limit
        {ERROR_HTTP_INVALID_SERVER_RESPONSE, "12345", false},  // one that stopped reading at it
    };
    for (const auto& c : cases) {
        ScriptedClient client;
        client.answers = {{c.status, {200, c.body}}};
        const auto text = WebRequest(client, "https://h/p", nullptr, nullptr, 0, nullptr, 5);
        EXPECT_EQ(text != nullptr, c.text) << c.body;
        EXPECT_EQ(GetLastError(), c.text ? ERROR_SUCCESS : ERROR_HTTP_INVALID_SERVER_RESPONSE) << c.body;
        ASSERT_EQ(client.sent.size(), 1u);
        EXPECT_EQ(client.sent[0].maxBodyBytes, 5u);
    }
}

TEST(WebRequestTest, LastErrorBelongsToTheCallingThread) {
    ScriptedClient client;
    client.answers = {{ERROR_SUCCESS, {404, ""}}};
    EXPECT_EQ(Get(client, "https://h/p"), nullptr);
    Status seenElsewhere = 1;
    std::thread([&] { seenElsewhere = GetLastError(); }).join();
    EXPECT_EQ(seenElsewhere, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_ITEM_NOT_FOUND);
}

}  // namespace
}  // namespace vn
