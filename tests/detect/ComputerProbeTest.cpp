#include <gtest/gtest.h>

#include <algorithm>

#include "RecordingSinks.h"
#include "core/RegistryString.h"
#include "detect/AddressResolution.h"
#include "detect/ComputerProbe.h"
#include "detect/OsVersionName.h"
#include "platform/RemoteDeadline.h"
#include "platform/SystemErrorText.h"
#include "support/FakePlatform.h"

namespace vn {
namespace {

using test::FakeCall;

constexpr IPv4 kPc1Address = 0x0A000105;  // 10.0.1.5

class ComputerProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_.AddBuiltIns();
        auto locked = std::make_unique<ProductDef>();
        locked->DisplayName = "Locked";
        locked->ServicePath = "Software\\Locked";
        catalogue_.AddUnique(std::move(locked));

        FakeComputerSetUp(platform_.Computer("PC1"));
        platform_.LocalServices().AddHost("PC1", kPc1Address);
    }

    static void FakeComputerSetUp(test::FakeComputer& pc) {
        pc.Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services\\Vantor");
        pc.Key(Hive::LocalMachine, "Software\\Locked").RefuseRead();
    }

    test::FakePlatform platform_;
    ProductCatalogue catalogue_;
    test::RecordingStatusSink status_;
};

TEST_F(ComputerProbeTest, FindsReadableProductKeysAndReportsEveryStep) {
    ComputerRecord record("old");
    ASSERT_TRUE(ProbeComputer(platform_, "PC1", catalogue_, record, status_));
    EXPECT_EQ(record.Name, "PC1");
    EXPECT_EQ(record.HasError, 0);
    EXPECT_EQ(record.LastKnownIP, kPc1Address);
    ASSERT_EQ(record.InstalledProducts.size(), 1u);
    EXPECT_EQ(record.InstalledProducts[0], &catalogue_.at(0));
    EXPECT_EQ(status_.Lines(), (std::vector<std::string>{
                                   "Connecting to computer PC1",
                                   "Connect successful.",
                                   "Searching for product \"Vantor\" on computer PC1...",
                                   "Service \"Vantor\" is installed on PC1.",
                                   "Searching for product \"Kestrel\" on computer PC1...",
                                   "Service \"Kestrel\" is not found on PC1.",
                                   "Searching for product \"Locked\" on computer PC1...",
                                   "Service \"Locked\" is not found on PC1.",
                               }));
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry", "PC1"), 1u);
    EXPECT_EQ(platform_.OpenHandleCount(), 0);
}

TEST_F(ComputerProbeTest, UnreachableComputerKeepsItsAddressAndGetsTheSystemText) {
    ComputerRecord record("PC9");
    record.LastKnownIP = 77;
    record.InstalledProducts.push_back(&catalogue_.at(1));
    EXPECT_FALSE(ProbeComputer(platform_, "PC9", catalogue_, record, status_));
    EXPECT_EQ(record.HasError, 1);
    EXPECT_EQ(record.ErrorString, "The network path was not found.\r\n");
    EXPECT_EQ(record.LastKnownIP, 77u);
    EXPECT_TRUE(record.InstalledProducts.empty());
    EXPECT_EQ(status_.Lines(), (std::vector<std::string>{"Connecting to computer PC9",
                                                         "Failed to connecting to computer PC9.\r\nError message: "
                                                         "The network path was not found.\r\n"}));
}

TEST_F(ComputerProbeTest, RefusedServicesKeyIsAccessDeniedWithoutAStatusLine) {
    platform_.Computer("PC1").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services").RefuseRead();
    ComputerRecord record("PC1");
    EXPECT_FALSE(ProbeComputer(platform_, "PC1", catalogue_, record, status_));
    EXPECT_EQ(record.ErrorString, "Access is denied.");
    EXPECT_EQ(record.LastKnownIP, 0u);
    EXPECT_EQ(status_.Lines().back(), "Connect successful.");

    platform_.Computer("PC2");  // no services key at all
    EXPECT_FALSE(ProbeComputer(platform_, "PC2", catalogue_, record, status_));
    EXPECT_EQ(record.ErrorString, SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(platform_.OpenHandleCount(), 0);
}

// Only a computer's own "no such key" (or "not readable") means a product is
// not installed; a failure of the way there ends the examination with its
// error rather than with a shorter product list.
TEST_F(ComputerProbeTest, OnlyAnAbsentProductKeyMeansNotInstalled) {
    const struct {
        Status open;
        bool examined;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, true},     {ERROR_ACCESS_DENIED, true},
        {RPC_S_CALL_FAILED_DNE, false},  // the helper died
        {ERROR_BROKEN_PIPE, false},      // the connection broke
        {ERROR_NETNAME_DELETED, false},  // the session went
        {ERROR_INVALID_HANDLE, false},   // the handle was lost with it
        {ERROR_NOT_ENOUGH_MEMORY, false},
    };
    for (const auto& c : cases) {
        platform_.Computer("PC1").Key(Hive::LocalMachine, "Software\\Locked").FailOpen(c.open);
        ComputerRecord record("PC1");
        EXPECT_EQ(ProbeComputer(platform_, "PC1", catalogue_, record, status_), c.examined) << c.open;
        EXPECT_EQ(record.HasError, c.examined ? 0 : 1) << c.open;
        EXPECT_EQ(record.ErrorString, c.examined ? "" : SystemErrorText(c.open)) << c.open;
        EXPECT_EQ(record.InstalledProducts.size(), c.examined ? 1u : 0u) << c.open;
        EXPECT_EQ(status_.Lines().back(), c.examined ? "Service \"Locked\" is not found on PC1."
                                                     : "Searching for product \"Locked\" on computer PC1...")
            << c.open;
    }
    EXPECT_EQ(platform_.OpenHandleCount(), 0);
}

TEST_F(ComputerProbeTest, ServerInfoGivesVersionServerFlagAndDescription) {
    test::FakeComputer& pc = platform_.Computer("PC1");
    pc.ServerInfo(0x15, 1, "Front desk");  // the major version's high bits are flags
    pc.Key(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions").String("ProductType", "WinNT");
    ComputerRecord record("PC1");
    ASSERT_TRUE(ReadServerInfo(platform_, record));
    EXPECT_EQ(record.OSVersion, "Windows XP v5.1");
    EXPECT_EQ(record.IsServer, 0);
    EXPECT_EQ(record.Description, "Front desk");

    pc.Key(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions").String("ProductType", "LanmanNT");
    ASSERT_TRUE(ReadServerInfo(platform_, record));
    EXPECT_EQ(record.OSVersion, "Windows .NET Enterprise Server v5.1");
    EXPECT_EQ(record.IsServer, 1);

    pc.FailServerInfo(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(ReadServerInfo(platform_, record));
    EXPECT_EQ(record.OSVersion, "");
    EXPECT_EQ(record.Description, "");
    EXPECT_EQ(record.IsServer, 0);
}

// Every remote call of one examination, the server information's included,
// ends by the one deadline the examination got.
TEST_F(ComputerProbeTest, AnExaminationsCallsShareItsDeadline) {
    using namespace std::chrono;
    platform_.Computer("PC1").ServerInfo(6, 1, "");
    std::vector<std::pair<std::string, RemoteDeadlineScope::Clock::time_point>> deadlines;
    platform_.SetCallHook([&](const FakeCall& call) {
        deadlines.emplace_back(call.operation, RemoteDeadlineScope::CallDeadline(hours(1)));
    });
    const auto started = steady_clock::now();
    ComputerRecord record("PC1");
    ASSERT_TRUE(ExamineComputer(platform_, "PC1", catalogue_, record, status_));
    ASSERT_GT(deadlines.size(), 3u);
    EXPECT_NE(std::find_if(deadlines.begin(), deadlines.end(),
                           [](const auto& call) { return call.first == "NetServerGetInfo"; }),
              deadlines.end());
    for (const auto& [operation, deadline] : deadlines) {
        EXPECT_EQ(deadline, deadlines.front().second) << operation;
        EXPECT_GE(deadline, started + kExaminationLimit) << operation;
        EXPECT_LE(deadline, steady_clock::now() + kExaminationLimit) << operation;
    }
    // Calls after it have their own limits again.
    EXPECT_GT(RemoteDeadlineScope::CallDeadline(hours(1)), steady_clock::now() + minutes(59));
}

TEST(OsVersionNameTest, ProductTypeAndVersionChooseTheName) {
    EXPECT_EQ(OsVersionNameFor("winnt", 5, 0), "Windows 2000 Professional v5.0");
    EXPECT_EQ(OsVersionNameFor("WINNT", 6, 1), "Windows NT Workstation v6.1");
    EXPECT_EQ(OsVersionNameFor("ServerNT", 5, 1), "Windows .NET Server v5.1");
    EXPECT_EQ(OsVersionNameFor("serverNT", 4, 0), "Windows NT Server v4.0");
    EXPECT_EQ(OsVersionNameFor("LanmanNT", 5, 0), "Windows 2000 Advanced Server v5.0");
    EXPECT_EQ(OsVersionNameFor("LanmanNT", 6, 0), "Windows NT Advanced Server v6.0");
    EXPECT_EQ(OsVersionNameFor("Embedded", 6, 1), "Windows  v6.1");
    EXPECT_EQ(OsVersionNameFor("", 4, 0), "Windows 95 4.0");
    EXPECT_EQ(OsVersionNameFor("", 4, 10), "Windows 98 4.10");
    EXPECT_EQ(OsVersionNameFor("", 4, 90), "Windows ME 4.90");
}

TEST(OsVersionNameTest, UnreachableRegistryMeansTheOlderFamily) {
    test::FakePlatform platform;
    platform.Computer("OLD").FailConnect(ERROR_BAD_NETPATH);
    EXPECT_EQ(MakeOsVersionName(platform, "OLD", 4, 10), "Windows 98 4.10");
}

TEST(AddressResolutionTest, DottedNumbersAreTakenAsTheyStandAndNamesAreResolved) {
    test::FakePlatform platform;
    platform.LocalServices().AddHost("server", 0xC0A80001);
    EXPECT_EQ(ResolveAddress(platform, "10.0.0.300"), 0x0A00002Cu);
    EXPECT_EQ(ResolveAddress(platform, " 10.-1.0.1"), 0x0AFF0001u);
    EXPECT_EQ(platform.Log().Count("gethostbyname"), 0u);
    EXPECT_EQ(ResolveAddress(platform, "10.0.0"), 0u);
    EXPECT_EQ(ResolveAddress(platform, "SERVER"), 0xC0A80001u);
    EXPECT_EQ(platform.Log().Count("gethostbyname"), 2u);
}

TEST(AddressResolutionTest, LocalMeansAnyOwnAddressOrTheOwnNamesAddress) {
    test::FakePlatform platform;
    platform.SetLocalName("debianbox");
    platform.LocalServices().SetLocalAddresses({0x7F000001, 0xC0A80105});
    platform.LocalServices().AddHost("debianbox", 0x7F000101);  // 127.0.1.1
    platform.LocalServices().AddHost("other", 0xC0A80106);
    platform.LocalServices().AddHost("alias", 0xC0A80105);
    EXPECT_TRUE(IsLocalAddress(platform, 0xC0A80105));
    EXPECT_TRUE(IsLocalAddress(platform, 0x7F000101));
    EXPECT_FALSE(IsLocalAddress(platform, 0xC0A80106));
    EXPECT_FALSE(IsLocalAddress(platform, 0));
    EXPECT_TRUE(IsLocalComputer(platform, "DEBIANBOX"));
    EXPECT_TRUE(IsLocalComputer(platform, "alias"));
    EXPECT_TRUE(IsLocalComputer(platform, "192.168.1.5"));
    EXPECT_FALSE(IsLocalComputer(platform, "other"));
    EXPECT_FALSE(IsLocalComputer(platform, "unresolvable"));

    platform.SetLocalName(std::nullopt);
    EXPECT_FALSE(IsLocalAddress(platform, 0));
    EXPECT_FALSE(IsLocalComputer(platform, "unresolvable"));
}

TEST(AddressResolutionTest, NetbiosPortTestAsksForPort139WithFiveSeconds) {
    test::FakePlatform platform;
    platform.LocalServices().SetPortOpen(0x0A000001, 139);
    EXPECT_TRUE(TestNetbiosPort(platform, 0x0A000001));
    EXPECT_FALSE(TestNetbiosPort(platform, 0x0A000002));
    auto calls = platform.Log().Calls("TestTcpPort");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arguments, (std::vector<std::string>{"10.0.0.1", "139", "5000"}));
}

TEST(RegistryStringTest, MissingKeyOrValueGivesTheFallback) {
    test::FakePlatform platform;
    platform.Computer("PC1").Key(Hive::LocalMachine, "Software\\A").String("Name", "text");
    RegistryKeyPtr root;
    ASSERT_EQ(platform.Connect("PC1", Hive::LocalMachine, root), ERROR_SUCCESS);
    EXPECT_EQ(ReadRegistryString(*root, "Software\\A", "Name", "d"), "text");
    EXPECT_EQ(ReadRegistryString(*root, "Software\\A", "Other", "d"), "d");
    EXPECT_EQ(ReadRegistryString(*root, "Software\\B", "Name", "d"), "d");
    RegistryKeyPtr a;
    ASSERT_EQ(root->OpenKey("Software\\A", KEY_READ, a), ERROR_SUCCESS);
    EXPECT_EQ(ReadRegistryString(*a, "", "name", ""), "text");
}

}  // namespace
}  // namespace vn
