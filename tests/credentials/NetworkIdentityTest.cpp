#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "credentials/NetworkIdentity.h"
#include "credentials/RecordedIdentity.h"
#include "platform/TempDirectory.h"
#include "support/MemoryKeyring.h"

namespace vn {
namespace {

using test::MemoryKeyring;

// The window's identity against a keyring in memory, with the credentials
// file of a temporary folder and no Kerberos ticket.
class NetworkIdentityTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KRB5CCNAME", ("FILE:" + directory_.File("no-ticket")).c_str(), 1);
        std::ofstream(file_) << "username = FILEDOM\\fileuser\npassword = file-pass\n";
    }

    const std::string& AppliedUser() const { return applied_.back().User(); }

    TempDirectory directory_;
    std::string file_ = directory_.File("credentials");
    MemoryKeyring keyring_;
    std::vector<smb::SmbCredentials> applied_;
    NetworkIdentity identity_{keyring_, [this](const smb::SmbCredentials& c) { applied_.push_back(c); }, file_};
};

struct UseCase {
    const char* name;
    bool remember;
    const char* unreachable;
    bool result;
    IdentitySource source;
    bool stored;  // the keyring holds the typed credentials afterwards
};

// Typed credentials are used whatever the keyring says; only a keyring that
// answered makes them "remembered".
const UseCase kUses[] = {
    {"RememberedInAnAnsweringKeyring", true, "", true, IdentitySource::Keyring, true},
    {"UsedForTheSessionWhenNotRemembered", false, "", true, IdentitySource::Entered, false},
    {"UsedAnywayWhenTheKeyringCannotRemember", true, "there is no session bus", false, IdentitySource::Entered, false},
};

TEST_F(NetworkIdentityTest, UseAppliesTheTypedCredentials) {
    for (const UseCase& c : kUses) {
        SCOPED_TRACE(c.name);
        test::RecordedIdentity recorded(file_, c.unreachable);
        NetworkIdentity& identity = *recorded.identity;
        const std::vector<smb::SmbCredentials>& applied = recorded.applied;
        std::string why;
        EXPECT_EQ(identity.Use(smb::SmbCredentials::FromPassword("LAB\\typed", "typed pass", ""), c.remember, why),
                  c.result);
        EXPECT_EQ(why, c.result ? "" : c.unreachable);
        ASSERT_EQ(applied.size(), 1U);
        EXPECT_EQ(applied.back().User(), "typed");
        EXPECT_EQ(applied.back().Password(), "typed pass");
        EXPECT_EQ(identity.InUse().source, c.source);
        EXPECT_EQ(identity.InUse().name, "LAB\\typed");
        EXPECT_FALSE(identity.Anonymous());
        EXPECT_EQ(recorded.keyring.entry.has_value(), c.stored);
    }
}

TEST_F(NetworkIdentityTest, ForgetRemovesTheEntryAndFallsBackToTheFileThenToNobody) {
    keyring_.entry = smb::SmbCredentials::FromPassword("LAB\\keyuser", "key pass", "");
    identity_.UseStored();
    EXPECT_EQ(identity_.InUse().source, IdentitySource::Keyring);
    EXPECT_EQ(AppliedUser(), "keyuser");

    std::string why;
    ASSERT_TRUE(identity_.Forget(why)) << why;
    EXPECT_FALSE(keyring_.entry.has_value());
    EXPECT_EQ(identity_.InUse().source, IdentitySource::File);
    EXPECT_EQ(AppliedUser(), "fileuser");

    std::remove(file_.c_str());
    ASSERT_TRUE(identity_.Forget(why)) << "nothing to forget is no failure: " << why;
    EXPECT_TRUE(identity_.Anonymous());
    EXPECT_EQ(AppliedUser(), "");
    EXPECT_EQ(applied_.back().Password(), "");
}

TEST_F(NetworkIdentityTest, ForgetFailsAndKeepsTheIdentityWhenTheKeyringCannotBeAsked) {
    keyring_.entry = smb::SmbCredentials::FromPassword("LAB\\keyuser", "key pass", "");
    identity_.UseStored();
    keyring_.unreachable = "the keyring did not answer";
    std::string why;
    EXPECT_FALSE(identity_.Forget(why));
    EXPECT_EQ(why, "the keyring did not answer");
    EXPECT_EQ(identity_.InUse().source, IdentitySource::Keyring);
    EXPECT_TRUE(keyring_.entry.has_value());
}

}  // namespace
}  // namespace vn
