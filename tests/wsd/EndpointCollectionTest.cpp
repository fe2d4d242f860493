#include <gtest/gtest.h>

#include "PeerAddresses.h"
#include "platform/wsd/EndpointCollection.h"

namespace vn::wsd {
namespace {

using test::kHost;
using test::kOther;
using test::LinkLocal;

// One datagram of one endpoint, as ParseDatagram leaves it.
struct Step {
    PeerAddress source;
    WsdAction action;
    std::string endpoint;
    std::vector<std::string> xaddrs = {"http://x/"};
    std::string relatesTo = "";
    bool computer = true;
    bool typed = true;
};

Step Answer(PeerAddress source, WsdAction action, std::string endpoint,
            std::vector<std::string> xaddrs = {"http://x/"}) {
    return {source, action, std::move(endpoint), std::move(xaddrs), "urn:ours"};
}

struct CollectionCase {
    const char* what;
    std::vector<Step> steps;
    std::vector<std::string> kept;      // "ADDRESS ENDPOINT FIRST-XADDR"
    std::vector<std::string> resolves;  // "ADDRESS ENDPOINT", in the order asked
};

TEST(EndpointCollectionTest, AnswersAnnouncementsAndByesEachChangeOnlyTheirSendersEntries) {
    using A = WsdAction;
    const PeerAddress v6 = LinkLocal("fe80::1");
    const CollectionCase cases[] = {
        {"a computer's ProbeMatch to our Probe",
         {Answer(kHost, A::ProbeMatches, "e")},
         {"169.254.10.2 e http://x/"},
         {}},
        {"a ProbeMatch to another's Probe", {Step{kHost, A::ProbeMatches, "e", {"http://x/"}, "urn:theirs"}}, {}, {}},
        {"a ProbeMatch of no computer", {Step{kHost, A::ProbeMatches, "e", {"http://x/"}, "urn:ours", false}}, {}, {}},
        {"a Hello relates to nothing", {Step{kHost, A::Hello, "e"}}, {"169.254.10.2 e http://x/"}, {}},
        {"a Hello without types",
         {Step{kHost, A::Hello, "e", {"http://x/"}, "", false, false}},
         {"169.254.10.2 e http://x/"},
         {}},
        {"a Hello of something else", {Step{kHost, A::Hello, "e", {"http://x/"}, "", false, true}}, {}, {}},
        {"a Bye from the announcer", {Step{kHost, A::Hello, "e"}, Step{kHost, A::Bye, "e", {}}}, {}, {}},
        {"a Bye from another address",
         {Answer(kHost, A::ProbeMatches, "e"), Step{kOther, A::Bye, "e", {}}, Step{v6, A::Bye, "e", {}}},
         {"169.254.10.2 e http://x/"},
         {}},
        {"a Hello after the Bye, where it serves now",
         {Step{kHost, A::Hello, "e"}, Step{kHost, A::Bye, "e", {}}, Step{kHost, A::Hello, "e", {"http://y/"}}},
         {"169.254.10.2 e http://y/"},
         {}},
        {"a late ProbeMatch after the Bye",
         {Answer(kHost, A::ProbeMatches, "e"), Step{kHost, A::Bye, "e", {}}, Answer(kHost, A::ProbeMatches, "e")},
         {},
         {}},
        {"no XAddrs: resolved once, filled in by the same address only",
         {Answer(kHost, A::ProbeMatches, "e", {}), Step{kHost, A::Hello, "e", {}},
          Answer(kOther, A::ResolveMatches, "e", {"http://evil/"}), Answer(kHost, A::ResolveMatches, "e")},
         {"169.254.10.2 e http://x/"},
         {"169.254.10.2 e"}},
        {"a ResolveMatch names no new endpoint", {Answer(kHost, A::ResolveMatches, "e")}, {}, {}},
        {"an IPv6 address has its own entries and its cap",
         {Step{v6, A::Hello, "a", {}}, Step{v6, A::Hello, "b"}, Step{v6, A::Hello, "c"}, Step{v6, A::Hello, "d"},
          Step{v6, A::Hello, "e"}, Step{kHost, A::Hello, "a"}},
         {"fe80::1%lo a ", "fe80::1%lo b http://x/", "fe80::1%lo c http://x/", "fe80::1%lo d http://x/",
          "169.254.10.2 a http://x/"},
         {"fe80::1%lo a"}},
        {"a Bye gives back no room under the cap",
         {Step{kHost, A::Hello, "a"}, Step{kHost, A::Hello, "b"}, Step{kHost, A::Hello, "c"},
          Step{kHost, A::Hello, "d"}, Step{kHost, A::Bye, "a", {}}, Step{kHost, A::Hello, "e"}},
         {"169.254.10.2 b http://x/", "169.254.10.2 c http://x/", "169.254.10.2 d http://x/"},
         {}},
    };
    const ProbeLimits limits;
    for (const CollectionCase& c : cases) {
        EndpointCollection collection(limits);
        std::vector<std::string> resolves;
        for (const Step& step : c.steps) {
            WsdDatagram datagram;
            datagram.action = step.action;
            datagram.relatesTo = step.relatesTo;
            datagram.matches.push_back({step.endpoint, step.xaddrs, step.computer, step.typed});
            std::vector<EndpointCollection::Key> toResolve;
            collection.Accept(step.source, datagram, {"urn:ours"}, toResolve);
            for (const auto& [source, endpoint] : toResolve)
                resolves.push_back(FormatPeer(source) + " " + endpoint);
        }
        std::vector<std::string> kept;
        for (const AnsweredEndpoint& endpoint : collection.Take())
            kept.push_back(FormatPeer(endpoint.source) + " " + endpoint.endpoint + " " +
                           (endpoint.xaddrs.empty() ? "" : endpoint.xaddrs[0]));
        EXPECT_EQ(kept, c.kept) << c.what;
        EXPECT_EQ(resolves, c.resolves) << c.what;
    }
}

}  // namespace
}  // namespace vn::wsd
