#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <memory>
#include <thread>

#include "WsdPeers.h"
#include "platform/local/https/CurlHttpsClient.h"
#include "platform/wsd/WsdDiscovery.h"

namespace vn::wsd {
namespace {

using test::WsdPeers;
using Lines = std::vector<std::string>;

// A wsdd on IPv6 alone, one on both families, and two namespaces for what
// starts during a test: wsdd hosts that announce themselves, a hostile
// announcer.
const std::vector<std::string> kHosts = {"HOST6:LABWG:ipv6", "HOST7:LABWG:both", "-", "-"};
constexpr int kLate = 3;
constexpr int kHostile = 4;

// "EXAMINED-ADDRESS NAME FAMILY-ANSWERED-ON" of the named answers.
Lines Named(const std::vector<WsdAnswer>& answers) {
    Lines out;
    for (const WsdAnswer& answer : answers) {
        if (answer.status == ERROR_SUCCESS)
            out.push_back(FormatIPv4(answer.address) + " " + answer.computer.name +
                          (answer.source.ipv6 ? " ipv6" : " ipv4"));
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The endpoints that answered, sorted, the one of HOST7 by that name.
Lines Endpoints(const std::vector<WsdAnswer>& answers, const std::string& host7, Lines more = {}) {
    for (const WsdAnswer& answer : answers)
        more.push_back(answer.endpoint == host7 ? "HOST7" : answer.endpoint);
    std::sort(more.begin(), more.end());
    return more;
}

std::vector<WsdAnswer> Discover(std::chrono::milliseconds wait = std::chrono::milliseconds(2000)) {
    CurlHttpsClient http;
    WsdDiscovery discovery(http);
    WsdOptions options;
    options.probe.wait = wait;
    std::vector<WsdAnswer> answers;
    EXPECT_EQ(discovery.Discover(options, answers), ERROR_SUCCESS);
    return answers;
}

class LabWsdAnnounceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (WsdPeers::Unavailable().empty() && WsdPeers::EnterOwnNetwork())
            peers_ = std::make_unique<WsdPeers>(kHosts);
    }
    static void TearDownTestSuite() { peers_.reset(); }

    void SetUp() override {
        if (const std::string why = WsdPeers::Unavailable(); !why.empty())
            GTEST_SKIP() << why;
        ASSERT_TRUE(peers_ && peers_->Started()) << "the peers did not start";
    }

    static std::unique_ptr<WsdPeers> peers_;
};

std::unique_ptr<WsdPeers> LabWsdAnnounceTest::peers_;

TEST_F(LabWsdAnnounceTest, ComputersOnIPv6AreFoundOnceAndExaminedByIPv4WhereTheyHaveIt) {
    const std::vector<WsdAnswer> answers = Discover();
    // HOST6 answers on IPv6 alone: named from its IPv6 XAddr, and examined
    // by its name. HOST7 answers on both: once, at its IPv4 address.
    EXPECT_EQ(Named(answers), (Lines{"0.0.0.0 HOST6 ipv6", "169.254.10.3 HOST7 ipv4"}));
    EXPECT_EQ(answers.size(), 2u);
}

TEST_F(LabWsdAnnounceTest, WhereAnotherProgramHoldsTheDiscoveryPortTheProbeAloneFindsThem) {
    // Dual-stack and without SO_REUSEADDR, it holds the port on both families.
    sockaddr_in6 any{};
    any.sin6_family = AF_INET6;
    any.sin6_port = htons(3702);
    const int held = socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(bind(held, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
    const std::vector<WsdAnswer> answers = Discover();
    close(held);
    EXPECT_EQ(Named(answers), (Lines{"0.0.0.0 HOST6 ipv6", "169.254.10.3 HOST7 ipv4"}));
}

TEST_F(LabWsdAnnounceTest, ComputersThatStartDuringTheWaitAreFoundByTheirHellos) {
    // They start after the second Probe, so only their Hellos can tell of
    // them: HOST8 on IPv4, HOST9 on IPv6 (beside the hostile announcer's
    // namespace, which the next test uses).
    const auto wait = std::chrono::milliseconds(8000);
    std::vector<WsdAnswer> answers;
    std::thread discovery([&] { answers = Discover(wait); });
    std::this_thread::sleep_for(wait / 2 + std::chrono::milliseconds(500));
    const auto start = [](int n, const char* family, const char* name) {
        QFile uuid("/proc/sys/kernel/random/uuid");
        return uuid.open(QIODevice::ReadOnly) &&
               peers_->Start(n, {"/usr/sbin/wsdd", family, "-i", "e" + std::to_string(n), "-n", name, "-w", "LABWG",
                                 "-U", uuid.readAll().trimmed().toStdString()});
    };
    const bool started = start(kLate, "-4", "HOST8") && start(kHostile, "-6", "HOST9");
    discovery.join();
    ASSERT_TRUE(started);
    EXPECT_EQ(Named(answers), (Lines{"0.0.0.0 HOST6 ipv6", "0.0.0.0 HOST9 ipv6", "169.254.10.3 HOST7 ipv4",
                                     "169.254.10.4 HOST8 ipv4"}));
}

TEST_F(LabWsdAnnounceTest, AByeTakesOutOnlyWhatItsSenderAnnounced) {
    const std::vector<WsdAnswer> before = Discover();
    const auto host7 = std::find_if(before.begin(), before.end(),
                                    [](const WsdAnswer& answer) { return answer.computer.name == "HOST7"; });
    ASSERT_NE(host7, before.end());
    ASSERT_TRUE(peers_->Start(
        kHostile, {VN_HOSTILE_PEER, WsdPeers::Address(kHostile), WsdPeers::Address(2), "bye", host7->endpoint}));
    // It listens once started; until then a Probe goes unheard.
    std::vector<WsdAnswer> answers;
    for (int attempt = 0; attempt < 10; ++attempt) {
        answers = Discover();
        if (std::any_of(answers.begin(), answers.end(),
                        [](const WsdAnswer& answer) { return answer.endpoint == "urn:hostile:hello"; }))
            break;
    }
    // Its own Bye took out its second endpoint; the one for HOST7 nothing.
    EXPECT_EQ(Endpoints(answers, host7->endpoint), Endpoints(before, host7->endpoint, {"urn:hostile:hello"}));
}

}  // namespace
}  // namespace vn::wsd
