// End-to-end: names of the lab's hosts found as the Samba client finds
// them, through the lab's WINS server (LAB1) and by broadcast on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "LabTest.h"
#include "SambaLab.h"
#include "SmbLabEnvironment.h"
#include "platform/local/LocalResolver.h"
#include "platform/local/NetbiosNameResolver.h"
#include "platform/local/SambaConfig.h"

namespace vn::smb {
namespace {

using lab::SambaLab;
using lab::SmbLabEnvironment;
using Method = NameResolution::Method;

IPv4 AddressOf(const std::string& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    return (a << 24) | (b << 16) | (c << 8) | d;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class LabNameResolutionTest : public lab::LabTest<SmbLabEnvironment> {
protected:
    void SetUpLab() override {
        ASSERT_TRUE(ReadFirstSambaConfig({ClientConfiguration()}));
        // Soon after the lab starts, the second host registers its names
        // with the WINS server and every host claims its own by broadcast,
        // answering broadcast queries only once that is done: wait for both.
        const NameResolution wins = LabClient();
        NameResolution broadcast = LabClient();
        broadcast.order = {Method::Broadcast};
        const auto registered = [&] {
            for (const lab::LabHost& host : SambaLab::Hosts()) {
                if (QueryNetbiosName(broadcast, Method::Broadcast, host.name) == 0)
                    return false;
            }
            return QueryNetbiosName(wins, Method::Wins, SambaLab::Hosts().back().name) != 0;
        };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!registered() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }

    // Written by the environment into the temporary HOME.
    static std::string ClientConfiguration() { return std::string(std::getenv("HOME")) + "/.smb/smb.conf"; }

    static NameResolution LabClient() {
        return NameResolutionFromSamba(GlobalSambaParameters(*ReadFirstSambaConfig({ClientConfiguration()})),
                                       ListLocalInterfaces());
    }
};

// The WINS server holds the names the other hosts registered (its own it
// answers only to broadcasts).
TEST_F(LabNameResolutionTest, TheWinsServerKnowsTheRegisteredHostsAndNothingElse) {
    const NameResolution wins = LabClient();
    ASSERT_EQ(wins.order, std::vector<Method>{Method::Wins});
    const lab::LabHost host = SambaLab::Hosts().back();
    EXPECT_EQ(QueryNetbiosName(wins, Method::Wins, host.name), AddressOf(host.address));
    EXPECT_EQ(QueryNetbiosName(wins, Method::Wins, Lower(host.name)), AddressOf(host.address));
    EXPECT_EQ(QueryNetbiosName(wins, Method::Wins, "NOSUCHPC"), 0u);
}

TEST_F(LabNameResolutionTest, ABroadcastOnLoopbackReachesTheHostsThemselves) {
    NameResolution broadcast = LabClient();
    broadcast.order = {Method::Broadcast};
    ASSERT_EQ(broadcast.broadcastAddresses, std::vector<IPv4>{0x7FFFFFFF});  // 127.255.255.255 only
    for (const lab::LabHost& host : SambaLab::Hosts())
        EXPECT_EQ(QueryNetbiosName(broadcast, Method::Broadcast, host.name), AddressOf(host.address)) << host.name;
    EXPECT_EQ(QueryNetbiosName(broadcast, Method::Broadcast, "NOSUCHPC"), 0u);
}

// The lab's client resolves through WINS only, so no lookup leaves this
// computer; an address stands for itself.
TEST_F(LabNameResolutionTest, TheResolverFindsAComputerByItsNetbiosName) {
    LocalResolver resolver({ClientConfiguration()});
    const lab::LabHost host = SambaLab::Hosts().back();
    EXPECT_EQ(resolver.HostAddress(host.name), AddressOf(host.address));
    EXPECT_EQ(resolver.HostAddress("NOSUCHPC"), 0u);
    EXPECT_EQ(resolver.HostAddress(SambaLab::StoppedHostAddress()), AddressOf(SambaLab::StoppedHostAddress()));
}

}  // namespace
}  // namespace vn::smb
