#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

#include "ProgramTest.h"
#include "WsdPeers.h"
#include "platform/local/https/CurlHttpsClient.h"
#include "platform/wsd/WsdDiscovery.h"

namespace vn::wsd {
namespace {

using test::WsdPeers;
using Lines = std::vector<std::string>;

// Four wsdd hosts in two workgroups and a domain, and a fifth namespace for
// the hostile answerer; all behind this process's own bridge. The first three
// run the test lab's Samba as well, so that what is found can be examined.
const std::vector<std::string> kHosts = {"HOST1:LABWG", "HOST2:LABWG", "HOST3:SALES", "HOST4:CORP.EXAMPLE:domain", "-"};
constexpr int kHostile = 5;

// What the discovery made of the real peers, "ADDRESS NAME GROUP[ domain]".
Lines Named(const std::vector<WsdAnswer>& answers, bool hostileToo = false) {
    Lines out;
    for (const WsdAnswer& answer : answers) {
        if (answer.status != ERROR_SUCCESS ||
            (!hostileToo && FormatIPv4(answer.address) == WsdPeers::Address(kHostile)))
            continue;
        out.push_back(FormatIPv4(answer.address) + " " + answer.computer.name + " " + answer.computer.group +
                      (answer.computer.domain ? " domain" : ""));
    }
    std::sort(out.begin(), out.end());
    return out;
}

const Lines kExpected = {"169.254.10.2 HOST1 LABWG", "169.254.10.3 HOST2 LABWG", "169.254.10.4 HOST3 SALES",
                         "169.254.10.5 HOST4 CORP.EXAMPLE domain"};

class LabWsdTest : public cli::test::ProgramTest {
protected:
    static void SetUpTestSuite() {
        if (!WsdPeers::Unavailable().empty() || !WsdPeers::EnterOwnNetwork())
            return;
        peers_ = std::make_unique<WsdPeers>(kHosts);
        sambaStarted_ = peers_->Started() && peers_->StartSamba(VN_WSD_LAB_ROOT, {1, 2, 3});
    }
    static void TearDownTestSuite() { peers_.reset(); }

    void SetUp() override {
        if (const std::string why = WsdPeers::Unavailable(); !why.empty())
            GTEST_SKIP() << why;
        ASSERT_TRUE(peers_ && peers_->Started()) << "the peers did not start";
        ProgramTest::SetUp();
    }

    static std::vector<WsdAnswer> Discover() {
        CurlHttpsClient http;
        WsdDiscovery discovery(http);
        std::vector<WsdAnswer> answers;
        EXPECT_EQ(discovery.Discover(WsdOptions{}, answers), ERROR_SUCCESS);
        return answers;
    }

    // The computers of the saved tree as "path [products]", or "path error".
    Lines Computers() {
        const cli::test::ProgramOutcome listed = runner_.Run({"inventory", "list"});
        Lines out;
        std::istringstream lines(listed.out);
        for (std::string line; std::getline(lines, line);) {
            if (line.find("\"folder\":false") == std::string::npos)
                continue;
            const std::size_t start = line.find("\"path\":\"") + 8;
            const std::size_t products = line.find("\"products\":");
            const bool failed = line.find("\"error\":null") == std::string::npos;
            out.push_back(line.substr(start, line.find('"', start) - start) + " " +
                          (failed ? "error" : line.substr(products + 11, line.find(']', products) - products - 10)));
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    static std::unique_ptr<WsdPeers> peers_;
    static bool sambaStarted_;
};

std::unique_ptr<WsdPeers> LabWsdTest::peers_;
bool LabWsdTest::sambaStarted_ = false;

TEST_F(LabWsdTest, EveryPeerIsFoundAndNamedAtTheAddressItAnsweredFrom) {
    const std::vector<WsdAnswer> answers = Discover();
    EXPECT_EQ(Named(answers), kExpected);
    EXPECT_EQ(answers.size(), kExpected.size()) << "one answer per endpoint, the repeats of UDP folded";
}

TEST_F(LabWsdTest, NetwardenFilesAndExaminesWhatItFindsUnderTheProviderAndByWorkgroup) {
    ASSERT_TRUE(sambaStarted_) << "the Samba lab in the peers' namespaces did not start; see " << VN_WSD_LAB_ROOT;
    runner_.Set("NETWARDEN_PASSWORD", "VnAdmin-Pass1");
    const QStringList user{"--user", "VNLAB\\vnadmin"};
    const auto scanned =
        runner_.Run(user + QStringList{"--verbose", "--wsd-wait", "1500", "scan", "network", "Web Services Discovery"});
    // HOST4 serves no SMB: filed with its error, and the exit status says so.
    EXPECT_EQ(scanned.exitCode, 1) << scanned.err;
    EXPECT_EQ(
        Computers(),
        (Lines{"Web Services Discovery/CORP.EXAMPLE/HOST4 error", "Web Services Discovery/LABWG/HOST1 [\"Vantor\"]",
               "Web Services Discovery/LABWG/HOST2 [\"Vantor\"]", "Web Services Discovery/SALES/HOST3 [\"Vantor\"]"}));
    for (const char* answered : {"WS-Discovery: 169.254.10.2 answered", "WS-Discovery: 169.254.10.5 answered"})
        EXPECT_NE(scanned.err.find(answered), std::string::npos) << answered << " in\n" << scanned.err;
    EXPECT_NE(scanned.err.find(": HOST4, domain CORP.EXAMPLE"), std::string::npos) << scanned.err;
    // Examined at the address it answered from, its name resolving nowhere.
    EXPECT_NE(scanned.err.find("Connecting to computer 169.254.10.3"), std::string::npos) << scanned.err;

    const auto byName = runner_.Run(user + QStringList{"scan", "network", "labwg", "--erase"});
    EXPECT_EQ(byName.exitCode, 0) << byName.err;
    EXPECT_EQ(Computers(), (Lines{"labwg/HOST1 [\"Vantor\"]", "labwg/HOST2 [\"Vantor\"]"}));

    // The whole network: the Windows network has no browse list here, which
    // is said, and the walk goes on to WS-Discovery.
    const auto whole = runner_.Run(user + QStringList{"--verbose", "scan", "network", "Entire Network", "--erase"});
    EXPECT_NE(whole.err.find("Error occurred. Error code: "), std::string::npos) << whole.err;
    const Lines computers = Computers();
    ASSERT_EQ(computers.size(), 4u) << whole.err;
    EXPECT_EQ(computers[1], "Entire Network/Web Services Discovery/LABWG/HOST1 [\"Vantor\"]");

    // A rescan finds them where they were last met, their names resolving nowhere.
    const auto rescanned =
        runner_.Run(user + QStringList{"inventory", "rescan", "Entire Network/Web Services Discovery/LABWG"});
    EXPECT_EQ(rescanned.exitCode, 0) << rescanned.err;
    EXPECT_EQ(Computers(), computers);
}

TEST_F(LabWsdTest, AHostileAnswererCostsBoundedTimeAndChangesOnlyItsOwnEntries) {
    ASSERT_TRUE(peers_->Start(kHostile, {VN_HOSTILE_PEER, WsdPeers::Address(kHostile), WsdPeers::Address(1)}));
    // Its group is joined when the HTTP side listens; a Probe before that
    // would find the hostile peer silent, so wait for a first answer.
    std::vector<WsdAnswer> answers;
    for (int attempt = 0; attempt < 10; ++attempt) {
        answers = Discover();
        if (std::any_of(answers.begin(), answers.end(),
                        [](const WsdAnswer& a) { return FormatIPv4(a.address) == WsdPeers::Address(kHostile); }))
            break;
    }
    EXPECT_EQ(Named(answers), kExpected) << "every real peer as before";
    Lines hostile;
    for (const WsdAnswer& answer : answers) {
        if (FormatIPv4(answer.address) == WsdPeers::Address(kHostile))
            hostile.push_back(answer.endpoint + " " + std::to_string(answer.status));
    }
    // Of its thousands of endpoints, the first four of its address; the
    // oversized and the entity-declaring datagrams not at all. The endless
    // and the huge metadata end at their caps, the entity bomb is refused, and
    // the XAddr at another computer's address is not followed.
    EXPECT_EQ(hostile, (Lines{"urn:hostile:0 " + std::to_string(ERROR_INTERNET_TIMEOUT), "urn:hostile:1 13",
                              "urn:hostile:2 " + std::to_string(ERROR_HTTP_INVALID_SERVER_RESPONSE),
                              "urn:hostile:3 " + std::to_string(ERROR_BAD_NETPATH)}));
}

}  // namespace
}  // namespace vn::wsd
