#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "PeerAddresses.h"
#include "platform/wsd/WsdDiscovery.h"

namespace vn::wsd {
namespace {

constexpr IPv4 kHost = 0xA9FE0A02;   // 169.254.10.2
constexpr IPv4 kOther = 0xA9FE0A03;  // 169.254.10.3

std::string MetadataOf(const std::string& computer) {
    return "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\"><soap:Body><pub:Computer>" +
           computer + "</pub:Computer></soap:Body></soap:Envelope>";
}

// Answers by the request's path; records every request.
class ScriptedHttp final : public HttpsClient {
public:
    struct Reply {
        Status status = ERROR_SUCCESS;
        std::uint32_t code = 200;
        std::string body;
    };

    Status Send(const HttpsRequest& request, HttpsResponse& response) override {
        const std::lock_guard lock(mutex_);
        requests.push_back(request);
        const Reply& reply = replies[request.path];
        response.statusCode = reply.code;
        response.body = reply.body;
        return reply.status;
    }

    std::map<std::string, Reply> replies;
    std::vector<HttpsRequest> requests;

private:
    std::mutex mutex_;
};

struct EndpointCase {
    const char* what;
    std::vector<std::string> xaddrs;
    ScriptedHttp::Reply reply;
    Status status;
    const char* name;
};

TEST(WsdMetadataReadTest, EachEndpointIsNamedFromItsOwnAddressOrSaysWhyNot) {
    const EndpointCase cases[] = {
        {"named",
         {"http://169.254.10.2:5357/m"},
         {ERROR_SUCCESS, 200, MetadataOf("HOST2/Workgroup:LABWG")},
         ERROR_SUCCESS,
         "HOST2"},
        {"the first usable XAddr is asked",
         {"http://169.254.10.3:5357/m", "http://169.254.10.2:5357/m"},
         {ERROR_SUCCESS, 200, MetadataOf("HOST2/Workgroup:LABWG")},
         ERROR_SUCCESS,
         "HOST2"},
        {"only another host's XAddr", {"http://169.254.10.3:5357/m"}, {}, ERROR_BAD_NETPATH, ""},
        {"no XAddr (the Resolve went unanswered)", {}, {}, ERROR_BAD_NETPATH, ""},
        {"an HTTP error",
         {"http://169.254.10.2:5357/m"},
         {ERROR_SUCCESS, 500, ""},
         ERROR_HTTP_INVALID_SERVER_RESPONSE,
         ""},
        {"the transfer failed",
         {"http://169.254.10.2:5357/m"},
         {ERROR_INTERNET_TIMEOUT, 0, ""},
         ERROR_INTERNET_TIMEOUT,
         ""},
        {"metadata that names nothing",
         {"http://169.254.10.2:5357/m"},
         {ERROR_SUCCESS, 200, MetadataOf("HOST2")},
         13,
         ""},
    };
    for (const EndpointCase& c : cases) {
        ScriptedHttp http;
        http.replies["/m"] = c.reply;
        WsdDiscovery discovery(http);
        std::vector<WsdAnswer> answers;
        discovery.ReadMetadata(WsdOptions{}, {{PeerAddress::Of(kHost), "urn:uuid:e", c.xaddrs}}, answers);
        ASSERT_EQ(answers.size(), 1u) << c.what;
        EXPECT_EQ(answers[0].address, kHost) << c.what;
        EXPECT_EQ(answers[0].endpoint, "urn:uuid:e") << c.what;
        EXPECT_EQ(answers[0].status, c.status) << c.what;
        EXPECT_EQ(answers[0].computer.name, c.name) << c.what;
        for (const HttpsRequest& request : http.requests)
            EXPECT_EQ(request.host, "169.254.10.2") << c.what << ": no request leaves for another host";
    }
}

TEST(WsdMetadataReadTest, TheGetIsABoundedPlainHttpPostOfTheTransferGet) {
    ScriptedHttp http;
    WsdDiscovery discovery(http);
    std::vector<WsdAnswer> answers;
    const auto before = std::chrono::steady_clock::now();
    discovery.ReadMetadata(WsdOptions{},
                           {{PeerAddress::Of(kHost), "urn:uuid:e", {"http://169.254.10.2:5357/e5e61fb5"}}}, answers);
    ASSERT_EQ(http.requests.size(), 1u);
    const HttpsRequest& request = http.requests[0];
    EXPECT_TRUE(request.plainHttp);
    EXPECT_EQ(request.verb, "POST");
    EXPECT_EQ(request.port, 5357);
    EXPECT_EQ(request.path, "/e5e61fb5");
    EXPECT_EQ(request.maxBodyBytes, kMaxMetadataBytes);
    ASSERT_TRUE(request.deadline.has_value());
    EXPECT_LE(*request.deadline, before + WsdOptions{}.getLimit + std::chrono::seconds(1));
    EXPECT_NE(request.body.find("http://schemas.xmlsoap.org/ws/2004/09/transfer/Get"), std::string::npos);
    EXPECT_NE(request.body.find("<wsa:To>urn:uuid:e</wsa:To>"), std::string::npos);
    EXPECT_NE(request.headers.find("Content-Type: application/soap+xml"), std::string::npos);
}

TEST(WsdMetadataReadTest, AnIPv6EndpointIsAskedAtItsScopedAddressAndExaminedByIPv4WhereItHasOne) {
    const PeerAddress source = test::LinkLocal("fe80::1");
    ScriptedHttp http;
    http.replies["/m"] = {ERROR_SUCCESS, 200, MetadataOf("HOST6/Workgroup:LABWG")};
    WsdDiscovery discovery(http);
    std::vector<WsdAnswer> answers;
    discovery.ReadMetadata(WsdOptions{},
                           {{source, "urn:v6", {"http://[fe80::1%25e1]:5357/m"}},
                            {source, "urn:both", {"http://[fe80::1%25e1]:5357/m", "http://169.254.10.2:5357/m"}}},
                           answers);
    ASSERT_EQ(http.requests.size(), 2u);
    EXPECT_EQ(http.requests[0].host, "fe80::1%lo");
    EXPECT_EQ(http.requests[1].host, "fe80::1%lo") << "an XAddr at another address is not followed";
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].status, ERROR_SUCCESS);
    EXPECT_EQ(answers[0].address, 0u) << "by name";
    EXPECT_EQ(answers[0].source, source);
    EXPECT_EQ(answers[1].address, kHost);
}

TEST(WsdMetadataReadTest, EveryAddressHasItsFirstEndpointAskedBeforeAnySecondOne) {
    ScriptedHttp http;
    WsdDiscovery discovery(http);
    std::vector<AnsweredEndpoint> endpoints;
    endpoints.reserve(5);
    for (int i = 0; i < 4; ++i)
        endpoints.push_back(
            {PeerAddress::Of(kOther), "urn:fake:" + std::to_string(i), {"http://169.254.10.3/f" + std::to_string(i)}});
    endpoints.push_back({PeerAddress::Of(kHost), "urn:real", {"http://169.254.10.2/real"}});
    WsdOptions options;
    options.parallelGets = 1;
    std::vector<WsdAnswer> answers;
    discovery.ReadMetadata(options, endpoints, answers);
    ASSERT_EQ(http.requests.size(), 5u);
    EXPECT_EQ(http.requests[0].path, "/f0");
    EXPECT_EQ(http.requests[1].path, "/real");
    EXPECT_EQ(answers[4].endpoint, "urn:real") << "answers stay in the order found";
}

}  // namespace
}  // namespace vn::wsd
