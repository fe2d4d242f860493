#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/ProgramRunner.h"
#include "credentials/KeyringSession.h"
#include "credentials/SecretServiceKeyring.h"
#include "platform/TempDirectory.h"

namespace vn {
namespace {

using cli::test::ProgramOutcome;
using cli::test::ProgramRunner;

// GNOME Keyring's Secret Service on the session bus of keyring-session.
class SecretServiceKeyringTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::KeyringSessionMissing(); !missing.empty())
            GTEST_SKIP() << missing;
        std::string why;
        (void)keyring_.Forget(why);  // each test starts without an entry
    }

    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[1] = {name_};
    QCoreApplication application_{argc_, argv_};
    SecretServiceKeyring keyring_;
};

struct StoredCase {
    const char* name;
    const char* account;
    const char* password;
    const char* user;
    const char* domain;
};

// What the secret holds comes back exactly: spaces, line breaks and
// backslashes in a password are its own.
const StoredCase kStored[] = {
    {"DomainAndUser", "VNLAB\\vnadmin", "Secret-Pass1", "vnadmin", "VNLAB"},
    {"UserWithoutDomain", "plainuser", "  spaces around  ", "plainuser", ""},
    {"PasswordWithLineBreaksAndBackslashes", "LAB/user", "line1\nline2\\n\r", "user", "LAB"},
    {"NotAscii", "DOMÄNE\\jürgen", "pässwört€", "jürgen", "DOMÄNE"},
    {"EmptyPassword", "LAB\\guest", "", "guest", "LAB"},
};

TEST_F(SecretServiceKeyringTest, TheEntryComesBackAsSaved) {
    for (const StoredCase& c : kStored) {
        SCOPED_TRACE(c.name);
        std::string why;
        // A previous entry is replaced: there is one.
        ASSERT_EQ(keyring_.Save(smb::SmbCredentials::FromPassword("OLD\\old", "old", ""), why), ERROR_SUCCESS) << why;
        ASSERT_EQ(keyring_.Save(smb::SmbCredentials::FromPassword(c.account, c.password, ""), why), ERROR_SUCCESS)
            << why;
        smb::SmbCredentials loaded;
        ASSERT_EQ(keyring_.Load(loaded, why), ERROR_SUCCESS) << why;
        EXPECT_EQ(loaded.User(), c.user);
        EXPECT_EQ(loaded.Domain(), c.domain);
        EXPECT_EQ(loaded.Password(), c.password);
    }
}

TEST_F(SecretServiceKeyringTest, ForgetRemovesTheEntryAndSaysWhenThereWasNone) {
    std::string why;
    ASSERT_EQ(keyring_.Save(smb::SmbCredentials::FromPassword("LAB\\user", "pass", ""), why), ERROR_SUCCESS) << why;
    EXPECT_EQ(keyring_.Forget(why), ERROR_SUCCESS) << why;
    smb::SmbCredentials loaded;
    EXPECT_EQ(keyring_.Load(loaded, why), ERROR_NOT_FOUND);
    EXPECT_EQ(keyring_.Forget(why), ERROR_NOT_FOUND);
}

// netwarden on the same bus: what `credentials set` stores from standard
// input is what the keyring holds, show reports it, forget removes it.
TEST_F(SecretServiceKeyringTest, NetwardenSetsShowsAndForgetsTheEntry) {
    TempDirectory directory;
    ProgramRunner runner(directory.Path());
    if (runner.Program().empty())
        GTEST_SKIP() << "netwarden is not built next to the tests";
    runner.Set("DBUS_SESSION_BUS_ADDRESS", std::getenv("DBUS_SESSION_BUS_ADDRESS"));
    runner.Set("XDG_RUNTIME_DIR", std::getenv("XDG_RUNTIME_DIR"));
    const std::string stored =
        "{\"source\":\"keyring\",\"identity\":\"VNLAB\\\\vnadmin\",\"description\":"
        "\"VNLAB\\\\vnadmin, from the keyring\",\"keyring\":null}\n";

    const ProgramOutcome set = runner.Run({"credentials", "set", "VNLAB\\vnadmin"}, {}, "typed on stdin\nnot this\n");
    EXPECT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out, stored);
    smb::SmbCredentials loaded;
    std::string why;
    ASSERT_EQ(keyring_.Load(loaded, why), ERROR_SUCCESS) << why;
    EXPECT_EQ(loaded.Password(), "typed on stdin");

    const ProgramOutcome shown = runner.Run({"credentials", "show"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, stored);

    const ProgramOutcome forgotten = runner.Run({"credentials", "forget"});
    EXPECT_EQ(forgotten.exitCode, 0) << forgotten.err;
    EXPECT_EQ(keyring_.Load(loaded, why), ERROR_NOT_FOUND);
    const ProgramOutcome again = runner.Run({"credentials", "forget"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.err, "netwarden: the keyring holds no network credentials\n");
}

// Without a session bus nothing is remembered and nothing is written: set
// fails with the reason, and the credentials file is what is used.
TEST(NoKeyringTest, NetwardenFallsBackToTheFileAndWritesNoSecretAnywhere) {
    int argc = 1;
    char name[6] = "tests";
    char* argv[1] = {name};
    QCoreApplication application(argc, argv);
    TempDirectory directory;
    ProgramRunner runner(directory.Path());  // no session bus
    if (runner.Program().empty())
        GTEST_SKIP() << "netwarden is not built next to the tests";
    const std::filesystem::path file = std::filesystem::path(directory.Path()) / "config/vantor-netwarden/credentials";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "username = FILEDOM\\fileuser\npassword = file-pass\n";
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const ProgramOutcome set = runner.Run({"credentials", "set", "VNLAB\\vnadmin"}, {}, "never-stored-secret\n");
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_EQ(set.err,
              "netwarden: the keyring cannot remember the credentials: there is no session bus (D-Bus) to "
              "reach a keyring through\n");
    EXPECT_EQ(set.out, "");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory.Path())) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(text.find("never-stored-secret"), std::string::npos) << entry.path();
    }

    const ProgramOutcome shown = runner.Run({"credentials", "show"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "{\"source\":\"file\",\"identity\":\"FILEDOM\\\\fileuser\",\"description\":"
              "\"FILEDOM\\\\fileuser, from the credentials file " +
                  file.string() + "\",\"keyring\":\"there is no session bus (D-Bus) to reach a keyring through\"}\n");
}

}  // namespace
}  // namespace vn
