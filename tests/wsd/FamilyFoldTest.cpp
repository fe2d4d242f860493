#include <gtest/gtest.h>

#include "PeerAddresses.h"
#include "platform/wsd/FamilyFold.h"

namespace vn::wsd {
namespace {

using test::kHost;
using test::kOther;
using test::LinkLocal;

struct FoldCase {
    const char* what;
    std::vector<AnsweredEndpoint> found;
    std::vector<std::string> kept;  // "ADDRESS ENDPOINT"
};

TEST(FamilyFoldTest, AnEndpointIsKeptOncePreferringItsIPv4Answer) {
    const PeerAddress v6 = LinkLocal("fe80::1");
    const PeerAddress v6b = LinkLocal("fe80::2");
    const FoldCase cases[] = {
        {"both families, IPv6 first", {{v6, "e", {}}, {kHost, "e", {}}}, {"169.254.10.2 e"}},
        {"IPv6 alone, from two addresses", {{v6, "e", {}}, {v6b, "e", {}}}, {"fe80::1%lo e"}},
        {"two IPv4 addresses claim one endpoint: neither pushes out the other",
         {{kHost, "e", {}}, {kOther, "e", {}}, {v6, "e", {}}},
         {"169.254.10.2 e", "169.254.10.3 e"}},
        {"other endpoints untouched", {{v6, "a", {}}, {kHost, "b", {}}}, {"fe80::1%lo a", "169.254.10.2 b"}},
    };
    for (const FoldCase& c : cases) {
        std::vector<AnsweredEndpoint> endpoints = c.found;
        FoldFamilies(endpoints);
        std::vector<std::string> kept;
        kept.reserve(endpoints.size());
        for (const AnsweredEndpoint& endpoint : endpoints)
            kept.push_back(FormatPeer(endpoint.source) + " " + endpoint.endpoint);
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

struct AddressCase {
    const char* what;
    AnsweredEndpoint endpoint;
    const char* examined;
};

TEST(FamilyFoldTest, AComputerIsExaminedAtAnIPv4AddressWhereItHasOne) {
    const PeerAddress v6 = LinkLocal("fe80::1");
    const AddressCase cases[] = {
        {"its IPv4 source, whatever its XAddrs", {kHost, "e", {"http://169.254.10.9:5357/x"}}, "169.254.10.2"},
        {"IPv6 source: the first IPv4 XAddr",
         {v6, "e", {"http://[fe80::1%25eth0]:5357/x", "http://169.254.10.9:5357/x", "http://169.254.10.8/"}},
         "169.254.10.9"},
        {"IPv6 source, IPv4 XAddr without port or path", {v6, "e", {"http://169.254.10.9"}}, "169.254.10.9"},
        {"IPv6 alone: by name", {v6, "e", {"http://[fe80::1]:5357/x"}}, "0.0.0.0"},
        {"a host name is no address", {v6, "e", {"http://host7:5357/x", "https://169.254.10.9/"}}, "0.0.0.0"},
        {"nor is 0.0.0.0", {v6, "e", {"http://0.0.0.0:5357/x"}}, "0.0.0.0"},
    };
    for (const AddressCase& c : cases)
        EXPECT_EQ(FormatIPv4(ExaminedAddress(c.endpoint)), c.examined) << c.what;
}

}  // namespace
}  // namespace vn::wsd
