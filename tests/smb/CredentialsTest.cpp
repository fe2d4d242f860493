#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include <sys/prctl.h>
#include <sys/stat.h>

#include "platform/SecretFileCheck.h"
#include "platform/smb/pool/SmbCredentials.h"
#include "platform/smb/protocol/UrlHost.h"
#include "platform/smb/rpc/StatusMapping.h"

namespace vn::smb {
namespace {

class CredentialsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vn-cred-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    std::string dir_;
};

TEST_F(CredentialsTest, AuthFileInSmbclientFormat) {
    SmbCredentials c;
    ASSERT_EQ(SmbCredentials::FromAuthFile(
                  Write("a", "# comment\nusername = alice\n  Password=  s3cr=t \ndomain = CORP\n"), c),
              ERROR_SUCCESS);
    EXPECT_EQ(c.User(), "alice");
    EXPECT_EQ(c.Password(), "s3cr=t");  // only the first '=' separates
    EXPECT_EQ(c.Domain(), "CORP");

    ASSERT_EQ(SmbCredentials::FromAuthFile(Write("b", "username = CORP\\bob\npassword = x\n"), c), ERROR_SUCCESS);
    EXPECT_EQ(c.User(), "bob");
    EXPECT_EQ(c.Domain(), "CORP");

    EXPECT_EQ(SmbCredentials::FromAuthFile(Write("c", "password = x\n"), c), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SmbCredentials::FromAuthFile(dir_ + "/missing", c), ERROR_FILE_NOT_FOUND);
}

TEST_F(CredentialsTest, EnvironmentChoosesTheAuthFileAndTicketCache) {
    const std::string file = Write("creds", "username = carol\npassword = pw\n");
    setenv("NETWARDEN_AUTH_FILE", file.c_str(), 1);
    setenv("KRB5CCNAME", ("FILE:" + dir_ + "/no-cache").c_str(), 1);
    SmbCredentials c = SmbCredentials::FromEnvironment();
    EXPECT_EQ(c.User(), "carol");
    EXPECT_FALSE(c.UseKerberos());

    Write("cache", "ticket");
    setenv("KRB5CCNAME", ("FILE:" + dir_ + "/cache").c_str(), 1);
    EXPECT_TRUE(SmbCredentials::FromEnvironment().UseKerberos());

    unsetenv("NETWARDEN_AUTH_FILE");
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    EXPECT_EQ(SmbCredentials::DefaultAuthFilePath(), dir_ + "/vantor-netwarden/credentials");
    unsetenv("KRB5CCNAME");
}

// A core dump of a process holding a password would hold the password.
TEST_F(CredentialsTest, TheProcessCannotBeDumpedWhileAPasswordIsHeld) {
    auto dumpable = [] { return prctl(PR_GET_DUMPABLE, 0, 0, 0, 0); };
    ASSERT_EQ(dumpable(), 1);
    {
        const SmbCredentials kerberosOnly = SmbCredentials::FromPassword("alice", "", "CORP");
        EXPECT_EQ(dumpable(), 1);
        auto held = std::make_unique<SmbCredentials>(SmbCredentials::FromPassword("alice", "pw", "CORP"));
        EXPECT_EQ(dumpable(), 0);
        SmbCredentials copy = *held;
        held.reset();
        EXPECT_EQ(dumpable(), 0);
        copy = kerberosOnly;
        EXPECT_EQ(dumpable(), 1);
        SmbCredentials fromFile;
        ASSERT_EQ(SmbCredentials::FromAuthFile(Write("f", "username = bob\npassword = x\n"), fromFile), ERROR_SUCCESS);
        EXPECT_EQ(dumpable(), 0);
    }
    EXPECT_EQ(dumpable(), 1);
}

TEST_F(CredentialsTest, ACredentialsFileOthersCanReadIsWarnedAbout) {
    const std::string file = Write("creds", "username = carol\npassword = pw\n");
    const struct {
        mode_t mode;
        const char* shown;
    } cases[] = {{0600, nullptr}, {0400, nullptr}, {0640, "0640"}, {0604, "0604"}, {0620, "0620"}};
    for (const auto& c : cases) {
        ASSERT_EQ(chmod(file.c_str(), c.mode), 0);
        const std::string warning = UnprotectedSecretFileWarning(file);
        if (c.shown == nullptr) {
            EXPECT_EQ(warning, "") << c.mode;
        } else {
            EXPECT_EQ(warning.rfind("WARNING: UNPROTECTED CREDENTIALS FILE!\nPermissions " + std::string(c.shown) +
                                        " for '" + file + "' are too open.\n",
                                    0),
                      0u)
                << warning;
        }
    }
    EXPECT_EQ(UnprotectedSecretFileWarning(dir_ + "/missing"), "");
}

TEST(UrlHost, HostNamesThatWouldBendTheUrlAreRefused) {
    std::string host;
    EXPECT_TRUE(helper::UrlHostName("\\\\PC1", host));
    EXPECT_EQ(host, "PC1");
    EXPECT_TRUE(helper::UrlHostName("10.1.2.3", host));
    for (const char* bad : {"", "\\\\", "a/b", "user@host", "host:445", "a b", "x?y", "a%2f"})
        EXPECT_FALSE(helper::UrlHostName(bad, host)) << bad;
}

TEST(StatusMapping, TransportFailuresBecomeWindowsCodes) {
    EXPECT_EQ(StatusFromConnectErrno(ECONNREFUSED), ERROR_BAD_NETPATH);
    EXPECT_EQ(StatusFromConnectErrno(ETIMEDOUT), ERROR_BAD_NETPATH);
    EXPECT_EQ(StatusFromConnectErrno(ENOENT), ERROR_BAD_NETPATH);
    EXPECT_EQ(StatusFromConnectErrno(EINVAL), ERROR_BAD_NETPATH);  // a name that does not resolve
    EXPECT_EQ(StatusFromConnectErrno(EACCES), ERROR_ACCESS_DENIED);
    EXPECT_EQ(StatusFromNtStatus(0xC0000073), ERROR_NONE_MAPPED);
    EXPECT_EQ(StatusFromNtStatus(0xC0000022), ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace vn::smb
