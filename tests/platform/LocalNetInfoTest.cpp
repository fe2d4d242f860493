#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <fstream>

#include "platform/TempDirectory.h"
#include "platform/local/LocalComputerName.h"
#include "platform/local/LocalNetInfo.h"
#include "platform/local/SambaWorkgroup.h"

namespace vn {
namespace {

TEST(SambaWorkgroupTest, ReadsTheGlobalWorkgroupAsSambaDoes) {
    EXPECT_EQ(WorkgroupFromSambaConfig("[global]\n   workgroup = Sales\n"), "SALES");
    EXPECT_EQ(WorkgroupFromSambaConfig("Work Group=early\n[homes]\nworkgroup = notglobal\n"), "EARLY");
    EXPECT_EQ(WorkgroupFromSambaConfig("[ Global ]\n; workgroup = commented\n# workgroup = too\n"
                                       "WORKGROUP = \\\n  continued\r\n"),
              "CONTINUED");
    EXPECT_EQ(WorkgroupFromSambaConfig("[global]\nworkgroup = a\n[share]\npath=/x\n[global]\nworkgroup = b\n"), "B");
    EXPECT_EQ(WorkgroupFromSambaConfig("[global]\nworkgroups = x\nnetbios name = pc\n"), std::nullopt);
}

TEST(SambaWorkgroupTest, FirstConfigurationNamingAWorkgroupWinsElseWORKGROUP) {
    TempDirectory dir;
    std::ofstream(dir.File("user.conf")) << "[global]\nnetbios name = x\n";
    std::ofstream(dir.File("system.conf")) << "[global]\nworkgroup = office\n";
    EXPECT_EQ(ReadSambaWorkgroup({dir.File("missing.conf"), dir.File("user.conf"), dir.File("system.conf")}), "OFFICE");
    EXPECT_EQ(ReadSambaWorkgroup({dir.File("missing.conf"), dir.File("user.conf")}), "WORKGROUP");
}

class LocalNetInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(dir_.File("smb.conf")) << "[global]\nworkgroup = LAB\n";
        ASSERT_TRUE(ReadLocalComputerName(computer_));
    }
    TempDirectory dir_;
    LocalNetInfo netInfo_{{dir_.File("smb.conf")}};
    std::string computer_;
};

TEST_F(LocalNetInfoTest, ServerAndWorkstationDescribeThisComputer) {
    ServerInfo101 server;
    ASSERT_EQ(netInfo_.NetServerGetInfo101("", server), ERROR_SUCCESS);
    EXPECT_EQ(server.name, computer_);
    EXPECT_EQ(server.platformId, 500u);
    EXPECT_EQ(server.versionMajor, 6u);
    EXPECT_EQ(server.comment, "");
    WkstaInfo100 workstation;
    ASSERT_EQ(netInfo_.NetWkstaGetInfo100("", workstation), ERROR_SUCCESS);
    EXPECT_EQ(workstation.computerName, computer_);
    EXPECT_EQ(workstation.langroup, "LAB");
    EXPECT_EQ(workstation.platformId, 500u);
}

TEST_F(LocalNetInfoTest, TheLoggedOnUserIsTheOneRunningThisProgram) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    WkstaUserInfo1 user;
    ASSERT_EQ(netInfo_.NetWkstaUserGetInfo1(user), ERROR_SUCCESS);
    EXPECT_EQ(user.userName, entry->pw_name);
    EXPECT_EQ(user.logonDomain, computer_);

    std::vector<WkstaUserInfo1> users(3);
    std::uint32_t resume = 77;
    ASSERT_EQ(netInfo_.NetWkstaUserEnum1("", users, resume), ERROR_SUCCESS);
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users[0].userName, entry->pw_name);
    EXPECT_EQ(resume, 0u);
}

TEST_F(LocalNetInfoTest, OtherServersAreNotAnsweredHere) {
    ServerInfo101 server;
    WkstaInfo100 workstation;
    std::vector<WkstaUserInfo1> users;
    std::uint32_t resume = 0;
    EXPECT_EQ(netInfo_.NetServerGetInfo101("FILESRV", server), ERROR_BAD_NETPATH);
    EXPECT_EQ(netInfo_.NetWkstaGetInfo100("\\\\FILESRV", workstation), ERROR_BAD_NETPATH);
    EXPECT_EQ(netInfo_.NetWkstaUserEnum1("FILESRV", users, resume), ERROR_BAD_NETPATH);
}

}  // namespace
}  // namespace vn
