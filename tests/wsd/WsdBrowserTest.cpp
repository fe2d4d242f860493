#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "platform/wsd/MergeComputers.h"
#include "platform/wsd/WsdBrowser.h"

namespace vn::wsd {
namespace {

using Names = std::vector<std::string>;

WsdAnswer Named(IPv4 address, const std::string& name, const std::string& group, bool domain = false) {
    WsdAnswer answer;
    answer.address = address;
    answer.endpoint = "urn:uuid:" + name;
    answer.computer = {name, group, domain};
    return answer;
}

WsdAnswer Unnamed(IPv4 address, Status status) {
    WsdAnswer answer;
    answer.address = address;
    answer.endpoint = "urn:uuid:x";
    answer.status = status;
    return answer;
}

// A browser over fixed answers that counts its discoveries.
class WsdBrowserTest : public ::testing::Test {
protected:
    WsdBrowserTest()
        : browser_([this](const WsdOptions& options, std::vector<WsdAnswer>& answers) {
              ++discoveries_;
              waits_.push_back(options.probe.wait);
              answers = answers_;
              return status_;
          }) {}

    Status Open(const NetResource* container, std::vector<NetResource>& resources) {
        resources.clear();
        std::unique_ptr<ResourceEnumeration> enumeration;
        if (Status status = browser_.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, enumeration);
            status != ERROR_SUCCESS)
            return status;
        std::uint32_t count = 0xFFFFFFFF;
        Status status = ERROR_SUCCESS;
        while ((status = enumeration->Next(&count, resources, 16384)) == ERROR_SUCCESS)
            count = 0xFFFFFFFF;
        return status == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : status;
    }

    static Names RemoteNames(const std::vector<NetResource>& resources) {
        Names names;
        for (const NetResource& r : resources)
            names.push_back(r.remoteName);
        return names;
    }

    std::vector<WsdAnswer> answers_;
    Status status_ = ERROR_SUCCESS;
    int discoveries_ = 0;
    std::vector<std::chrono::milliseconds> waits_;
    WsdBrowser browser_;
};

TEST_F(WsdBrowserTest, TheProviderHoldsTheNamedGroupsAndEachGroupItsComputersOnce) {
    answers_ = {Named(0x0A000002, "PC1", "OFFICE"),     Named(0x0A000003, "PC2", "OFFICE"),
                Named(0x0A000004, "DC1", "CORP", true), Unnamed(0x0A000005, ERROR_INTERNET_TIMEOUT),
                Named(0x0A000012, "PC1", "OFFICE"),  // the same computer on a second address
                Named(0x0A000006, "LAB1", "LAB")};

    std::vector<NetResource> top;
    ASSERT_EQ(Open(nullptr, top), ERROR_SUCCESS);
    EXPECT_EQ(RemoteNames(top), Names{"Web Services Discovery"});
    EXPECT_EQ(top[0].dwDisplayType, RESOURCEDISPLAYTYPE_NETWORK);
    EXPECT_EQ(discoveries_, 0) << "listing the provider probes nothing";

    std::vector<NetResource> groups;
    ASSERT_EQ(Open(&top[0], groups), ERROR_SUCCESS);
    EXPECT_EQ(RemoteNames(groups), (Names{"CORP", "LAB", "OFFICE"}));
    EXPECT_EQ(groups[0].comment, "Domain");
    EXPECT_EQ(groups[2].comment, "Workgroup");
    for (const NetResource& group : groups) {
        EXPECT_EQ(group.dwDisplayType, RESOURCEDISPLAYTYPE_DOMAIN);
        EXPECT_EQ(group.provider, "Web Services Discovery");
    }

    std::vector<NetResource> office;
    ASSERT_EQ(Open(&groups[2], office), ERROR_SUCCESS);
    EXPECT_EQ(RemoteNames(office), (Names{"\\\\PC1", "\\\\PC2"}));
    EXPECT_EQ(office[0].address, 0x0A000002u) << "the first address it answered from";
    EXPECT_EQ(office[1].dwDisplayType, RESOURCEDISPLAYTYPE_SERVER);
    EXPECT_EQ(discoveries_, 1) << "one discovery serves the walk down the provider";
}

TEST_F(WsdBrowserTest, GroupsAreFoundInAnyCaseAndAnUnknownOneIsNoPath) {
    answers_ = {Named(0x0A000002, "PC1", "OFFICE"), Unnamed(0x0A000005, ERROR_HTTP_INVALID_SERVER_RESPONSE)};
    std::vector<NetResource> found;
    EXPECT_EQ(browser_.Members("office", found), ERROR_SUCCESS);
    EXPECT_EQ(RemoteNames(found), Names{"\\\\PC1"});
    EXPECT_EQ(browser_.Members("ELSEWHERE", found), ERROR_BAD_NETPATH);
    EXPECT_TRUE(found.empty());

    NetResource other = WsdBrowser::ProviderResource();
    other.remoteName = other.provider = "Microsoft Windows Network";
    EXPECT_EQ(Open(&other, found), ERROR_BAD_NETPATH);
}

TEST_F(WsdBrowserTest, AFailedDiscoveryFailsTheProviderAndANewWaitProbesAgain) {
    status_ = ERROR_NO_NETWORK;
    std::vector<NetResource> groups;
    const NetResource provider = WsdBrowser::ProviderResource();
    EXPECT_EQ(Open(&provider, groups), ERROR_NO_NETWORK);

    status_ = ERROR_SUCCESS;
    answers_ = {Named(0x0A000002, "PC1", "OFFICE")};
    browser_.SetWait(std::chrono::milliseconds(350));
    std::vector<WsdAnswer> logged;
    browser_.SetAnswerLog([&](const WsdAnswer& answer) { logged.push_back(answer); });
    ASSERT_EQ(Open(&provider, groups), ERROR_SUCCESS);
    EXPECT_EQ(RemoteNames(groups), Names{"OFFICE"});
    EXPECT_EQ(waits_, (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(2000),
                                                              std::chrono::milliseconds(350)}));
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].computer.name, "PC1");
}

NetResource Server(const std::string& name, IPv4 address = 0) {
    NetResource r;
    r.dwDisplayType = RESOURCEDISPLAYTYPE_SERVER;
    r.remoteName = "\\\\" + name;
    r.address = address;
    return r;
}

TEST(MergeComputersTest, AComputerFoundBothWaysIsListedOnceWithTheAddressItAnsweredFrom) {
    NetResource share;
    share.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE;
    share.remoteName = "\\\\PC9";
    std::vector<NetResource> listed = {Server("PC1"), Server("PC2", 0x0A000009), share};
    MergeComputers(listed, {Server("pc1", 0x0A000001), Server("PC2", 0x0A000002), Server("PC3", 0x0A000003),
                            Server("PC9", 0x0A000004)});
    ASSERT_EQ(listed.size(), 5u);
    EXPECT_EQ(listed[0].remoteName, "\\\\PC1") << "the browse list's entry stays";
    EXPECT_EQ(listed[0].address, 0x0A000001u);
    EXPECT_EQ(listed[1].address, 0x0A000009u) << "an address already known is kept";
    EXPECT_EQ(listed[3].remoteName, "\\\\PC3");
    EXPECT_EQ(listed[4].remoteName, "\\\\PC9") << "a share of the same name is no computer";
}

}  // namespace
}  // namespace vn::wsd
