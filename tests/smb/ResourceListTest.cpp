#include <gtest/gtest.h>

#include "platform/smb/ResourceList.h"
#include "platform/smb/SmbConnector.h"
#include "platform/smb/SmbNetworkBrowser.h"

namespace vn::smb {
namespace {

NetResource Server(const std::string& name) {
    NetResource r;
    r.dwDisplayType = RESOURCEDISPLAYTYPE_SERVER;
    r.remoteName = "\\\\" + name;
    return r;
}

TEST(ResourceList, BatchesFitTheBufferThenNoMoreItems) {
    ResourceList list({Server("A"), Server("B"), Server("C")});
    const auto oneEntry = static_cast<std::uint32_t>(ResourceList::BufferBytes(Server("A")));
    std::vector<NetResource> got;
    std::uint32_t count = 0xFFFFFFFF;
    ASSERT_EQ(list.Next(&count, got, oneEntry * 2), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u);
    count = 0xFFFFFFFF;
    ASSERT_EQ(list.Next(&count, got, 16384), ERROR_SUCCESS);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[2].remoteName, "\\\\C");
    count = 0xFFFFFFFF;
    EXPECT_EQ(list.Next(&count, got, 16384), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(count, 0u);
}

TEST(ResourceList, EntryLargerThanTheBufferIsMoreData) {
    ResourceList list({Server(std::string(20000, 'x'))});
    std::vector<NetResource> got;
    std::uint32_t count = 0xFFFFFFFF;
    EXPECT_EQ(list.Next(&count, got, 16384), ERROR_MORE_DATA);
    EXPECT_TRUE(got.empty());
}

TEST(SmbNetworkBrowser, WholeNetworkHoldsOneProviderAndOnlyItsNameOpens) {
    SmbConnector connector(SmbCredentials{});
    SmbNetworkBrowser browser(connector);
    std::unique_ptr<ResourceEnumeration> enumeration;
    ASSERT_EQ(browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, nullptr, enumeration), ERROR_SUCCESS);
    std::vector<NetResource> got;
    std::uint32_t count = 0xFFFFFFFF;
    ASSERT_EQ(enumeration->Next(&count, got, 16384), ERROR_SUCCESS);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].dwDisplayType, RESOURCEDISPLAYTYPE_NETWORK);
    EXPECT_TRUE(got[0].dwUsage & RESOURCEUSAGE_CONTAINER);
    EXPECT_EQ(got[0].remoteName, SmbNetworkBrowser::kProviderName);

    // A name retried as a provider that is not ours fails without traffic.
    NetResource provider;
    provider.dwDisplayType = RESOURCEDISPLAYTYPE_NETWORK;
    provider.dwUsage = RESOURCEUSAGE_CONTAINER | RESOURCEUSAGE_RESERVED;
    provider.remoteName = provider.provider = "NOSUCHDOMAIN";
    EXPECT_NE(browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &provider, enumeration), ERROR_SUCCESS);
}

}  // namespace
}  // namespace vn::smb
