#include <gtest/gtest.h>

#include <functional>

#include "detect/ComputerProbe.h"
#include "manage/InteractiveUser.h"
#include "manage/PolicyCheck.h"
#include "manage/PolicyIdentity.h"
#include "platform/RemoteDeadline.h"
#include "support/FakePlatform.h"

namespace vn {
namespace {

constexpr const char* kPolicyKey = "Software\\Policies\\Vantor";

Sid UserSid(std::uint32_t rid) { return Sid{1, 5, {21, 100, 200, 300, rid}}; }
std::string UserSidText(std::uint32_t rid) { return "S-1-5-21-100-200-300-" + std::to_string(rid); }

// Row values of one column, in table order, as the dialog writes them.
std::vector<std::string> Column(const PolicyTable& table, PolicyValue PolicyFeature::*column) {
    std::vector<std::string> texts;
    for (const PolicyFeature& feature : table)
        texts.emplace_back(PolicyValueText(feature.*column));
    return texts;
}

TEST(CombinePoliciesTest, DisabledWinsUnlessThePreferredLevelEnables) {
    struct Case {
        PolicyValue computer;
        PolicyValue user;
        std::uint32_t computerPreferred;
        PolicyValue result;
    };
    const Case cases[] = {
        {NotConfigured, Disabled, 1, Disabled}, {NotApplicable, Disabled, 1, Disabled},
        {NotConfigured, Enabled, 1, Enabled},   {NotApplicable, NotConfigured, 0, Enabled},
        {Enabled, Disabled, 1, Enabled},        {Enabled, Disabled, 0, Disabled},
        {Enabled, NotApplicable, 0, Enabled},   {Disabled, Enabled, 7, Disabled},
        {Disabled, Enabled, 0, Enabled},        {Disabled, NotConfigured, 0, Disabled},
    };
    for (const Case& c : cases) {
        PolicyTable table;
        ResetPolicyTable(table);
        table[kLogonRow].computer = c.computer;  // a row without dependents
        table[kLogonRow].user = c.user;
        CombinePolicies(table, c.computerPreferred);
        EXPECT_EQ(table[kLogonRow].result, c.result)
            << PolicyValueText(c.computer) << " / " << PolicyValueText(c.user) << " / " << c.computerPreferred;
    }
}

TEST(CombinePoliciesTest, DependentRowsFollowTheirMasterInEachColumn) {
    PolicyTable table;
    ResetPolicyTable(table);
    table[kRemoteControlRow].computer = Disabled;
    table[kRemoteControlRow + 1].user = Enabled;  // Remote Printing
    table[kFileTransferRow].user = Disabled;
    table[kFileTransferRow + 2].computer = Enabled;  // Write
    CombinePolicies(table, 1);
    EXPECT_EQ(
        Column(table, &PolicyFeature::computer),
        (std::vector<std::string>{"N/A", "Not configured", "Not configured", "Not configured", "Not configured",
                                  "Disabled", "Disabled", "Disabled", "Not configured", "Not configured", "Enabled"}));
    EXPECT_EQ(
        Column(table, &PolicyFeature::user),
        (std::vector<std::string>{"Not configured", "N/A", "Not configured", "Not configured", "Not configured",
                                  "Not configured", "Enabled", "Not configured", "Disabled", "Disabled", "Disabled"}));
    EXPECT_EQ(Column(table, &PolicyFeature::result),
              (std::vector<std::string>{"Enabled", "Enabled", "Enabled", "Enabled", "Enabled", "Disabled", "Disabled",
                                        "Disabled", "Disabled", "Disabled", "Disabled"}));
}

// PC1 of the workgroup CORP, which this computer is in too, with two accounts.
void SetUpNetwork(test::FakePlatform& platform) {
    platform.Local().Workgroup("CORP");
    test::FakeComputer& pc = platform.Computer("PC1");
    pc.Workgroup("CORP");
    pc.Account({"CORP\\alice", UserSid(1001), SidNameUse::User, "CORP"});
    pc.Account({"CORP\\bob", UserSid(1002), SidNameUse::User, "CORP"});
}

class PolicyCheckTest : public ::testing::Test {
protected:
    void SetUp() override { SetUpNetwork(platform_); }

    test::FakeComputer& Pc() { return platform_.Computer("PC1"); }
    // alice sits at PC1; bob is connected over the network only.
    void AliceAtTheConsole() {
        Pc().LoggedOnUsers({{"alice", "CORP", "", ""}, {"bob", "CORP", "", ""}, {"alice", "CORP", "", ""}});
        Pc().Key(Hive::Users, UserSidText(1001) + "\\SessionInformation");
    }

    test::FakePlatform platform_;
};

TEST_F(PolicyCheckTest, BothLevelsReadForTheUserAtTheConsole) {
    Pc().Key(Hive::LocalMachine, kPolicyKey)
        .Dword("MachinePolicyPreference", 0)
        .Dword("AllowLogon", 0)  // not a computer policy
        .Dword("AllowLS", 0)
        .Dword("AllowReboot", 5)
        .Value("AllowToolkit", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0})  // eight bytes do not read
        .Value("AllowRemoteControl", REG_BINARY, {1});
    AliceAtTheConsole();
    Pc().Key(Hive::Users, UserSidText(1001) + "\\" + kPolicyKey)
        .Dword("AllowInstall", 0)  // not a user policy
        .Dword("AllowLS", 1)
        .Dword("AllowReboot", 0)
        .Dword("AllowFileTransfer", 0);
    Pc().Key(Hive::Users, UserSidText(1002) + "\\" + kPolicyKey).Dword("AllowLogon", 0);

    PolicyCheck check(platform_, "PC1");
    EXPECT_EQ(check.Workgroup(), "CORP");
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.InteractiveUser(), "alice");
    EXPECT_EQ(check.RunMessage(), "");
    EXPECT_EQ(check.ComputerPreferred(), 0u);
    const PolicyTable& table = check.Table();
    EXPECT_EQ(Column(table, &PolicyFeature::computer),
              (std::vector<std::string>{"N/A", "Not configured", "Disabled", "Not configured", "Enabled", "Enabled",
                                        "Not configured", "Not configured", "Not configured", "Not configured",
                                        "Not configured"}));
    EXPECT_EQ(
        Column(table, &PolicyFeature::user),
        (std::vector<std::string>{"Not configured", "N/A", "Enabled", "Not configured", "Disabled", "Not configured",
                                  "Not configured", "Not configured", "Disabled", "Disabled", "Disabled"}));
    EXPECT_EQ(Column(table, &PolicyFeature::result),
              (std::vector<std::string>{"Enabled", "Enabled", "Enabled", "Enabled", "Disabled", "Enabled", "Enabled",
                                        "Enabled", "Disabled", "Disabled", "Disabled"}));
    // alice, reported twice, is looked up once, in the place of her later entry.
    const auto lookups = platform_.Log().Calls("LookupAccountName", "PC1");
    ASSERT_EQ(lookups.size(), 2u);
    EXPECT_EQ(lookups[0].arguments.front(), "CORP\\bob");
    EXPECT_EQ(lookups[1].arguments.front(), "CORP\\alice");
    EXPECT_EQ(DescribePolicyCheck(platform_, check).user, "CORP\\alice");
    EXPECT_EQ(platform_.OpenHandleCount(), 0);
}

TEST_F(PolicyCheckTest, UsersListedBatchByBatch) {
    AliceAtTheConsole();
    Pc().LoggedOnUsers({{"bob", "CORP", "", ""}, {"carol", "CORP", "", ""}, {"alice", "CORP", "", ""}}, 1);
    PolicyCheck check(platform_, "PC1");
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.InteractiveUser(), "alice");
    EXPECT_EQ(platform_.Log().Count("NetWkstaUserEnum", "PC1"), 3u);
}

// A workstation service that answers "more" for ever, or with more names
// than anybody could sit at, is asked a bounded number of times and gives a
// bounded list.
TEST_F(PolicyCheckTest, LoggedOnUsersAreBoundedInRoundsAndNames) {
    std::vector<WkstaUserInfo1> crowd(3 * kMaxLoggedOnUsers, {"u", "CORP", "", ""});
    const struct {
        const char* name;
        std::function<void(test::FakeComputer&)> setUp;
        std::size_t calls;
        std::size_t names;
    } cases[] = {
        {"more for ever", [](test::FakeComputer& pc) { pc.FailUserEnum(ERROR_MORE_DATA); }, kMaxLoggedOnUserRounds, 0},
        {"a crowd in one answer", [&](test::FakeComputer& pc) { pc.LoggedOnUsers(crowd); }, 1, kMaxLoggedOnUsers},
        {"a crowd in small answers", [&](test::FakeComputer& pc) { pc.LoggedOnUsers(crowd, kMaxLoggedOnUsers / 32); },
         32, kMaxLoggedOnUsers},
    };
    for (const auto& c : cases) {
        test::FakePlatform platform;
        c.setUp(platform.Computer("PC1"));
        // Ends an unbounded enumeration so that the case fails rather than hangs.
        std::size_t calls = 0;
        platform.SetCallHook([&](const test::FakeCall& call) {
            if (call.operation == "NetWkstaUserEnum" && ++calls == 100 * kMaxLoggedOnUserRounds)
                platform.Computer("PC1").FailUserEnum(ERROR_SUCCESS).LoggedOnUsers({});
        });
        std::vector<std::string> names;
        EXPECT_EQ(EnumerateLoggedOnUsers(platform, "PC1", names), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(calls, c.calls) << c.name;
        EXPECT_EQ(names.size(), c.names) << c.name;
    }
}

// However slowly the computer answers, a run ends by one deadline shared by
// all its calls.
TEST_F(PolicyCheckTest, ARunsCallsShareTheExaminationsDeadline) {
    using namespace std::chrono;
    AliceAtTheConsole();
    PolicyCheck check(platform_, "PC1");
    std::vector<std::pair<std::string, RemoteDeadlineScope::Clock::time_point>> deadlines;
    platform_.SetCallHook([&](const test::FakeCall& call) {
        deadlines.emplace_back(call.operation, RemoteDeadlineScope::CallDeadline(hours(1)));
    });
    const auto started = steady_clock::now();
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    ASSERT_GT(deadlines.size(), 3u);
    for (const auto& [operation, deadline] : deadlines) {
        EXPECT_EQ(deadline, deadlines.front().second) << operation;
        EXPECT_GE(deadline, started + kExaminationLimit) << operation;
        EXPECT_LE(deadline, steady_clock::now() + kExaminationLimit) << operation;
    }
}

// A computer of a workgroup keeps its users' accounts itself.
TEST_F(PolicyCheckTest, TheComputersOwnAccountWhenItsWorkgroupHasNone) {
    Pc().Workgroup("WORKGROUP").Account({"PC1\\carol", UserSid(1003), SidNameUse::User, "PC1"});
    Pc().LoggedOnUsers({{"carol", "WORKGROUP", "", ""}});
    Pc().Key(Hive::Users, UserSidText(1003) + "\\SessionInformation");
    Pc().Key(Hive::Users, UserSidText(1003) + "\\" + kPolicyKey).Dword("AllowReboot", 0);
    PolicyCheck check(platform_, "PC1");
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.InteractiveUser(), "carol");
    EXPECT_EQ(PolicyValueText(check.Table()[4].user), "Disabled");
    std::vector<std::string> accounts;
    for (const test::FakeCall& call : platform_.Log().Calls("LookupAccountName", "PC1"))
        accounts.push_back(call.arguments.front());
    EXPECT_EQ(accounts, (std::vector<std::string>{"WORKGROUP\\carol", "PC1\\carol"}));
}

// The codes that keep the dialog closed, and what the user is told.
TEST_F(PolicyCheckTest, FailureCodes) {
    struct Case {
        const char* name;
        std::function<void(test::FakeComputer&)> setUp;
        Status code;
        std::string text;
    };
    const Case cases[] = {
        {"switched off", [](test::FakeComputer& pc) { pc.SwitchOff(); }, 73, "Error : The network path was not found."},
        {"users refused", [](test::FakeComputer& pc) { pc.FailUserEnum(ERROR_ACCESS_DENIED); }, 51,
         "Error : Access is denied."},
        {"workstation service down", [](test::FakeComputer& pc) { pc.FailUserEnum(RPC_S_SERVER_UNAVAILABLE); },
         RPC_S_SERVER_UNAVAILABLE, "The RPC server is unavailable.\r\n"},
        {"not supported", [](test::FakeComputer& pc) { pc.FailUserEnum(50); }, 50, "The request is not supported.\r\n"},
    };
    for (const Case& c : cases) {
        test::FakePlatform platform;
        c.setUp(platform.Computer("PC1").Workgroup("CORP"));
        PolicyCheck check(platform, "PC1");
        const Status code = check.Run();
        EXPECT_EQ(code, c.code) << c.name;
        EXPECT_EQ(PolicyCheckFailureText(code), c.text) << c.name;
        EXPECT_EQ(platform.OpenHandleCount(), 0) << c.name;
    }
    // An unreachable computer is not asked anything more.
    test::FakePlatform platform;
    platform.Computer("PC1").SwitchOff();
    PolicyCheck check(platform, "PC1");
    platform.Log().Clear();
    EXPECT_EQ(check.Run(), 73u);
    EXPECT_TRUE(platform.Log().Calls().empty());
}

// When the user column cannot be had: the message, and the column N/A.
TEST_F(PolicyCheckTest, UserColumnUnavailable) {
    struct Case {
        const char* name;
        std::function<void(test::FakePlatform&)> setUp;
        std::string message;
        std::string computerColumnOfAllowLS;
    };
    const Case cases[] = {
        {"nobody logged on", [](test::FakePlatform&) {}, "No Interactive user on this machine", "Disabled"},
        {"nobody at the console",
         [](test::FakePlatform& p) {
             p.Computer("PC1").LoggedOnUsers({{"bob", "CORP", "", ""}});
         },
         "No Interactive user on this machine", "Disabled"},
        {"unknown account, same workgroup",
         [](test::FakePlatform& p) {
             p.Computer("PC1").LoggedOnUsers({{"zed", "CORP", "", ""}});
         },
         "The user policies are unavailable.", "Disabled"},
        {"unknown account, other workgroup",
         [](test::FakePlatform& p) {
             p.Local().Workgroup("HOME");
             p.Computer("PC1").LoggedOnUsers({{"zed", "CORP", "", ""}});
         },
         "Selected computer is part of a different domain or workgroup and user policies are unavailable.", "Disabled"},
        // The computer's hives cannot be reached: neither column is read, and
        // this computer's own hives do not stand in for them.
        {"registry unreachable",
         [](test::FakePlatform& p) {
             p.Computer("PC1").LoggedOnUsers({{"alice", "CORP", "", ""}}).FailConnect(ERROR_ACCESS_DENIED);
             p.Local().Key(Hive::LocalMachine, kPolicyKey).Dword("AllowLS", 1);
             p.Local().Key(Hive::CurrentUser, UserSidText(1001) + "\\" + kPolicyKey).Dword("AllowLS", 1);
         },
         "The user policies are unavailable.", "N/A"},
    };
    for (const Case& c : cases) {
        test::FakePlatform platform;
        SetUpNetwork(platform);
        test::FakeComputer& pc = platform.Computer("PC1");
        pc.Key(Hive::LocalMachine, kPolicyKey).Dword("AllowLS", 0);
        pc.Key(Hive::Users, UserSidText(1001) + "\\SessionInformation");
        pc.Key(Hive::Users, UserSidText(1002) + "\\" + kPolicyKey).Dword("AllowLS", 1);
        c.setUp(platform);
        PolicyCheck check(platform, "PC1");
        ASSERT_EQ(check.Run(), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(check.RunMessage(), c.message) << c.name;
        EXPECT_EQ(check.MessageText(), c.message) << c.name;
        EXPECT_EQ(check.InteractiveUser(), "") << c.name;
        EXPECT_EQ(Column(check.Table(), &PolicyFeature::user), std::vector<std::string>(kPolicyRowCount, "N/A"))
            << c.name;
        EXPECT_EQ(PolicyValueText(check.Table()[2].computer), c.computerColumnOfAllowLS) << c.name;
        EXPECT_EQ(DescribePolicyCheck(platform, check).user, "CORP\\") << c.name;
        EXPECT_EQ(platform.OpenHandleCount(), 0) << c.name;
    }
}

TEST_F(PolicyCheckTest, ARunAfterTheUserLeftForgetsTheUserAndKeepsTheMessageUntilTheNext) {
    AliceAtTheConsole();
    PolicyCheck check(platform_, "PC1");
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.InteractiveUser(), "alice");

    Pc().LoggedOnUsers({});
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.InteractiveUser(), "");
    EXPECT_EQ(check.RunMessage(), "No Interactive user on this machine");

    AliceAtTheConsole();
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.RunMessage(), "");
    EXPECT_EQ(check.MessageText(), "No Interactive user on this machine");
}

TEST_F(PolicyCheckTest, ThisComputerReadsItsMachineHiveAndTheCurrentUsersHive) {
    platform_.Local().Key(Hive::LocalMachine, kPolicyKey).Dword("AllowInstall", 0);
    platform_.Local().Key(Hive::CurrentUser, kPolicyKey).Dword("AllowLogon", 0).Dword("AllowInstall", 1);
    PolicyCheck check(platform_);
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.RunMessage(), "");
    EXPECT_EQ(PolicyValueText(check.Table()[kLogonRow].user), "Disabled");
    EXPECT_EQ(PolicyValueText(check.Table()[kInstallRow].computer), "Disabled");
    EXPECT_EQ(PolicyValueText(check.Table()[kInstallRow].user), "N/A");
    EXPECT_EQ(platform_.Log().Count("NetWkstaUserEnum"), 0u);
    for (const test::FakeCall& call : platform_.Log().Calls("RegConnectRegistry"))
        EXPECT_EQ(call.computer, "");
}

}  // namespace
}  // namespace vn
