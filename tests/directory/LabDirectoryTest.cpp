#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "DomainLab.h"
#include "DomainLabEnvironment.h"
#include "LabTest.h"
#include "detect/RecordingSinks.h"
#include "discovery/NetworkScanWorker.h"
#include "platform/directory/CombinedNetworkBrowser.h"
#include "platform/directory/DomainControllers.h"
#include "platform/smb/SmbBackend.h"
#include "support/FakePlatform.h"
#include "support/PlatformOverlay.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn::directory {
namespace {

using lab::DomainLab;
using Lines = std::vector<std::string>;
using lab::DomainLabEnvironment;

class LabDirectoryTest : public lab::LabTest<lab::DomainLabEnvironment> {
protected:
    void SetUpLab() override { catalogue_.AddBuiltIns(); }

    static DirectoryOptions Options(int pageSize = 500) {
        DirectoryOptions options;
        options.controllers = {DomainLab::kAddress};
        options.sambaConfigFiles = {DomainLabEnvironment::Home() + "/.smb/smb.conf"};
        options.pageSize = pageSize;
        return options;
    }

    // No WS-Discovery answers: the domain's own providers only.
    static Status NoAnswers(const wsd::WsdOptions&, std::vector<wsd::WsdAnswer>& answers) {
        answers.clear();
        return ERROR_SUCCESS;
    }

    static smb::SmbCredentials Administrator(const std::string& password = DomainLab::Administrator().password) {
        return smb::SmbCredentials::FromPassword(DomainLab::Administrator().name, password, DomainLab::kDomain);
    }

    // The paths of everything a scan of typed adds, sorted; the tree sorts
    // siblings itself, whatever order the directory answers in.
    Lines Scan(const std::string& typed, int pageSize = 500) {
        smb::SmbBackend backend(Administrator());
        DirectoryBrowser directory([&backend] { return backend.Credentials(); }, Options(pageSize));
        wsd::WsdBrowser wsd(NoAnswers);
        CombinedNetworkBrowser browser(backend.browser(), directory, wsd);
        // Browsing through the real SMB and directory browsers; every other call
        // goes to a fake network without computers, so each probe fails at once.
        vn::test::FakePlatform fake;
        vn::test::PlatformOverlay platform(fake);
        platform.Use(browser);
        vn::test::RecordingStatusSink status;
        vn::test::RecordingTreeSink tree;
        MessageBoxStopQuestion questions;
        NetworkScanWorker worker(platform);
        EXPECT_TRUE(
            worker.Start(std::make_unique<NetworkScanJob>(typed, nullptr, status, tree, catalogue_, questions)));
        worker.Wait();
        EXPECT_EQ(worker.LastOutcome(), NetworkScanWorker::Outcome::Finished);

        std::map<const InventoryNode*, std::string> paths;
        Lines result;
        for (const auto& added : tree.Nodes()) {
            const auto parent = paths.find(added.parent);
            const std::string path = (parent != paths.end() ? parent->second + "/" : "") + added.node->Name +
                                     (added.node->IsFolder ? "/" : "");
            paths[added.node.get()] = path.substr(0, path.size() - (added.node->IsFolder ? 1 : 0));
            result.push_back(path);
        }
        std::sort(result.begin(), result.end());
        return result;
    }

    static Lines Computers(const Lines& paths) {
        Lines out;
        std::copy_if(paths.begin(), paths.end(), std::back_inserter(out),
                     [](const std::string& p) { return p.back() != '/'; });
        return out;
    }

    ProductCatalogue catalogue_;
};

TEST_F(LabDirectoryTest, TheDomainsDnsNamesItsControllers) {
    DirectoryOptions options;
    options.nameServer = DomainLab::kAddress;
    options.callLimit = std::chrono::milliseconds(3000);
    EXPECT_EQ(FindDomainControllers(DomainLab::kDnsDomain, options), Lines{DomainLab::kControllerHost});
    EXPECT_EQ(FindDomainControllers("absent.test", options), Lines{"absent.test"})
        << "without SRV records the domain's own name is tried";
}

TEST_F(LabDirectoryTest, ScanningTheDomainsNameFilesItsEnabledComputersUnderTheirUnits) {
    // No browse list answers for the domain: its directory does.
    const Lines paths = Scan(DomainLab::kDomain);
    EXPECT_EQ(Computers(paths),
              (Lines{"LAB/Domain Controllers/DC1.lab.test", "LAB/Servers/APP2", "LAB/Servers/Web/web1.lab.test",
                     "LAB/Servers/app1.lab.test", "LAB/Workstations/pc1.lab.test"}))
        << "disabled accounts (OLD1, PC2) are left out; dNSHostName names a computer, else its cn";
    for (const char* folder : {"LAB/", "LAB/Servers/", "LAB/Servers/Web/", "LAB/Computers/"})
        EXPECT_NE(std::find(paths.begin(), paths.end(), folder), paths.end()) << folder;
    EXPECT_EQ(std::count_if(paths.begin(), paths.end(),
                            [](const std::string& p) { return p.find("System") != std::string::npos; }),
              0)
        << "the directory's own containers stay hidden";

    Lines byDnsName = Scan(DomainLab::kRealm, 2);
    for (std::string& path : byDnsName)
        path.replace(0, std::string(DomainLab::kRealm).size(), DomainLab::kDomain);
    EXPECT_EQ(byDnsName, paths) << "the DNS name, read two entries a page, finds the same";
}

TEST_F(LabDirectoryTest, TheWholeNetworkListsTheDirectoryProvider) {
    smb::SmbBackend backend(Administrator());
    DirectoryBrowser directory([&backend] { return backend.Credentials(); }, Options());
    wsd::WsdBrowser wsd(NoAnswers);
    CombinedNetworkBrowser browser(backend.browser(), directory, wsd);
    std::unique_ptr<ResourceEnumeration> top;
    ASSERT_EQ(browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, nullptr, top), ERROR_SUCCESS);
    std::vector<NetResource> providers;
    std::uint32_t count = 0xFFFFFFFF;
    ASSERT_EQ(top->Next(&count, providers, 16384), ERROR_SUCCESS);
    ASSERT_EQ(providers.size(), 3u);
    EXPECT_EQ(providers[1].remoteName, "Active Directory");
    EXPECT_EQ(providers[2].remoteName, "Web Services Discovery");

    std::unique_ptr<ResourceEnumeration> domains;
    ASSERT_EQ(browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &providers[1], domains), ERROR_SUCCESS);
    std::vector<NetResource> found;
    count = 0xFFFFFFFF;
    ASSERT_EQ(domains->Next(&count, found, 16384), ERROR_SUCCESS);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].remoteName, DomainLab::kDomain);
    EXPECT_EQ(found[0].dwDisplayType, RESOURCEDISPLAYTYPE_DOMAIN);
}

// The connections of this network namespace to the controller's LDAP port.
int ConnectionsToTheController() {
    std::ifstream tcp("/proc/net/tcp");
    std::string line;
    int count = 0;
    while (std::getline(tcp, line)) {
        // remote address 127.0.0.20:389, state established (01)
        if (line.find(" 1400007F:0185 01 ") != std::string::npos)
            ++count;
    }
    return count;
}

TEST_F(LabDirectoryTest, NestedUnitsShareOneConnectionAndAContainerEndsAtItsBound) {
    smb::SmbBackend backend(Administrator());
    DirectoryOptions options = Options(1);
    options.maxContainerEntries = 2;
    DirectoryBrowser directory([&backend] { return backend.Credentials(); }, options);
    std::unique_ptr<ResourceEnumeration> domain;
    ASSERT_EQ(directory.OpenDomain(DomainLab::kDomain, domain), ERROR_SUCCESS);
    std::vector<NetResource> found;
    Status status = ERROR_SUCCESS;
    while (status == ERROR_SUCCESS) {
        std::uint32_t count = 0xFFFFFFFF;
        status = domain->Next(&count, found, 16384);
    }
    EXPECT_EQ(status, ERROR_NOT_ENOUGH_MEMORY) << "the domain's top holds more than two entries";
    ASSERT_EQ(found.size(), 2u) << "what came before the bound is given, one page at a time";

    std::unique_ptr<ResourceEnumeration> inner;
    ASSERT_EQ(directory.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &found[0], inner), ERROR_SUCCESS);
    EXPECT_EQ(ConnectionsToTheController(), 1) << "the unit is read over its domain's connection";
}

TEST_F(LabDirectoryTest, LogonFailuresSayWhy) {
    const struct {
        smb::SmbCredentials credentials;
        Status expected;
    } cases[] = {
        {Administrator("wrong password"), ERROR_ACCESS_DENIED},  // refused inside TLS
        {smb::SmbCredentials(), 1312},                           // neither a ticket nor a password
    };
    for (const auto& c : cases) {
        DirectoryBrowser directory([&c] { return c.credentials; }, Options());
        std::unique_ptr<ResourceEnumeration> enumeration;
        EXPECT_EQ(directory.OpenDomain(DomainLab::kDomain, enumeration), c.expected);
        EXPECT_EQ(enumeration, nullptr);
    }
}

}  // namespace
}  // namespace vn::directory
