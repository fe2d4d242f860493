#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "platform/smb/rpc/Lsarpc.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Srvsvc.h"
#include "platform/smb/rpc/Winreg.h"
#include "platform/smb/rpc/Wkssvc.h"

namespace vn::smb {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutString(NdrWriter& w, std::u16string_view text) {
    w.Pointer(true);
    w.Defer([copy = std::u16string(text)](NdrWriter& out) { out.WideString(copy); });
}

TEST(InterfaceDecode, ServerInfo101WithItsStrings) {
    NdrWriter w;
    w.U32(101);
    w.Pointer(true);
    w.U32(500);
    PutString(w, u"LAB1");
    w.U32(6);
    w.U32(1);
    w.U32(0x9003);
    PutString(w, u"Lab host one");
    w.FlushDeferred();
    w.U32(0);

    srvsvc::NetrServerGetInfoResponse response;
    ASSERT_EQ(DecodeStub(w.data(), response), ERROR_SUCCESS);
    ASSERT_TRUE(response.hasInfo);
    EXPECT_EQ(response.InfoStruct.sv101_platform_id, 500u);
    EXPECT_EQ(response.InfoStruct.sv101_name, u"LAB1");
    EXPECT_EQ(response.InfoStruct.sv101_version_major, 6u);
    EXPECT_EQ(response.InfoStruct.sv101_comment, u"Lab host one");
    EXPECT_EQ(response.ErrorCode, 0u);

    // Every shorter stub is refused, never read past its end.
    for (std::size_t size = 0; size < w.data().size(); ++size) {
        srvsvc::NetrServerGetInfoResponse cut;
        EXPECT_EQ(DecodeStub(std::span(w.data()).first(size), cut), RPC_X_BAD_STUB_DATA) << size;
    }
}

TEST(InterfaceDecode, QueryValueAnswerWithDataAndTheMoreDataAnswer) {
    NdrWriter w;
    w.Pointer(true);
    w.U32(REG_BINARY);
    w.Pointer(true);
    w.U32(8);
    w.U32(0);
    w.U32(3);
    const std::uint8_t data[3] = {7, 8, 9};
    w.Bytes(data, 3);
    w.Pointer(true);
    w.U32(3);
    w.Pointer(true);
    w.U32(3);
    w.U32(0);
    winreg::BaseRegQueryValueResponse response;
    ASSERT_EQ(DecodeStub(w.data(), response), ERROR_SUCCESS);
    EXPECT_EQ(response.lpType, REG_BINARY);
    EXPECT_EQ(response.lpData, (Bytes{7, 8, 9}));
    EXPECT_EQ(response.lpcbData, 3u);

    NdrWriter more;  // short buffer: no data, the size needed, 234
    more.Pointer(true);
    more.U32(REG_SZ);
    more.Pointer(false);
    more.Pointer(true);
    more.U32(12008);
    more.Pointer(true);
    more.U32(0);
    more.U32(ERROR_MORE_DATA);
    winreg::BaseRegQueryValueResponse moreResponse;
    ASSERT_EQ(DecodeStub(more.data(), moreResponse), ERROR_SUCCESS);
    EXPECT_EQ(moreResponse.ErrorCode, ERROR_MORE_DATA);
    EXPECT_EQ(moreResponse.lpcbData, 12008u);
    EXPECT_TRUE(moreResponse.lpData.empty());
}

TEST(InterfaceDecode, LookupNamesGivesDomainSidAndRid) {
    NdrWriter w;
    w.Pointer(true);  // ReferencedDomains
    w.U32(1);
    w.Pointer(true);
    w.U32(32);
    w.U32(1);  // conformance
    WriteUnicodeString(w, u"LAB", false);
    w.Pointer(true);
    w.Defer([](NdrWriter& out) {
        out.U32(4);
        out.U8(1);
        out.U8(4);
        const std::uint8_t authority[6] = {0, 0, 0, 0, 0, 5};
        out.Bytes(authority, 6);
        for (std::uint32_t sub : {21u, 1u, 2u, 3u})
            out.U32(sub);
    });
    w.FlushDeferred();
    w.U32(1);  // TranslatedSids
    w.Pointer(true);
    w.U32(1);
    w.U16(1);
    w.U32(1000);
    w.U32(0);
    w.U32(1);  // MappedCount
    w.U32(0);

    lsarpc::LsarLookupNamesResponse response;
    ASSERT_EQ(DecodeStub(w.data(), response), ERROR_SUCCESS);
    const auto& domains = response.ReferencedDomains.Domains;
    ASSERT_EQ(domains.size(), 1u);
    EXPECT_EQ(domains[0].Name, u"LAB");
    EXPECT_EQ(ConvertSidToStringSid(domains[0].DomainSid), "S-1-5-21-1-2-3");
    const auto& sids = response.TranslatedSids.Sids;
    ASSERT_EQ(sids.size(), 1u);
    EXPECT_EQ(sids[0].RelativeId, 1000u);
    EXPECT_EQ(sids[0].DomainIndex, 0);
}

TEST(InterfaceDecode, UserEnumWithAHugeClaimedCountIsRefused) {
    NdrWriter w;
    w.U32(1);
    w.U32(1);
    w.Pointer(true);
    w.U32(0x10000000);
    w.Pointer(true);
    w.U32(0x10000000);  // four pointers each: far more than the stub holds
    w.Pointer(true);
    w.U32(0);
    wkssvc::NetrWkstaUserEnumResponse response;
    EXPECT_EQ(DecodeStub(w.data(), response), RPC_X_BAD_STUB_DATA);
    EXPECT_TRUE(response.Buffer.empty());
}

TEST(InterfaceDecode, UserEnumBatchWithResumeHandle) {
    NdrWriter w;
    w.U32(1);
    w.U32(1);
    w.Pointer(true);
    w.U32(2);
    w.Pointer(true);
    w.U32(2);
    for (const auto* name : {u"alice", u"bob"}) {
        PutString(w, name);
        PutString(w, u"LAB");
        PutString(w, u"");
        PutString(w, u"LAB1");
    }
    w.FlushDeferred();
    w.U32(5);
    w.Pointer(true);
    w.U32(2);
    w.U32(ERROR_MORE_DATA);
    wkssvc::NetrWkstaUserEnumResponse response;
    ASSERT_EQ(DecodeStub(w.data(), response), ERROR_SUCCESS);
    ASSERT_EQ(response.Buffer.size(), 2u);
    EXPECT_EQ(response.Buffer[0].wkui1_username, u"alice");
    EXPECT_EQ(response.Buffer[1].wkui1_username, u"bob");
    EXPECT_EQ(response.Buffer[1].wkui1_logon_server, u"LAB1");
    EXPECT_EQ(response.TotalEntries, 5u);
    EXPECT_EQ(response.ResumeHandle, 2u);
    EXPECT_EQ(response.ErrorCode, ERROR_MORE_DATA);
}

}  // namespace
}  // namespace vn::smb
