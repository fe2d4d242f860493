#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "SambaLab.h"
#include "app/dialogs/NetworkCredentialsDialog.h"
#include "cli/ProgramRunner.h"
#include "credentials/KeyringSession.h"
#include "credentials/NetworkIdentity.h"
#include "credentials/SecretServiceKeyring.h"
#include "platform/TempDirectory.h"
#include "platform/smb/SmbBackend.h"

namespace vn {
namespace {

using cli::test::ProgramOutcome;
using cli::test::ProgramRunner;
using lab::SambaLab;

constexpr const char* kWithLocked = "\"products\":[\"Vantor\",\"Locked product\"]";

// The window's credentials dialog and netwarden on one real keyring, against
// the Samba lab: what the dialog remembers, netwarden uses.
class KeyringLabTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::KeyringSessionMissing(); !missing.empty())
            GTEST_SKIP() << missing;
        if (!SambaLab::Running())
            GTEST_SKIP() << "the Samba lab is not running";
        if (runner_.Program().empty())
            GTEST_SKIP() << "netwarden is not built next to the tests";
        // The helpers of this process and netwarden's read the lab's client
        // configuration under HOME.
        ASSERT_TRUE(SambaLab::WriteClientConfiguration(directory_.Path()));
        setenv("HOME", directory_.Path().c_str(), 1);
        setenv("KRB5CCNAME", ("FILE:" + directory_.File("no-ticket")).c_str(), 1);
        runner_.Set("DBUS_SESSION_BUS_ADDRESS", std::getenv("DBUS_SESSION_BUS_ADDRESS"));
        runner_.Set("XDG_RUNTIME_DIR", std::getenv("XDG_RUNTIME_DIR"));
        program_ = runner_.CopyWithCatalogue(std::filesystem::path(directory_.Path()) / "bin",
                                             std::string("[VantorLocked]\nDisplayName=Locked product\n"
                                                         "ServiceName=VantorLocked\nServicePath=") +
                                                 SambaLab::kLockedProductKey + "\n\n");
        std::string why;
        (void)keyring_.Forget(why);  // the test starts without an entry
    }

    ProgramOutcome Probe() {
        return runner_.Run({"probe", QString::fromStdString(SambaLab::Hosts().at(0).address)}, program_);
    }

    static AdministratorViewResult TestOnLab(const std::optional<smb::SmbCredentials>& credentials,
                                             const std::string& computer) {
        smb::SmbBackend trial(credentials.value_or(smb::SmbCredentials{}));
        return CheckAdministratorView(trial.registry(), computer);
    }

    TempDirectory directory_;
    ProgramRunner runner_{directory_.Path()};
    std::filesystem::path program_;
    SecretServiceKeyring keyring_;
    NetworkIdentity identity_{keyring_, [](const smb::SmbCredentials&) {}, directory_.File("no-credentials")};
};

TEST_F(KeyringLabTest, WhatTheDialogRemembersNetwardenUsesUntilItIsForgotten) {
    const std::string host = SambaLab::Hosts().at(0).address;
    const ProgramOutcome anonymous = Probe();
    EXPECT_EQ(anonymous.out.find(kWithLocked), std::string::npos) << anonymous.out;

    {
        NetworkCredentialsDialog dialog(identity_, TestOnLab, host, nullptr);
        dialog.findChild<QLineEdit*>("domainEdit")->setText(SambaLab::kWorkgroup);
        dialog.findChild<QLineEdit*>("userEdit")->setText(QString::fromStdString(SambaLab::AdminUser().name));
        dialog.findChild<QLineEdit*>("passwordEdit")->setText(QString::fromStdString(SambaLab::AdminUser().password));
        dialog.findChild<QPushButton*>("testButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(dialog.findChild<QLabel*>("testResult")->text().toStdString(),
                                  host + ": the administrator view is reached.", 30000);
        dialog.accept();
    }
    EXPECT_EQ(identity_.InUse().source, IdentitySource::Keyring);
    const ProgramOutcome remembered = Probe();
    EXPECT_EQ(remembered.exitCode, 0) << remembered.err;
    EXPECT_NE(remembered.out.find(kWithLocked), std::string::npos) << remembered.out;

    {
        NetworkCredentialsDialog dialog(identity_, TestOnLab, host, nullptr);
        dialog.findChild<QPushButton*>("forgetButton")->click();
    }
    EXPECT_TRUE(identity_.Anonymous());
    const ProgramOutcome forgotten = Probe();
    EXPECT_EQ(forgotten.out.find(kWithLocked), std::string::npos) << forgotten.out;
}

struct ViewCase {
    const char* name;
    bool administrator;
    bool rightPassword;
    AdministratorView view;
};

// The dialog's Test against what the lab's users may do.
const ViewCase kViews[] = {
    {"Administrator", true, true, AdministratorView::Reached},
    {"PlainUser", false, true, AdministratorView::NotAdministrator},
    {"WrongPassword", true, false, AdministratorView::NotReached},
};

TEST_F(KeyringLabTest, TestTellsWhetherTheAdministratorViewIsReached) {
    for (const ViewCase& c : kViews) {
        SCOPED_TRACE(c.name);
        const lab::LabUser user = c.administrator ? SambaLab::AdminUser() : SambaLab::PlainUser();
        const AdministratorViewResult result =
            TestOnLab(smb::SmbCredentials::FromPassword(user.name, c.rightPassword ? user.password : "Not-The-Pass1",
                                                        SambaLab::kWorkgroup),
                      SambaLab::Hosts().at(0).address);
        EXPECT_EQ(result.view, c.view) << result.text;
    }
}

}  // namespace
}  // namespace vn
