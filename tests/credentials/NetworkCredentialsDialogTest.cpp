#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs/NetworkCredentialsDialog.h"
#include "credentials/NetworkIdentity.h"
#include "credentials/RecordedIdentity.h"
#include "platform/TempDirectory.h"
#include "support/MemoryKeyring.h"

namespace vn {
namespace {

using test::MemoryKeyring;

// The dialog on an identity whose keyring is in memory and which has no
// credentials file and no ticket.
class NetworkCredentialsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("KRB5CCNAME", ("FILE:" + directory_.File("no-ticket")).c_str(), 1); }

    template <typename Widget>
    Widget* Find(NetworkCredentialsDialog& dialog, const char* name) {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Type(NetworkCredentialsDialog& dialog, const char* domain, const char* user, const char* password) {
        Find<QLineEdit>(dialog, "domainEdit")->setText(QString::fromUtf8(domain));
        Find<QLineEdit>(dialog, "userEdit")->setText(QString::fromUtf8(user));
        Find<QLineEdit>(dialog, "passwordEdit")->setText(QString::fromUtf8(password));
    }
    std::string InUseText(NetworkCredentialsDialog& dialog) {
        return Find<QLabel>(dialog, "inUse")->text().toStdString();
    }

    TempDirectory directory_;
    MemoryKeyring keyring_;
    std::vector<smb::SmbCredentials> applied_;
    NetworkIdentity identity_{keyring_, [this](const smb::SmbCredentials& c) { applied_.push_back(c); },
                              directory_.File("credentials")};
    std::vector<std::optional<smb::SmbCredentials>> tested_;
    AdministratorViewTest test_ = [this](const std::optional<smb::SmbCredentials>& credentials,
                                         const std::string& computer) {
        tested_.push_back(credentials);
        return AdministratorViewResult{AdministratorView::Reached, ERROR_SUCCESS, computer + ": tested"};
    };
};

struct RememberCase {
    const char* name;
    const char* unreachable;
    bool stored;
    const char* inUse;
};

// Without a keyring the dialog says why it cannot remember, and OK still
// uses what was typed for the session.
const RememberCase kRemember[] = {
    {"KeyringAnswers", "", true, "In use now: LAB\\admin, from the keyring"},
    {"NoKeyring", "there is no session bus (D-Bus) to reach a keyring through", false,
     "In use now: LAB\\admin, entered for this session"},
};

TEST_F(NetworkCredentialsDialogTest, OkUsesTheTypedCredentialsAndRemembersThemWhereItCan) {
    for (const RememberCase& c : kRemember) {
        SCOPED_TRACE(c.name);
        test::RecordedIdentity recorded(directory_.File("credentials"), c.unreachable);
        NetworkIdentity& identity = *recorded.identity;
        const std::vector<smb::SmbCredentials>& applied = recorded.applied;
        NetworkCredentialsDialog dialog(identity, test_, "", nullptr);
        QCheckBox* remember = Find<QCheckBox>(dialog, "rememberCheck");
        QLabel* reason = Find<QLabel>(dialog, "keyringReason");
        const bool reachable = std::string(c.unreachable).empty();
        EXPECT_EQ(remember->isEnabled(), reachable);
        EXPECT_EQ(remember->isChecked(), reachable);
        EXPECT_EQ(reason->isHidden(), reachable);
        if (!reachable) {
            EXPECT_EQ(reason->text().toStdString(),
                      std::string("The keyring cannot remember the credentials: ") + c.unreachable +
                          ". They are used until the window closes and are never written to a file.");
        }

        Type(dialog, "LAB", "admin", "Secret-1");
        dialog.accept();
        ASSERT_EQ(applied.size(), 1U);
        EXPECT_EQ(applied.back().User(), "admin");
        EXPECT_EQ(applied.back().Domain(), "LAB");
        EXPECT_EQ(applied.back().Password(), "Secret-1");
        EXPECT_EQ(recorded.keyring.entry.has_value(), c.stored);
        EXPECT_FALSE(identity.Anonymous());

        NetworkCredentialsDialog reopened(identity, test_, "", nullptr);
        EXPECT_EQ(InUseText(reopened), c.inUse);
        EXPECT_EQ(Find<QLineEdit>(reopened, "userEdit")->text(), QStringLiteral("admin"));
        EXPECT_TRUE(Find<QLineEdit>(reopened, "passwordEdit")->text().isEmpty());
    }
}

TEST_F(NetworkCredentialsDialogTest, OkWithoutAPasswordForTheAccountInUseChangesNothing) {
    keyring_.entry = smb::SmbCredentials::FromPassword("LAB\\admin", "Stored-1", "");
    identity_.UseStored();
    const std::size_t appliedBefore = applied_.size();
    NetworkCredentialsDialog dialog(identity_, test_, "", nullptr);
    dialog.accept();
    EXPECT_EQ(applied_.size(), appliedBefore);
    EXPECT_EQ(keyring_.entry->Password(), "Stored-1");
}

TEST_F(NetworkCredentialsDialogTest, TestChecksTheNamedComputerWithWhatWasTyped) {
    NetworkCredentialsDialog dialog(identity_, test_, "SELECTED", nullptr);
    EXPECT_EQ(Find<QLineEdit>(dialog, "computerEdit")->text(), QStringLiteral("SELECTED"));
    QPushButton* test = Find<QPushButton>(dialog, "testButton");
    QLabel* result = Find<QLabel>(dialog, "testResult");

    test->click();  // nothing typed: the identity in use
    QTRY_COMPARE(result->text(), QStringLiteral("SELECTED: tested"));
    Type(dialog, "LAB", "admin", "Typed-1");
    Find<QLineEdit>(dialog, "computerEdit")->setText(QStringLiteral("OTHER"));
    QTRY_VERIFY(test->isEnabled());
    test->click();
    QTRY_COMPARE(result->text(), QStringLiteral("OTHER: tested"));
    ASSERT_EQ(tested_.size(), 2U);
    EXPECT_FALSE(tested_[0].has_value());
    ASSERT_TRUE(tested_[1].has_value());
    EXPECT_EQ(tested_[1]->User(), "admin");
    EXPECT_EQ(tested_[1]->Password(), "Typed-1");
    EXPECT_TRUE(applied_.empty()) << "a test uses nothing";
}

TEST_F(NetworkCredentialsDialogTest, ForgetRemovesTheEntryAndTheLineSaysNoneIsInUse) {
    keyring_.entry = smb::SmbCredentials::FromPassword("LAB\\admin", "Stored-1", "");
    identity_.UseStored();
    NetworkCredentialsDialog dialog(identity_, test_, "", nullptr);
    EXPECT_EQ(InUseText(dialog), "In use now: LAB\\admin, from the keyring");
    Find<QPushButton>(dialog, "forgetButton")->click();
    EXPECT_FALSE(keyring_.entry.has_value());
    EXPECT_TRUE(identity_.Anonymous());
    EXPECT_EQ(InUseText(dialog), "In use now: none: computers are examined anonymously");
}

}  // namespace
}  // namespace vn
