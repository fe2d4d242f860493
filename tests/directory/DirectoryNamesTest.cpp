#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/directory/ConfiguredDomain.h"
#include "platform/directory/DirectoryBrowser.h"
#include "platform/directory/DirectoryEnumeration.h"
#include "platform/directory/DirectoryNames.h"
#include "platform/directory/LdapSession.h"

namespace vn::directory {
namespace {

TEST(DirectoryNamesTest, DistinguishedNamesAndDomains) {
    EXPECT_EQ(DomainBaseDn("lab.test"), "DC=lab,DC=test");
    EXPECT_EQ(DomainBaseDn("corp.example.com."), "DC=corp,DC=example,DC=com");
    EXPECT_EQ(DnsDomainOfDn("CN=PC1,OU=Web,OU=Servers,DC=lab,dc=test"), "lab.test");
    EXPECT_EQ(DnsDomainOfDn("OU=DC=x,CN=y"), "");

    const struct {
        const char* dn;
        const char* value;
    } rdns[] = {
        {"OU=Servers,DC=lab,DC=test", "Servers"},
        {"OU=Web\\, Intranet,DC=lab", "Web, Intranet"},
        {"CN=caf\\C3\\A9,DC=lab", "caf\xC3\xA9"},
        {"CN=a+sn=b,DC=lab", "a"},
        {"no equals sign", ""},
        {"CN=trailing\\", "trailing\\"},
    };
    for (const auto& c : rdns)
        EXPECT_EQ(FirstRdnValue(c.dn), c.value) << c.dn;

    const struct {
        const char* dn;
        std::size_t depth;
    } depths[] = {
        {"DC=lab,DC=test", 0},
        {"OU=Servers,DC=lab,dc=test", 1},
        {"CN=PC1,OU=Web\\, Intranet,OU=Servers,DC=lab,DC=test", 3},
        {"OU=DCs\\,DC=x,DC=lab", 1},
        {"", 0},
    };
    for (const auto& c : depths)
        EXPECT_EQ(DepthBelowDomain(c.dn), c.depth) << c.dn;
}

TEST(DirectoryNamesTest, AContainerTooDeepBelowItsDomainIsRefusedBeforeAnyConnection) {
    DirectoryOptions options;
    options.controllers = {"192.0.2.1"};  // never reached: the depth is judged first
    DirectoryBrowser browser([] { return smb::SmbCredentials::FromPassword("u", "p", "LAB"); }, options);
    NetResource container = DirectoryBrowser::ProviderResource();
    container.dwDisplayType = RESOURCEDISPLAYTYPE_GENERIC;
    container.dwUsage = RESOURCEUSAGE_CONTAINER;
    container.comment = "DC=lab,DC=test";
    for (std::size_t i = 0; i <= DirectoryBrowser::kMaxDepth; ++i)
        container.comment.insert(0, "OU=u,");
    std::unique_ptr<ResourceEnumeration> enumeration;
    EXPECT_EQ(browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &container, enumeration), 206u);
    EXPECT_EQ(enumeration, nullptr);
}

TEST(PageBudgetTest, APageTakesNoMoreEntriesOrBytesThanItsBudget) {
    const DirectoryEntry small{"CN=A,DC=l", {"computer"}, "a.l", "4096"};  // 24 bytes
    const struct {
        std::size_t entries, bytes;
        int taken;
    } cases[] = {
        {3, 1000, 3},  // the entry count ends it
        {10, 50, 2},   // the bytes end it
        {10, 23, 0},   // one entry larger than the whole budget
        {0, 1000, 0},
    };
    for (const auto& c : cases) {
        PageBudget budget{c.entries, c.bytes};
        int taken = 0;
        while (taken < 10 && budget.Take(small))
            ++taken;
        EXPECT_EQ(taken, c.taken) << c.entries << " entries, " << c.bytes << " bytes";
    }
}

TEST(DirectoryNamesTest, WhichNamesAreDirectoryDomains) {
    const DirectoryDomain lab{"lab.test", "LAB"};
    const struct {
        const char* name;
        std::optional<DirectoryDomain> configured;
        std::optional<std::string> dnsName;
    } cases[] = {
        {"lab", lab, "lab.test"},
        {"LAB.TEST", lab, "lab.test"},
        {"Corp.Example.com", lab, "corp.example.com"},
        {"OFFICE", lab, std::nullopt},        // a workgroup: no directory
        {"LAB", std::nullopt, std::nullopt},  // this computer is in no domain
        {"127.0.0.2", lab, std::nullopt},     // an address, not a domain
        {"trailing.", lab, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DirectoryDnsName(c.name, c.configured), c.dnsName) << c.name;
}

TEST(DirectoryNamesTest, TheConfiguredDomainNeedsARealm) {
    const auto dir = std::filesystem::temp_directory_path() / ("vn-domain-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto write = [&](const char* name, const char* text) {
        std::ofstream(dir / name) << text;
        return (dir / name).string();
    };
    const std::string member = write("member.conf", "[global]\n  Workgroup = lab\n  REALM = Lab.Test\n");
    const std::string workgroup = write("workgroup.conf", "[global]\n  workgroup = OFFICE\n");
    const auto domain = ReadConfiguredDomain({dir / "missing.conf", member});
    ASSERT_TRUE(domain.has_value());
    EXPECT_EQ(domain->dnsName, "lab.test");
    EXPECT_EQ(domain->netbiosName, "LAB");
    EXPECT_FALSE(ReadConfiguredDomain({workgroup, member}).has_value()) << "the first readable file decides";
    std::filesystem::remove_all(dir);
}

TEST(DirectoryNamesTest, EntriesBecomeContainersAndEnabledServers) {
    const std::vector<DirectoryEntry> entries = {
        {"OU=Servers,DC=lab,DC=test", {"top", "organizationalUnit"}, "", ""},
        {"CN=Computers,DC=lab,DC=test", {"top", "container"}, "", ""},
        {"CN=APP1,OU=Servers,DC=lab,DC=test", {"top", "user", "computer"}, "app1.lab.test", "4096"},
        {"CN=APP2,OU=Servers,DC=lab,DC=test", {"computer"}, "", "4096"},
        {"CN=OLD1,OU=Servers,DC=lab,DC=test", {"computer"}, "old1.lab.test", "4098"},
        {"CN=DC1,OU=Domain Controllers,DC=lab,DC=test", {"Computer"}, "dc1.lab.test", "532480"},
        {"CN=ODD,DC=lab,DC=test", {"computer"}, "", "-2147483646"},  // disabled, sent signed
    };
    const auto resources = DirectoryResources(entries);
    std::vector<std::string> names;
    for (const NetResource& r : resources) {
        names.push_back(r.remoteName);
        EXPECT_EQ(r.provider, kDirectoryProviderName);
        EXPECT_TRUE(r.dwUsage & RESOURCEUSAGE_CONTAINER);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Servers", "Computers", "\\\\app1.lab.test", "\\\\APP2", "\\\\dc1.lab.test"}));
    EXPECT_EQ(resources[0].dwDisplayType, RESOURCEDISPLAYTYPE_GENERIC);
    EXPECT_EQ(resources[0].comment, "OU=Servers,DC=lab,DC=test") << "the container is opened by its DN";
    EXPECT_EQ(resources[2].dwDisplayType, RESOURCEDISPLAYTYPE_SERVER);
}

}  // namespace
}  // namespace vn::directory
