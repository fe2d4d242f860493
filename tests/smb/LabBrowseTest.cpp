// End-to-end: browsing the lab's workgroup the way the network scan walks it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

#include "LabTest.h"
#include "SambaLab.h"
#include "SmbLabEnvironment.h"
#include "discovery/NetworkResources.h"
#include "platform/smb/ResourceList.h"
#include "platform/smb/SmbBackend.h"

namespace vn::smb {
namespace {

using lab::SambaLab;
using lab::SmbLabEnvironment;

constexpr std::uint32_t kBufferSize = 16384;
constexpr std::uint32_t kAsManyAsFit = 0xFFFFFFFF;

// What a walk found, by path ("provider/workgroup/\\server").
using Found = std::map<std::string, NetResource>;

Status ReadAll(ResourceEnumeration& enumeration, std::vector<NetResource>& out, std::uint32_t bufferSize,
               int* batches = nullptr) {
    Status status = ERROR_SUCCESS;
    while (status == ERROR_SUCCESS) {
        std::uint32_t count = kAsManyAsFit;
        const std::size_t before = out.size();
        status = enumeration.Next(&count, out, bufferSize);
        if (status == ERROR_SUCCESS) {
            EXPECT_EQ(count, out.size() - before);
            EXPECT_GT(count, 0u);
            if (batches)
                ++*batches;
        }
    }
    return status;
}

// Depth first from container (null: the whole network), servers not opened,
// as the scan does it. Returns the first failure to open or to enumerate.
Status Walk(NetworkBrowser& browser, const NetResource* container, const std::string& path, Found& found) {
    std::unique_ptr<ResourceEnumeration> enumeration;
    if (Status status = browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, enumeration);
        status != ERROR_SUCCESS)
        return status;
    std::vector<NetResource> children;
    if (Status status = ReadAll(*enumeration, children, kBufferSize); status != ERROR_NO_MORE_ITEMS)
        return status;
    for (const NetResource& child : children) {
        const std::string childPath = path + "/" + child.remoteName;
        found[childPath] = child;
        if ((child.dwUsage & RESOURCEUSAGE_CONTAINER) && child.dwDisplayType != RESOURCEDISPLAYTYPE_SERVER) {
            if (Status status = Walk(browser, &child, childPath, found); status != ERROR_SUCCESS)
                return status;
        }
    }
    return ERROR_SUCCESS;
}

class LabBrowseTest : public lab::LabTest<SmbLabEnvironment> {
protected:
    void SetUpLab() override { ASSERT_TRUE(WaitForBothServers()) << "the lab's browse list never held both hosts"; }

    // nmbd needs some twenty seconds after its start to win the browser
    // election, and on a loaded machine sometimes much longer; the hosts
    // appear in the browse lists only then. Every test program waits at most
    // until kBrowseListDeadline after the lab's start, and at least
    // kLeastWait of its own.
    bool WaitForBothServers() {
        constexpr double kBrowseListDeadline = 240;
        constexpr double kLeastWait = 30;
        const double sinceStart = SmbLabEnvironment::SecondsSinceLabStart();
        const double budget =
            sinceStart < 0 ? kBrowseListDeadline : std::max(kLeastWait, kBrowseListDeadline - sinceStart);
        const auto started = std::chrono::steady_clock::now();
        const auto deadline = started + std::chrono::duration<double>(budget);
        Status status = ERROR_SUCCESS;
        Found found;
        for (;;) {
            found.clear();
            status = Walk(backend_.browser(), nullptr, "", found);
            if (status == ERROR_SUCCESS && found.count(ServerPath("LAB1")) && found.count(ServerPath("LAB2")))
                break;
            if (std::chrono::steady_clock::now() >= deadline) {
                std::string paths;
                for (const auto& entry : found)
                    paths += " [" + entry.first + "]";
                ADD_FAILURE() << "last walk: status " << status << ", found" << paths;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        const auto waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("browse list complete after %.1f s of waiting (lab started %.1f s before)\n", waited, sinceStart);
        return true;
    }

    static std::string ServerPath(const std::string& name) { return kWorkgroupPath + "/\\\\" + name; }

    static inline const std::string kProviderPath = std::string("/") + SmbNetworkBrowser::kProviderName;
    static inline const std::string kWorkgroupPath = kProviderPath + "/" + SambaLab::kWorkgroup;
    SmbBackend backend_{SmbCredentials::FromPassword(SambaLab::PlainUser().name, SambaLab::PlainUser().password, "")};
};

TEST_F(LabBrowseTest, WholeNetworkHoldsTheProviderItsWorkgroupAndItsServers) {
    Found found;
    ASSERT_EQ(Walk(backend_.browser(), nullptr, "", found), ERROR_SUCCESS);

    const NetResource& provider = found.at(kProviderPath);
    EXPECT_EQ(provider.dwDisplayType, RESOURCEDISPLAYTYPE_NETWORK);
    EXPECT_EQ(provider.dwUsage, RESOURCEUSAGE_CONTAINER | RESOURCEUSAGE_RESERVED);

    const NetResource& workgroup = found.at(kWorkgroupPath);
    EXPECT_EQ(workgroup.dwScope, RESOURCE_GLOBALNET);
    EXPECT_EQ(workgroup.dwDisplayType, RESOURCEDISPLAYTYPE_DOMAIN);
    EXPECT_EQ(workgroup.dwUsage, RESOURCEUSAGE_CONTAINER);
    EXPECT_EQ(workgroup.provider, SmbNetworkBrowser::kProviderName);

    for (const lab::LabHost& host : SambaLab::Hosts()) {
        const NetResource& server = found.at(ServerPath(host.name));
        EXPECT_EQ(server.dwDisplayType, RESOURCEDISPLAYTYPE_SERVER);
        EXPECT_TRUE(server.dwUsage & RESOURCEUSAGE_CONTAINER);
        EXPECT_EQ(server.comment, host.comment);
        EXPECT_EQ(server.provider, SmbNetworkBrowser::kProviderName);
    }
}

TEST_F(LabBrowseTest, TypedWorkgroupListsItsServersInBatchesThatFitTheBuffer) {
    NetResource container = TypedDomain(SambaLab::kWorkgroup);
    std::unique_ptr<ResourceEnumeration> enumeration;
    ASSERT_EQ(backend_.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &container, enumeration),
              ERROR_SUCCESS);
    std::vector<NetResource> servers;
    int batches = 0;
    EXPECT_EQ(ReadAll(*enumeration, servers, kBufferSize, &batches), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(batches, 1);
    ASSERT_EQ(servers.size(), SambaLab::Hosts().size());

    // A buffer with room for one server record at a time: one per batch,
    // then the end, which stays the end.
    std::size_t largest = 0;
    for (const NetResource& server : servers)
        largest = std::max(largest, ResourceList::BufferBytes(server));
    ASSERT_EQ(backend_.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &container, enumeration),
              ERROR_SUCCESS);
    std::vector<NetResource> again;
    batches = 0;
    EXPECT_EQ(ReadAll(*enumeration, again, static_cast<std::uint32_t>(largest), &batches), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(batches, static_cast<int>(servers.size()));
    std::uint32_t count = kAsManyAsFit;
    EXPECT_EQ(enumeration->Next(&count, again, kBufferSize), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(count, 0u);
    ASSERT_EQ(again.size(), servers.size());
    for (std::size_t i = 0; i < servers.size(); ++i)
        EXPECT_EQ(again[i].remoteName, servers[i].remoteName);
}

TEST_F(LabBrowseTest, ProviderNameOpensOnlyOnTheRetryAsProvider) {
    NetResource typed = TypedDomain("MICROSOFT WINDOWS NETWORK");
    std::unique_ptr<ResourceEnumeration> enumeration;
    EXPECT_NE(backend_.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &typed, enumeration), ERROR_SUCCESS);
    MakeProvider(typed);
    ASSERT_EQ(backend_.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &typed, enumeration), ERROR_SUCCESS);
    std::vector<NetResource> workgroups;
    EXPECT_EQ(ReadAll(*enumeration, workgroups, kBufferSize), ERROR_NO_MORE_ITEMS);
    ASSERT_EQ(workgroups.size(), 1u);
    EXPECT_EQ(workgroups[0].remoteName, SambaLab::kWorkgroup);
    EXPECT_EQ(workgroups[0].dwDisplayType, RESOURCEDISPLAYTYPE_DOMAIN);

    // A name that is neither a workgroup nor a provider fails both ways.
    NetResource unknown = TypedDomain("NOSUCHGROUP");
    EXPECT_NE(backend_.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &unknown, enumeration),
              ERROR_SUCCESS);
    MakeProvider(unknown);
    EXPECT_NE(backend_.browser().OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &unknown, enumeration),
              ERROR_SUCCESS);
}

}  // namespace
}  // namespace vn::smb
