#include <gtest/gtest.h>

#include <thread>

#include "platform/RegistryValues.h"
#include "support/FakePlatform.h"

namespace vn::test {
namespace {

RegistryKeyPtr ConnectOrFail(FakePlatform& platform, const std::string& computer, Hive hive) {
    RegistryKeyPtr root;
    EXPECT_EQ(platform.Connect(computer, hive, root), ERROR_SUCCESS);
    return root;
}

TEST(FakePlatformRegistryTest, KeysAndValuesFollowWindowsRules) {
    FakePlatform platform;
    platform.Computer("PC1").Key(Hive::LocalMachine, "Software\\Vendor").String("Path", "C:\\x");
    platform.Computer("PC1").Key(Hive::LocalMachine, "Software\\beta");
    platform.Computer("PC1").Key(Hive::LocalMachine, "Software\\Alpha");
    platform.Computer("PC1").Key(Hive::LocalMachine, "Software\\_under");

    RegistryKeyPtr root = ConnectOrFail(platform, "\\\\pc1", Hive::LocalMachine);
    RegistryKeyPtr key;
    ASSERT_EQ(root->OpenKey("SOFTWARE\\vendor\\", KEY_READ, key), ERROR_SUCCESS);
    RegistryKeyPtr missing;
    EXPECT_EQ(root->OpenKey("Software\\Nothing", KEY_READ, missing), ERROR_FILE_NOT_FOUND);

    std::uint32_t type = 0, size = 0;
    ASSERT_EQ(key->QueryValue("PATH", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);
    std::uint8_t small[2];
    size = sizeof small;
    EXPECT_EQ(key->QueryValue("path", nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(key->QueryValue("Other", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    // Sub-keys enumerate by their upper-cased names; "_" sorts after letters.
    RegistryKeyPtr software;
    ASSERT_EQ(root->OpenKey("software", KEY_READ, software), ERROR_SUCCESS);
    std::vector<std::string> names;
    std::string name;
    std::uint32_t index = 0;
    Status status;
    while ((status = software->EnumKey(index++, name)) == ERROR_SUCCESS)
        names.push_back(name);
    EXPECT_EQ(status, ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "Vendor", "_under"}));
}

TEST(FakePlatformRegistryTest, RefusedKeysAndHandleRightsGiveAccessDenied) {
    FakePlatform platform;
    FakeComputer& pc = platform.Computer("PC1");
    pc.Key(Hive::LocalMachine, "Locked").RefuseRead();
    pc.Key(Hive::LocalMachine, "ReadOnly").RefuseWrite().String("Value", "x");
    RegistryKeyPtr root = ConnectOrFail(platform, "PC1", Hive::LocalMachine);

    RegistryKeyPtr key;
    EXPECT_EQ(root->OpenKey("Locked", KEY_READ, key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(root->OpenKey("ReadOnly", KEY_WRITE, key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(root->CreateKey("ReadOnly\\New", KEY_ALL_ACCESS, key), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(pc.HasKey(Hive::LocalMachine, "ReadOnly\\New"));
    EXPECT_EQ(root->DeleteTree("ReadOnly"), ERROR_ACCESS_DENIED);

    ASSERT_EQ(root->OpenKey("ReadOnly", KEY_QUERY_VALUE, key), ERROR_SUCCESS);
    EXPECT_EQ(SetDwordValue(*key, "Value", 1), ERROR_ACCESS_DENIED);
    std::string ignored;
    EXPECT_EQ(key->EnumKey(0, ignored), ERROR_ACCESS_DENIED);
}

TEST(FakePlatformRegistryTest, WritesLandAndDeletedKeysStopAnswering) {
    FakePlatform platform;
    RegistryKeyPtr root = ConnectOrFail(platform, "", Hive::CurrentUser);
    RegistryKeyPtr key;
    ASSERT_EQ(root->CreateKey("Software\\App\\Settings", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    ASSERT_EQ(SetStringValue(*key, "Name", "v"), ERROR_SUCCESS);
    auto value = platform.Local().Value(Hive::CurrentUser, "software\\app\\settings", "NAME");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->name, "Name");

    EXPECT_EQ(root->DeleteTree("Software\\App"), ERROR_SUCCESS);
    EXPECT_FALSE(platform.Local().HasKey(Hive::CurrentUser, "Software\\App"));
    EXPECT_EQ(SetStringValue(*key, "Name", "w"), ERROR_KEY_DELETED);
    EXPECT_EQ(root->DeleteTree("Software\\App"), ERROR_FILE_NOT_FOUND);

    key.reset();
    root.reset();
    EXPECT_EQ(platform.OpenHandleCount(), 0);
}

TEST(FakePlatformTest, UnreachableComputersAndScriptedFailures) {
    FakePlatform platform;
    platform.Computer("OFF").SwitchOff();
    platform.Computer("NOREG").FailConnect(RPC_S_SERVER_UNAVAILABLE).FailServerInfo(ERROR_ACCESS_DENIED);
    RegistryKeyPtr root;
    EXPECT_EQ(platform.Connect("OFF", Hive::LocalMachine, root), ERROR_BAD_NETPATH);
    EXPECT_EQ(platform.Connect("unknown", Hive::LocalMachine, root), ERROR_BAD_NETPATH);
    EXPECT_EQ(platform.Connect("NOREG", Hive::LocalMachine, root), RPC_S_SERVER_UNAVAILABLE);
    platform.Computer("PC2");
    EXPECT_EQ(platform.Connect("PC2", Hive::CurrentUser, root), ERROR_INVALID_HANDLE);
    ServerInfo101 info;
    EXPECT_EQ(platform.NetServerGetInfo101("NOREG", info), ERROR_ACCESS_DENIED);
    std::unique_ptr<ServiceManagerHandle> manager;
    EXPECT_EQ(platform.services().OpenManager("OFF", SC_MANAGER_ALL_ACCESS, manager), RPC_S_SERVER_UNAVAILABLE);

    EXPECT_EQ(platform.Log().Count("RegConnectRegistry"), 4u);
    auto calls = platform.Log().Calls("RegConnectRegistry", "noreg");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments, std::vector<std::string>{"HKLM"});
}

TEST(FakePlatformTest, LoggedOnUsersComeInBatches) {
    FakePlatform platform;
    platform.Computer("PC1").LoggedOnUsers({{"a", "D", "", ""}, {"b", "D", "", ""}, {"c", "D", "", ""}}, 2);
    std::uint32_t resume = 0;
    std::vector<WkstaUserInfo1> users;
    EXPECT_EQ(platform.NetWkstaUserEnum1("PC1", users, resume), ERROR_MORE_DATA);
    EXPECT_EQ(users.size(), 2u);
    EXPECT_EQ(platform.NetWkstaUserEnum1("PC1", users, resume), ERROR_SUCCESS);
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users[0].userName, "c");
}

TEST(FakePlatformTest, AccountLookupAcceptsPlainAndDomainNames) {
    FakePlatform platform;
    platform.Computer("DC").Account({"CORP\\anna", Sid{1, 5, {21, 7}}, SidNameUse::User, "CORP"});
    Sid sid;
    std::string domain;
    SidNameUse use{};
    EXPECT_EQ(platform.LookupAccountName("DC", "ANNA", sid, domain, use), ERROR_SUCCESS);
    EXPECT_EQ(ConvertSidToStringSid(sid), "S-1-5-21-7");
    EXPECT_EQ(platform.LookupAccountName("DC", "corp\\anna", sid, domain, use), ERROR_SUCCESS);
    EXPECT_EQ(platform.LookupAccountName("DC", "bob", sid, domain, use), ERROR_NONE_MAPPED);
}

TEST(FakePlatformTest, ServicesStartStopAndRefuse) {
    FakePlatform platform;
    platform.Computer("PC1").Service("Vantor", SERVICE_STOPPED, 2).Service("Off", SERVICE_STOPPED, 4);
    std::unique_ptr<ServiceManagerHandle> manager;
    ASSERT_EQ(platform.services().OpenManager("PC1", SC_MANAGER_ALL_ACCESS, manager), ERROR_SUCCESS);
    std::unique_ptr<ServiceHandle> service;
    ASSERT_EQ(manager->OpenService("vantor", SERVICE_ALL_ACCESS, service), ERROR_SUCCESS);
    EXPECT_EQ(service->Start(), ERROR_SUCCESS);
    EXPECT_EQ(platform.Computer("PC1").ServiceState("Vantor"), SERVICE_RUNNING);
    EXPECT_EQ(service->Start(), ERROR_SERVICE_ALREADY_RUNNING);
    ServiceStatus status;
    EXPECT_EQ(service->Control(SERVICE_CONTROL_STOP, status), ERROR_SUCCESS);
    EXPECT_EQ(status.currentState, SERVICE_STOPPED);
    EXPECT_EQ(service->Control(SERVICE_CONTROL_STOP, status), ERROR_SERVICE_NOT_ACTIVE);

    std::unique_ptr<ServiceHandle> disabled;
    ASSERT_EQ(manager->OpenService("Off", SERVICE_START, disabled), ERROR_SUCCESS);
    EXPECT_EQ(disabled->Start(), ERROR_SERVICE_DISABLED);
    EXPECT_EQ(disabled->QueryStatus(status), ERROR_ACCESS_DENIED);

    platform.Computer("PC1").RefuseService("Vantor", FakeServiceCall::Start, ERROR_ACCESS_DENIED);
    EXPECT_EQ(service->Start(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(manager->OpenService("Missing", SERVICE_ALL_ACCESS, service), ERROR_SERVICE_DOES_NOT_EXIST);
}

TEST(FakePlatformTest, BrowseEnumerationsHandOutBatchesAndFail) {
    FakePlatform platform;
    FakeBrowseNode& provider = platform.BrowseRoot().AddProvider("Microsoft Windows Network");
    FakeBrowseNode& domain = provider.AddDomain("WORKGROUP").Batch(2);
    domain.AddServer("PC1");
    domain.AddServer("PC2");
    domain.AddServer("PC3");
    provider.AddDomain("BROKEN").FailOpen(ERROR_ACCESS_DENIED);

    std::unique_ptr<ResourceEnumeration> enumeration;
    NetResource container = domain.Resource();
    ASSERT_EQ(platform.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &container, enumeration),
              ERROR_SUCCESS);
    std::vector<NetResource> found;
    std::uint32_t count = 0xFFFFFFFF;
    EXPECT_EQ(enumeration->Next(&count, found, 16384), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u);
    count = 0xFFFFFFFF;
    EXPECT_EQ(enumeration->Next(&count, found, 16384), ERROR_SUCCESS);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(found.back().remoteName, "\\\\PC3");
    EXPECT_EQ(enumeration->Next(&count, found, 16384), ERROR_NO_MORE_ITEMS);
    enumeration.reset();

    container.remoteName = "broken";
    EXPECT_EQ(platform.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &container, enumeration),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(platform.OpenHandleCount(), 0);
}

TEST(FakePlatformTest, ConcurrentCallsFromManyThreadsAreAllRecorded) {
    FakePlatform platform;
    platform.Computer("PC1").Key(Hive::LocalMachine, "Software").String("v", "x");
    std::vector<std::thread> threads;
    threads.reserve(8);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20; ++i) {
                RegistryKeyPtr root, key;
                if (platform.Connect("PC1", Hive::LocalMachine, root) == ERROR_SUCCESS &&
                    root->CreateKey("Software\\T", KEY_ALL_ACCESS, key) == ERROR_SUCCESS) {
                    EXPECT_EQ(SetDwordValue(*key, "n", static_cast<std::uint32_t>(i)), ERROR_SUCCESS);
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(platform.Log().Count("RegSetValueEx", "PC1"), 160u);
    EXPECT_EQ(platform.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace vn::test
