#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/commands/ModalDriver.h"
#include "manage/ui/CVtrPoliciesDlg.h"
#include "manage/ui/PolicyCheckCommand.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

constexpr const char* kPolicyKey = "Software\\Policies\\Vantor";
const std::string kAliceSid = "S-1-5-21-100-200-300-1001";

QString Label(QWidget& dialog, const char* name) {
    auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text() : QStringLiteral("<none>");
}

std::vector<std::string> Texts(const test::ScriptedMessageBoxService& boxes) {
    std::vector<std::string> texts;
    for (const auto& box : boxes.Boxes())
        texts.push_back(box.text);
    return texts;
}

class PolicyDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_.Local().Workgroup("CORP");
        test::FakeComputer& pc = platform_.Computer("PC1");
        pc.Workgroup("CORP").Account({"CORP\\alice", Sid{1, 5, {21, 100, 200, 300, 1001}}, SidNameUse::User, "CORP"});
        pc.LoggedOnUsers({{"alice", "CORP", "", ""}});
        pc.Key(Hive::Users, kAliceSid + "\\SessionInformation");
        pc.Key(Hive::Users, kAliceSid + "\\" + kPolicyKey).Dword("AllowReboot", 0);
        pc.Key(Hive::LocalMachine, kPolicyKey).Dword("AllowRemoteControl", 0).Dword("MachinePolicyPreference", 0);
        // Every remote call must come from another thread than this one.
        platform_.SetCallHook([this](const test::FakeCall& call) {
            if (!call.computer.empty() && std::this_thread::get_id() == uiThread_)
                ++callsOnUiThread_;
        });
    }
    void TearDown() override { EXPECT_EQ(callsOnUiThread_.load(), 0); }

    // Runs the command; inDialog runs on the dialog once it is open, which it
    // then closes.
    void Check(const std::string& computer, const std::function<void(CVtrPoliciesDlg&)>& inDialog = {}) {
        const QPointer<QTimer> watcher = test::WhenModal<CVtrPoliciesDlg>([this, inDialog](CVtrPoliciesDlg& dialog) {
            ++dialogsShown_;
            if (inDialog)
                inDialog(dialog);
            dialog.accept();
        });
        RunPolicyCheckCommand(platform_, computer, nullptr, [this] { ++learnMore_; });
        // A check that opened no dialog leaves no watcher for the next test.
        delete watcher.data();
    }

    test::FakePlatform platform_;
    test::ScriptedMessageBoxService boxes_;
    const std::thread::id uiThread_ = std::this_thread::get_id();
    std::atomic<int> callsOnUiThread_{0};
    int dialogsShown_ = 0;
    int learnMore_ = 0;
};

TEST_F(PolicyDialogTest, ShowsTheCheckAndRefreshesIt) {
    Check("PC1", [this](CVtrPoliciesDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Vantor Policies");
        EXPECT_EQ(Label(dialog, "computer"), "PC1");
        EXPECT_EQ(Label(dialog, "user"), "CORP\\alice");
        EXPECT_EQ(Label(dialog, "computer0"), "N/A");
        EXPECT_EQ(Label(dialog, "user1"), "N/A");
        EXPECT_EQ(Label(dialog, "user4"), "Disabled");
        EXPECT_EQ(Label(dialog, "result4"), "Disabled");
        EXPECT_EQ(Label(dialog, "computer6"), "Disabled");
        EXPECT_EQ(Label(dialog, "result6"), "Disabled");
        EXPECT_EQ(Label(dialog, "computerPreference"), "");
        EXPECT_EQ(Label(dialog, "userPreference"), "Preferred");
        EXPECT_EQ(Label(dialog, "resultPreference"), "User");
        EXPECT_EQ(Label(dialog, "message"), "");

        // alice leaves; the computer now prefers its own policies.
        platform_.Computer("PC1").LoggedOnUsers({});
        platform_.Computer("PC1").Key(Hive::LocalMachine, kPolicyKey).Dword("MachinePolicyPreference", 1);
        dialog.findChild<QPushButton*>("refresh")->click();
        EXPECT_EQ(Texts(boxes_), std::vector<std::string>{"No Interactive user on this machine"});
        EXPECT_EQ(Label(dialog, "user"), "CORP\\");
        EXPECT_EQ(Label(dialog, "user4"), "N/A");
        EXPECT_EQ(Label(dialog, "result4"), "Enabled");
        EXPECT_EQ(Label(dialog, "computerPreference"), "Preferred");
        EXPECT_EQ(Label(dialog, "resultPreference"), "Computer");
        EXPECT_EQ(Label(dialog, "message"), "No Interactive user on this machine");

        // A run that fails is told, and the values shown stay.
        platform_.Computer("PC1").FailUserEnum(ERROR_ACCESS_DENIED);
        dialog.findChild<QPushButton*>("refresh")->click();
        EXPECT_EQ(Texts(boxes_).back(), "Error : Access is denied.");
        EXPECT_EQ(Label(dialog, "result6"), "Disabled");

        dialog.findChild<QPushButton*>("learnMore")->click();
    });
    EXPECT_EQ(dialogsShown_, 1);
    EXPECT_EQ(learnMore_, 1);
}

TEST_F(PolicyDialogTest, TheMessageOfTheFirstRunComesBeforeTheDialog) {
    platform_.Computer("PC1").LoggedOnUsers({});
    Check("PC1", [this](CVtrPoliciesDlg& dialog) {
        EXPECT_EQ(Texts(boxes_), std::vector<std::string>{"No Interactive user on this machine"});
        EXPECT_EQ(Label(dialog, "message"), "No Interactive user on this machine");
    });
    EXPECT_EQ(dialogsShown_, 1);
    EXPECT_EQ(boxes_.Boxes().front().icon, MessageIcon::None);
}

TEST_F(PolicyDialogTest, AFailedCheckIsToldAndOpensNoDialog) {
    platform_.Computer("PC2").SwitchOff();
    Check("PC2");
    platform_.Computer("PC1").FailUserEnum(ERROR_ACCESS_DENIED);
    Check("PC1");
    EXPECT_EQ(dialogsShown_, 0);
    EXPECT_EQ(Texts(boxes_),
              (std::vector<std::string>{"Error : The network path was not found.", "Error : Access is denied."}));
}

TEST_F(PolicyDialogTest, ThisComputerShowsItsNameAndTheUserRunningTheProgram) {
    platform_.SetLocalName("THISPC");
    platform_.Local().LoggedOnUsers({{"me", "THISPC", "", ""}});
    platform_.Local().Key(Hive::CurrentUser, kPolicyKey).Dword("AllowLogon", 0);
    Check("", [](CVtrPoliciesDlg& dialog) {
        EXPECT_EQ(Label(dialog, "computer"), "THISPC");
        EXPECT_EQ(Label(dialog, "user"), "THISPC\\me");
        EXPECT_EQ(Label(dialog, "user0"), "Disabled");
    });
    EXPECT_EQ(dialogsShown_, 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace
}  // namespace vn
