// End-to-end: the requests one examination sends to a lab host, counted by a
// relay in front of it. Across a network each is a round trip, so the count
// is the examination's time there: each pipe opened and bound once, no key
// closed one by one, no value read twice, the logon only on the first.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "DelayProxy.h"
#include "LabProbe.h"
#include "LabTest.h"
#include "SambaLab.h"
#include "SmbLabEnvironment.h"

namespace vn::smb {
namespace {

using lab::DelayProxy;
using lab::SambaLab;
using lab::SmbLabEnvironment;
using namespace std::chrono_literals;

// SMB2 commands.
enum Command : std::uint16_t {
    kNegotiate = 0,
    kSessionSetup = 1,
    kTreeConnect = 3,
    kCreate = 5,
    kClose = 6,
    kRead = 8,
    kWrite = 9,
    kEcho = 13,
};

class LabRoundTripTest : public lab::LabTest<SmbLabEnvironment> {
protected:
    // The requests of one examination through relay, by command.
    static std::map<std::uint16_t, std::uint64_t> Examine(SmbBackend& backend, const DelayProxy& relay) {
        auto counted = relay.Requests().ByCommand();
        lab::LabProbeResult result;
        EXPECT_EQ(lab::RunLabProbe(backend, relay.Address(), result), ERROR_SUCCESS);
        auto now = relay.Requests().ByCommand();
        for (const auto& [command, count] : counted)
            now[command] -= count;
        std::erase_if(now, [](const auto& entry) { return entry.second == 0; });
        return now;
    }
};

TEST_F(LabRoundTripTest, AnExaminationOpensEachPipeOnceAndAsksNothingTwice) {
    const DelayProxy relay("127.0.0.36", SambaLab::Hosts().front().address, 0ms);
    ASSERT_TRUE(relay.Listening());
    SmbBackend backend(SmbCredentials::FromPassword(SambaLab::PlainUser().name, SambaLab::PlainUser().password, ""));

    // One RPC call a write and two reads (the PDU's header, then the rest):
    // the binds of winreg and srvsvc, HKLM, the services key, each product
    // key, the server information, the ProductOptions key and its value.
    const std::uint64_t calls = 2 + 1 + 1 + static_cast<std::uint64_t>(lab::LabProbeProductKeys()) + 1 + 1 + 1;
    std::map<std::uint16_t, std::uint64_t> warm = {{kCreate, 2}, {kClose, 2}, {kRead, 2 * calls}, {kWrite, calls}};
    auto cold = warm;
    cold.insert({{kNegotiate, 1}, {kSessionSetup, 2}, {kTreeConnect, 1}});

    auto first = Examine(backend, relay);
    // The library checks a reused connection with an echo now and then.
    first.erase(kEcho);
    EXPECT_EQ(first, cold);
    EXPECT_EQ(relay.Connections(), 1u);
    auto second = Examine(backend, relay);
    second.erase(kEcho);
    EXPECT_EQ(second, warm);
    EXPECT_EQ(relay.Connections(), 1u);
}

}  // namespace
}  // namespace vn::smb
