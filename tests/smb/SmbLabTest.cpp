// End-to-end: the SMB backend against the Samba lab's hosts.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "LabLogonSession.h"
#include "LabTest.h"
#include "SambaLab.h"
#include "SmbLabEnvironment.h"
#include "platform/RegistryValues.h"
#include "platform/smb/SmbBackend.h"

namespace vn::smb {
namespace {

using lab::SambaLab;
using lab::SmbLabEnvironment;

class SmbLabTest : public lab::LabTest<SmbLabEnvironment> {
protected:
    static SmbCredentials As(const lab::LabUser& user) {
        return SmbCredentials::FromPassword(user.name, user.password, "");
    }

    static RegistryKeyPtr ConnectHklm(SmbBackend& backend) {
        RegistryKeyPtr hklm;
        EXPECT_EQ(backend.registry().Connect(kHost, Hive::LocalMachine, hklm), ERROR_SUCCESS);
        return hklm;
    }

    static inline const std::string kHost = SmbLabEnvironment::Host(0);
    SmbBackend user_{As(SambaLab::PlainUser())};
    SmbBackend admin_{As(SambaLab::AdminUser())};
};

TEST_F(SmbLabTest, ProductKeysFoundAbsentAndUnreadable) {
    RegistryKeyPtr hklm = ConnectHklm(user_);
    ASSERT_TRUE(hklm);
    RegistryKeyPtr key;
    EXPECT_EQ(hklm->OpenKey("System\\CurrentControlSet\\Services\\", KEY_READ, key), ERROR_SUCCESS);
    EXPECT_EQ(hklm->OpenKey(SambaLab::kProductKey, KEY_READ, key), ERROR_SUCCESS);
    std::uint32_t start = 0;
    EXPECT_EQ(QueryDwordValue(*key, "Start", start, REG_DWORD), ERROR_SUCCESS);
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(QueryDwordValue(*key, "NoSuchValue", start), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(hklm->OpenKey(SambaLab::kAbsentProductKey, KEY_READ, key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(hklm->OpenKey(SambaLab::kLockedProductKey, KEY_READ, key), ERROR_ACCESS_DENIED);

    RegistryKeyPtr adminHklm = ConnectHklm(admin_);
    ASSERT_TRUE(adminHklm);
    EXPECT_EQ(adminHklm->OpenKey(SambaLab::kLockedProductKey, KEY_READ, key), ERROR_SUCCESS);
}

TEST_F(SmbLabTest, ProductTypeOfAStandaloneServer) {
    RegistryKeyPtr hklm = ConnectHklm(user_);
    ASSERT_TRUE(hklm);
    RegistryKeyPtr options;
    ASSERT_EQ(hklm->OpenKey("SYSTEM\\CurrentControlSet\\Control\\ProductOptions", KEY_QUERY_VALUE, options),
              ERROR_SUCCESS);
    std::string productType;
    EXPECT_EQ(QueryStringValue(*options, "ProductType", productType, REG_SZ), ERROR_SUCCESS);
    EXPECT_EQ(productType, "ServerNT");
}

TEST_F(SmbLabTest, LargeValueAnswersMoreDataThenReadsWhole) {
    RegistryKeyPtr hklm = ConnectHklm(user_);
    ASSERT_TRUE(hklm);
    RegistryKeyPtr key;
    ASSERT_EQ(hklm->OpenKey(SambaLab::kLabKey, KEY_READ, key), ERROR_SUCCESS);
    const std::string expected = SambaLab::LargeValueText();

    std::uint8_t small[16];
    std::uint32_t size = sizeof small;
    std::uint32_t type = 0;
    EXPECT_EQ(key->QueryValue(SambaLab::kLargeValueName, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, expected.size() + 1);  // with its terminating zero
    EXPECT_EQ(type, REG_SZ);

    // 12,002 bytes on the wire: the answer comes in several fragments.
    std::string text;
    EXPECT_EQ(QueryStringValue(*key, SambaLab::kLargeValueName, text), ERROR_SUCCESS);
    EXPECT_EQ(text, expected);
}

TEST_F(SmbLabTest, AdministratorWritesAndPlainUserIsRefused) {
    RegistryKeyPtr hklm = ConnectHklm(admin_);
    ASSERT_TRUE(hklm);
    RegistryKeyPtr key;
    ASSERT_EQ(hklm->OpenKey(SambaLab::kLabKey, KEY_READ | KEY_WRITE, key), ERROR_SUCCESS);
    // Larger than one request fragment: the request goes out in several.
    std::vector<std::uint8_t> blob(9000);
    for (std::size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(key->SetValue("Blob", REG_BINARY, blob.data(), static_cast<std::uint32_t>(blob.size())), ERROR_SUCCESS);
    std::vector<std::uint8_t> back(blob.size());
    std::uint32_t size = static_cast<std::uint32_t>(back.size());
    std::uint32_t type = 0;
    ASSERT_EQ(key->QueryValue("Blob", &type, back.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(back, blob);

    ASSERT_EQ(SetStringValue(*key, "Greeting",
                             "Gr\xC3\xBC\xC3\x9F"
                             "e"),
              ERROR_SUCCESS);
    std::string greeting;
    EXPECT_EQ(QueryStringValue(*key, "Greeting", greeting), ERROR_SUCCESS);
    EXPECT_EQ(greeting,
              "Gr\xC3\xBC\xC3\x9F"
              "e");

    RegistryKeyPtr userHklm = ConnectHklm(user_);
    ASSERT_TRUE(userHklm);
    RegistryKeyPtr userKey;
    Status status = userHklm->OpenKey(SambaLab::kLabKey, KEY_WRITE, userKey);
    if (status == ERROR_SUCCESS)
        status = SetDwordValue(*userKey, "Start", 4);
    EXPECT_EQ(status, ERROR_ACCESS_DENIED);
}

TEST_F(SmbLabTest, CreateKeyMakesThePathAndEnumKeyListsIt) {
    RegistryKeyPtr hklm = ConnectHklm(admin_);
    ASSERT_TRUE(hklm);
    RegistryKeyPtr created;
    ASSERT_EQ(hklm->CreateKey(std::string(SambaLab::kLabKey) + "\\Made\\Deeper", KEY_ALL_ACCESS, created),
              ERROR_SUCCESS);
    RegistryKeyPtr lab;
    ASSERT_EQ(hklm->OpenKey(SambaLab::kLabKey, KEY_READ, lab), ERROR_SUCCESS);
    std::vector<std::string> names;
    std::string name;
    Status status = ERROR_SUCCESS;
    for (std::uint32_t i = 0; (status = lab->EnumKey(i, name)) == ERROR_SUCCESS && i < 100; ++i)
        names.push_back(name);
    EXPECT_EQ(status, ERROR_NO_MORE_ITEMS);
    EXPECT_NE(std::find(names.begin(), names.end(), "Made"), names.end());
    EXPECT_EQ(lab->DeleteTree("Made"), ERROR_ACCESS_DENIED);
}

TEST_F(SmbLabTest, OnlyMachineAndUsersHivesConnect) {
    RegistryKeyPtr key;
    EXPECT_EQ(user_.registry().Connect(kHost, Hive::Users, key), ERROR_SUCCESS);
    EXPECT_EQ(user_.registry().Connect(kHost, Hive::CurrentUser, key), ERROR_INVALID_HANDLE);
}

TEST_F(SmbLabTest, ServerAndWorkstationInformation) {
    ServerInfo101 server;
    ASSERT_EQ(user_.netInfo().NetServerGetInfo101(kHost, server), ERROR_SUCCESS);
    EXPECT_EQ(server.platformId, 500u);
    EXPECT_EQ(server.versionMajor & 0x0F, 6u);
    EXPECT_EQ(server.versionMinor, 1u);
    EXPECT_EQ(server.comment, "Lab host one");
    EXPECT_EQ(server.name, "LAB1");

    ServerInfo101 second;
    ASSERT_EQ(user_.netInfo().NetServerGetInfo101(SmbLabEnvironment::Host(1), second), ERROR_SUCCESS);
    EXPECT_EQ(second.comment, "Lab host two");

    WkstaInfo100 workstation;
    ASSERT_EQ(user_.netInfo().NetWkstaGetInfo100(kHost, workstation), ERROR_SUCCESS);
    EXPECT_EQ(workstation.langroup, SambaLab::kWorkgroup);
    EXPECT_EQ(workstation.computerName, "LAB1");
}

// Samba answers every user in one batch with resume handle 0; the 234 batches
// themselves are covered by the decoding tests.
std::vector<WkstaUserInfo1> LoggedOnUsers(SmbBackend& backend, const std::string& host, Status& status) {
    std::vector<WkstaUserInfo1> users;
    std::uint32_t resume = 0;
    status = ERROR_MORE_DATA;
    for (int batch = 0; status == ERROR_MORE_DATA && batch < 10; ++batch)
        status = backend.netInfo().NetWkstaUserEnum1(host, users, resume);
    return users;
}

TEST_F(SmbLabTest, LoggedOnUsersForAdministratorsOnly) {
    std::vector<WkstaUserInfo1> users;
    std::uint32_t resume = 0;
    EXPECT_EQ(user_.netInfo().NetWkstaUserEnum1(kHost, users, resume), ERROR_ACCESS_DENIED);

    Status status = ERROR_SUCCESS;
    users = LoggedOnUsers(admin_, kHost, status);
    EXPECT_EQ(status, ERROR_SUCCESS);
    EXPECT_TRUE(users.empty()) << users.front().userName;  // our own sessions come from elsewhere

    {
        testing::LabLogonSession session(kHost, "LAB1", SambaLab::PlainUser().name, SambaLab::PlainUser().password);
        ASSERT_EQ(session.Error(), "");
        users = LoggedOnUsers(admin_, kHost, status);
        EXPECT_EQ(status, ERROR_SUCCESS);
        ASSERT_EQ(users.size(), 1u);
        EXPECT_EQ(users[0].userName, SambaLab::PlainUser().name);
        EXPECT_EQ(users[0].logonDomain, SambaLab::kWorkgroup);
        EXPECT_EQ(users[0].otherDomains, "");

        // The other host has no such session.
        EXPECT_TRUE(LoggedOnUsers(admin_, SmbLabEnvironment::Host(1), status).empty());
        EXPECT_EQ(status, ERROR_SUCCESS);
    }
    // The host drops the session a moment after we hang up.
    bool gone = false;
    for (int i = 0; i < 50 && !gone; ++i) {
        gone = LoggedOnUsers(admin_, kHost, status).empty();
        if (!gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(gone);
}

TEST_F(SmbLabTest, AccountLookupGivesTheUsersSid) {
    Sid sid;
    std::string domain;
    SidNameUse use{};
    ASSERT_EQ(user_.accounts().LookupAccountName(kHost, "LAB1\\vnuser", sid, domain, use), ERROR_SUCCESS);
    EXPECT_EQ(domain, "LAB1");
    EXPECT_EQ(use, SidNameUse::User);
    const std::string text = ConvertSidToStringSid(sid);
    EXPECT_EQ(text.rfind("S-1-5-21-", 0), 0u) << text;
    EXPECT_EQ(sid.subAuthorities.size(), 5u) << text;  // 21, three domain parts, the RID

    Sid adminSid;
    ASSERT_EQ(user_.accounts().LookupAccountName(kHost, "vnadmin", adminSid, domain, use), ERROR_SUCCESS);
    EXPECT_NE(adminSid, sid);
    EXPECT_EQ(std::vector(adminSid.subAuthorities.begin(), adminSid.subAuthorities.end() - 1),
              std::vector(sid.subAuthorities.begin(), sid.subAuthorities.end() - 1));

    EXPECT_EQ(user_.accounts().LookupAccountName(kHost, "nobody-of-that-name", sid, domain, use), ERROR_NONE_MAPPED);
}

TEST_F(SmbLabTest, SpoolerStopsAndStartsForAnAdministrator) {
    std::unique_ptr<ServiceManagerHandle> manager;
    ASSERT_EQ(admin_.services().OpenManager(kHost, SC_MANAGER_ALL_ACCESS, manager), ERROR_SUCCESS);
    std::unique_ptr<ServiceHandle> spooler;
    ASSERT_EQ(manager->OpenService("Spooler", SERVICE_ALL_ACCESS, spooler), ERROR_SUCCESS);
    ServiceStatus status;
    ASSERT_EQ(spooler->QueryStatus(status), ERROR_SUCCESS);
    if (status.currentState != SERVICE_RUNNING) {
        ASSERT_EQ(spooler->Start(), ERROR_SUCCESS);
        ASSERT_EQ(spooler->QueryStatus(status), ERROR_SUCCESS);
    }
    EXPECT_EQ(status.currentState, SERVICE_RUNNING);
    EXPECT_EQ(spooler->Control(SERVICE_CONTROL_STOP, status), ERROR_SUCCESS);
    ASSERT_EQ(spooler->QueryStatus(status), ERROR_SUCCESS);
    EXPECT_TRUE(status.currentState == SERVICE_STOPPED || status.currentState == SERVICE_STOP_PENDING);
    EXPECT_EQ(spooler->Start(), ERROR_SUCCESS);
    ASSERT_EQ(spooler->QueryStatus(status), ERROR_SUCCESS);
    EXPECT_EQ(status.currentState, SERVICE_RUNNING);
}

TEST_F(SmbLabTest, ServiceRightsAndUnknownServices) {
    std::unique_ptr<ServiceManagerHandle> manager;
    ASSERT_EQ(user_.services().OpenManager(kHost, SC_MANAGER_ALL_ACCESS, manager) == ERROR_SUCCESS ||
                  user_.services().OpenManager(kHost, 0x0001, manager) == ERROR_SUCCESS,
              true);
    std::unique_ptr<ServiceHandle> service;
    EXPECT_EQ(manager->OpenService("NoSuchService", SERVICE_QUERY_STATUS, service), ERROR_SERVICE_DOES_NOT_EXIST);
    ASSERT_EQ(manager->OpenService("Spooler", SERVICE_QUERY_STATUS, service), ERROR_SUCCESS);
    ServiceStatus status;
    EXPECT_EQ(service->QueryStatus(status), ERROR_SUCCESS);
    Status stop = manager->OpenService("Spooler", SERVICE_STOP, service);
    if (stop == ERROR_SUCCESS)
        stop = service->Control(SERVICE_CONTROL_STOP, status);
    EXPECT_EQ(stop, ERROR_ACCESS_DENIED);
}

TEST_F(SmbLabTest, StoppedHostIsNetworkPathNotFoundWithinSeconds) {
    const auto started = std::chrono::steady_clock::now();
    RegistryKeyPtr key;
    EXPECT_EQ(user_.registry().Connect(SambaLab::StoppedHostAddress(), Hive::LocalMachine, key), ERROR_BAD_NETPATH);
    ServerInfo101 info;
    EXPECT_EQ(user_.netInfo().NetServerGetInfo101(SambaLab::StoppedHostAddress(), info), ERROR_BAD_NETPATH);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_EQ(user_.registry().Connect("bad/name", Hive::LocalMachine, key), ERROR_BAD_NETPATH);
}

// A mistyped name or a switched-off computer, never a bad setting. The lab's
// client configuration resolves names through the lab's WINS server only, so
// no query leaves this computer.
TEST_F(SmbLabTest, NamesThatDoNotResolveAreNetworkPathNotFound) {
    for (const char* name : {"NOSUCHPC", "no-such-host.somewhere-far.example"}) {
        RegistryKeyPtr key;
        EXPECT_EQ(user_.registry().Connect(name, Hive::LocalMachine, key), ERROR_BAD_NETPATH) << name;
        ServerInfo101 info;
        EXPECT_EQ(user_.netInfo().NetServerGetInfo101(name, info), ERROR_BAD_NETPATH) << name;
    }
}

TEST_F(SmbLabTest, WrongPasswordIsAccessDenied) {
    SmbBackend wrong(SmbCredentials::FromPassword(SambaLab::PlainUser().name, "not-the-password", ""));
    RegistryKeyPtr key;
    EXPECT_EQ(wrong.registry().Connect(kHost, Hive::LocalMachine, key), ERROR_ACCESS_DENIED);
}

TEST_F(SmbLabTest, CredentialsFromAnAuthenticationFile) {
    const std::string path = std::string(std::getenv("HOME")) + "/auth";
    {
        std::FILE* file = std::fopen(path.c_str(), "w");
        ASSERT_TRUE(file);
        std::fprintf(file, "username = %s\npassword = %s\ndomain = LAB1\n", SambaLab::AdminUser().name.c_str(),
                     SambaLab::AdminUser().password.c_str());
        std::fclose(file);
    }
    SmbBackend backend(SmbCredentials::FromPassword("nobody", "nothing", ""));
    ASSERT_EQ(backend.SetAuthFile(path), ERROR_SUCCESS);
    std::vector<WkstaUserInfo1> users;
    std::uint32_t resume = 0;
    EXPECT_EQ(backend.netInfo().NetWkstaUserEnum1(kHost, users, resume), ERROR_SUCCESS);  // admin only
    EXPECT_EQ(backend.SetAuthFile(path + ".missing"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace vn::smb
