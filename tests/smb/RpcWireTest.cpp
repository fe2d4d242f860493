// The bytes each call puts on the wire and the answers it reads, pinned byte
// for byte: requests against the layouts of their IDL, responses from stubs
// built by hand the way a server marshals them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/smb/rpc/Lsarpc.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Srvsvc.h"
#include "platform/smb/rpc/Svcctl.h"
#include "platform/smb/rpc/Winreg.h"
#include "platform/smb/rpc/Wkssvc.h"

namespace vn::smb {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Hex(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", b);
        text += pair;
    }
    return text;
}

// Hex digits; spaces only group them for the reader.
Bytes FromHex(std::string_view text) {
    Bytes bytes;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string Encoded(const auto& message) {
    NdrWriter w;
    w.Write(message);
    return Hex(w.data());
}

// Decodes an answer; the same declaration, written, gives the bytes back
// unless the server chose lengths of its own (roundTrips false).
template <class Response>
Response Decoded(std::string_view hex, bool roundTrips = true) {
    Response response;
    EXPECT_EQ(DecodeStub(FromHex(hex), response), ERROR_SUCCESS) << hex;
    if (roundTrips) {
        EXPECT_EQ(Encoded(response), Hex(FromHex(hex)));
    }
    return response;
}

struct RequestCase {
    const char* call;
    std::string encoded;
    const char* expected;
};

void ExpectBytes(const std::vector<RequestCase>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(c.encoded, Hex(FromHex(c.expected))) << c.call;
}

ContextHandle Handle(std::uint8_t first) {
    ContextHandle handle;
    for (std::size_t i = 0; i < handle.bytes.size(); ++i)
        handle.bytes[i] = static_cast<std::uint8_t>(first + i);
    return handle;
}

// Handle(0x10) as it appears on the wire.
#define HANDLE_10 "101112131415161718191a1b1c1d1e1f20212223"

TEST(RpcWire, Winreg) {
    using namespace winreg;
    ExpectBytes({
        {"OpenLocalMachine", Encoded(OpenLocalMachine{.samDesired = MAXIMUM_ALLOWED}), "00000000 00000002"},
        {"OpenUsers", Encoded(OpenUsers{.samDesired = MAXIMUM_ALLOWED}), "00000000 00000002"},
        {"BaseRegCloseKey", Encoded(BaseRegCloseKey{Handle(0x10)}), HANDLE_10},
        {"BaseRegCreateKey",
         Encoded(BaseRegCreateKey{.hKey = Handle(0x10), .lpSubKey = u"A\\B", .samDesired = KEY_READ}),
         HANDLE_10
         " 0800 0800 00000200 04000000 00000000 04000000 4100 5c00 4200 0000"
         " 0200 0200 04000200 01000000 00000000 01000000 0000 0000 00000000 19000200 00000000 08000200 00000000"},
        {"BaseRegEnumKey", Encoded(BaseRegEnumKey{.hKey = Handle(0x10), .dwIndex = 3}),
         HANDLE_10 " 03000000 0000 0002 00000200 00010000 00000000 00000000"
                   " 04000200 0000 0200 08000200 01000000 00000000 00000000 00000000"},
        {"BaseRegOpenKey", Encoded(BaseRegOpenKey{.hKey = Handle(0x10), .lpSubKey = u"Soft", .samDesired = KEY_READ}),
         HANDLE_10 " 0a00 0a00 00000200 05000000 00000000 05000000 5300 6f00 6600 7400 0000 0000 00000000 19000200"},
        {"BaseRegQueryValue", Encoded(BaseRegQueryValue{.hKey = Handle(0x10), .lpValueName = u"V", .lpcbData = 16}),
         HANDLE_10 " 0400 0400 00000200 02000000 00000000 02000000 5600 0000 04000200 00000000"
                   " 08000200 10000000 00000000 00000000 0c000200 10000000 10000200 00000000"},
        {"BaseRegQueryValue size only", Encoded(BaseRegQueryValue{.hKey = Handle(0x10), .lpValueName = u"V"}),
         HANDLE_10 " 0400 0400 00000200 02000000 00000000 02000000 5600 0000 04000200 00000000"
                   " 00000000 08000200 00000000 0c000200 00000000"},
        {"BaseRegSetValue",
         Encoded(
             BaseRegSetValue{.hKey = Handle(0x10), .lpValueName = u"V", .dwType = REG_DWORD, .lpData = {1, 2, 3, 4}}),
         HANDLE_10 " 0400 0400 00000200 02000000 00000000 02000000 5600 0000 04000000 04000000 01020304 04000000"},
    });
}

TEST(RpcWire, Srvsvc) {
    ExpectBytes({
        {"NetrServerGetInfo", Encoded(srvsvc::NetrServerGetInfo{u"\\\\LAB1", 101}),
         "00000200 07000000 00000000 07000000 5c005c004c0041004200310000000000 65000000"},
    });
}

TEST(RpcWire, Wkssvc) {
    using namespace wkssvc;
    ExpectBytes({
        {"NetrWkstaGetInfo", Encoded(NetrWkstaGetInfo{u"\\\\LAB1", 100}),
         "00000200 07000000 00000000 07000000 5c005c004c0041004200310000000000 64000000"},
        {"NetrWkstaUserEnum", Encoded(NetrWkstaUserEnum{.ServerName = u"\\\\LAB1", .ResumeHandle = 7}),
         "00000200 07000000 00000000 07000000 5c005c004c0041004200310000000000"
         " 01000000 01000000 04000200 00000000 00000000 ffffffff 08000200 07000000"},
    });
}

TEST(RpcWire, Lsarpc) {
    using namespace lsarpc;
    ExpectBytes({
        {"LsarClose", Encoded(LsarClose{Handle(0x10)}), HANDLE_10},
        {"LsarOpenPolicy2", Encoded(LsarOpenPolicy2{.DesiredAccess = POLICY_LOOKUP_NAMES}),
         "00000200 01000000 00000000 01000000 0000 0000"
         " 18000000 00000000 00000000 00000000 00000000 00000000 00080000"},
        {"LsarLookupNames", Encoded(LsarLookupNames{.PolicyHandle = Handle(0x10), .Names = {u"ab", u"c"}}),
         HANDLE_10 " 02000000 02000000 0400 0400 00000200 0200 0200 04000200"
                   " 02000000 00000000 02000000 6100 6200 01000000 00000000 01000000 6300 0000"
                   " 00000000 00000000 0100 0000 00000000"},
    });
}

TEST(RpcWire, Svcctl) {
    using namespace svcctl;
    ExpectBytes({
        {"RCloseServiceHandle", Encoded(RCloseServiceHandle{Handle(0x10)}), HANDLE_10},
        {"RControlService", Encoded(RControlService{Handle(0x10), 1}), HANDLE_10 " 01000000"},
        {"RQueryServiceStatus", Encoded(RQueryServiceStatus{Handle(0x10)}), HANDLE_10},
        {"ROpenSCManagerW", Encoded(ROpenSCManagerW{.lpMachineName = u"\\\\LAB1", .dwDesiredAccess = 0x0001}),
         "00000200 07000000 00000000 07000000 5c005c004c0041004200310000000000 00000000 01000000"},
        {"ROpenServiceW", Encoded(ROpenServiceW{Handle(0x10), u"Spool", 0x0014}),
         HANDLE_10 " 06000000 00000000 06000000 5300 7000 6f00 6f00 6c00 0000 14000000"},
        {"RStartServiceW", Encoded(RStartServiceW{Handle(0x10)}), HANDLE_10 " 00000000 00000000"},
    });
}

TEST(RpcWire, WinregAnswers) {
    using namespace winreg;
    const auto hive = Decoded<OpenLocalMachineResponse>(HANDLE_10 "05000000");
    EXPECT_EQ(hive.phKey.bytes, Handle(0x10).bytes);
    EXPECT_EQ(hive.ErrorCode, 5u);

    const auto created = Decoded<BaseRegCreateKeyResponse>(HANDLE_10 "00000200 02000000 00000000");
    EXPECT_EQ(created.phkResult.bytes, Handle(0x10).bytes);
    EXPECT_EQ(created.lpdwDisposition, 2u);

    const auto key = Decoded<BaseRegEnumKeyResponse>(
        "0a00 0002 00000200 00010000 00000000 05000000 5300 6f00 6600 7400 0000 0000"
        "04000200 0000 0200 08000200 01000000 00000000 00000000 0c000200 11111111 22222222 03010000",
        false);
    EXPECT_EQ(key.lpNameOut, u"Soft");
    EXPECT_EQ(key.lpftLastWriteTime.dwHighDateTime, 0x22222222u);
    EXPECT_EQ(key.ErrorCode, 259u);

    EXPECT_EQ(Decoded<BaseRegSetValueResponse>("05000000").ErrorCode, 5u);

    // The server offered room for 8 bytes and filled 3.
    const auto value = Decoded<BaseRegQueryValueResponse>(
        "00000200 03000000 04000200 08000000 00000000 03000000 070809 00"
        " 08000200 03000000 0c000200 03000000 00000000",
        false);
    EXPECT_EQ(value.lpType, REG_BINARY);
    EXPECT_EQ(value.lpData, (Bytes{7, 8, 9}));
    EXPECT_EQ(value.lpcbData, 3u);

    // A buffer too short: no data, the size needed and ERROR_MORE_DATA (234).
    const auto more = Decoded<BaseRegQueryValueResponse>(
        "00000200 01000000 00000000 04000200 e82e0000 08000200 00000000 ea000000", false);
    EXPECT_EQ(more.ErrorCode, ERROR_MORE_DATA);
    EXPECT_EQ(more.lpcbData, 12008u);
    EXPECT_TRUE(more.lpData.empty());
}

TEST(RpcWire, WkssvcAnswers) {
    const auto info = Decoded<wkssvc::NetrWkstaGetInfoResponse>(
        "64000000 00000200 f4010000 04000200 08000200 0a000000 00000000"
        "05000000 00000000 05000000 4c00 4100 4200 3100 0000 0000 04000000 00000000 04000000 4c00 4100 4200 0000"
        "00000000");
    ASSERT_TRUE(info.hasInfo);
    EXPECT_EQ(info.WkstaInfo.wki100_platform_id, 500u);
    EXPECT_EQ(info.WkstaInfo.wki100_computername, u"LAB1");
    EXPECT_EQ(info.WkstaInfo.wki100_langroup, u"LAB");
    EXPECT_EQ(info.WkstaInfo.wki100_ver_major, 10u);

    // Level 101 with its name "LAB1" and comment "Lab host one".
    const char* const serverInfo =
        "65000000 00000200 f4010000 04000200 06000000 01000000 03900000 08000200"
        " 05000000 00000000 05000000 4c00 4100 4200 3100 0000 0000"
        " 0d000000 00000000 0d000000 4c00 6100 6200 2000 6800 6f00 7300 7400 2000 6f00 6e00 6500 0000 0000"
        " 00000000";
    const auto server = Decoded<srvsvc::NetrServerGetInfoResponse>(serverInfo);
    ASSERT_TRUE(server.hasInfo);
    EXPECT_EQ(server.InfoStruct.sv101_platform_id, 500u);
    EXPECT_EQ(server.InfoStruct.sv101_name, u"LAB1");
    EXPECT_EQ(server.InfoStruct.sv101_version_major, 6u);
    EXPECT_EQ(server.InfoStruct.sv101_comment, u"Lab host one");
    EXPECT_EQ(server.ErrorCode, 0u);
    // Every shorter stub is refused, never read past its end.
    const Bytes serverStub = FromHex(serverInfo);
    for (std::size_t size = 0; size < serverStub.size(); ++size) {
        srvsvc::NetrServerGetInfoResponse cut;
        EXPECT_EQ(DecodeStub(std::span(serverStub).first(size), cut), RPC_X_BAD_STUB_DATA) << size;
    }

    const auto denied = Decoded<srvsvc::NetrServerGetInfoResponse>("65000000 00000000 05000000");
    EXPECT_FALSE(denied.hasInfo);
    EXPECT_EQ(denied.ErrorCode, 5u);

    // Two users (alice and bob, each of LAB at LAB1) of five, and where to go on.
    const auto users = Decoded<wkssvc::NetrWkstaUserEnumResponse>(
        "01000000 01000000 00000200 02000000 04000200 02000000"
        " 08000200 0c000200 10000200 14000200 18000200 1c000200 20000200 24000200"
        " 06000000 00000000 06000000 6100 6c00 6900 6300 6500 0000"
        " 04000000 00000000 04000000 4c00 4100 4200 0000 01000000 00000000 01000000 0000 0000"
        " 05000000 00000000 05000000 4c00 4100 4200 3100 0000 0000"
        " 04000000 00000000 04000000 6200 6f00 6200 0000"
        " 04000000 00000000 04000000 4c00 4100 4200 0000 01000000 00000000 01000000 0000 0000"
        " 05000000 00000000 05000000 4c00 4100 4200 3100 0000 0000"
        " 05000000 28000200 02000000 ea000000");
    const auto& buffer = users.UserInfo.Level1.Buffer;
    ASSERT_EQ(buffer.size(), 2u);
    EXPECT_EQ(buffer[0].wkui1_username, u"alice");
    EXPECT_EQ(buffer[1].wkui1_username, u"bob");
    EXPECT_EQ(buffer[1].wkui1_logon_server, u"LAB1");
    EXPECT_EQ(users.TotalEntries, 5u);
    EXPECT_EQ(users.ResumeHandle, 2u);
    EXPECT_EQ(users.ErrorCode, ERROR_MORE_DATA);

    // 0x10000000 users of four pointers each: far more than the stub holds,
    // refused before anything is allocated.
    wkssvc::NetrWkstaUserEnumResponse huge;
    EXPECT_EQ(DecodeStub(FromHex("01000000 01000000 00000200 00000010 04000200 00000010 08000200 00000000"), huge),
              RPC_X_BAD_STUB_DATA);
    EXPECT_TRUE(huge.UserInfo.Level1.Buffer.empty());
}

TEST(RpcWire, LsarpcAndSvcctlAnswers) {
    const auto policy = Decoded<lsarpc::LsarOpenPolicy2Response>(HANDLE_10 "220000c0");
    EXPECT_EQ(policy.PolicyHandle.bytes, Handle(0x10).bytes);
    EXPECT_EQ(policy.Status, 0xC0000022u);
    // LAB (S-1-5-21-1-2-3) and the name found in it as relative id 1000.
    const auto lookup = Decoded<lsarpc::LsarLookupNamesResponse>(
        "00000200 01000000 04000200 20000000 01000000 0600 0600 08000200 0c000200"
        " 03000000 00000000 03000000 4c00 4100 4200 0000"
        " 04000000 01 04 000000000005 15000000 01000000 02000000 03000000"
        " 01000000 10000200 01000000 0100 0000 e8030000 00000000"
        " 01000000 00000000");
    const auto& domains = lookup.ReferencedDomains.Domains;
    ASSERT_EQ(domains.size(), 1u);
    EXPECT_EQ(domains[0].Name, u"LAB");
    EXPECT_EQ(ConvertSidToStringSid(domains[0].DomainSid), "S-1-5-21-1-2-3");
    const auto& sids = lookup.TranslatedSids.Sids;
    ASSERT_EQ(sids.size(), 1u);
    EXPECT_EQ(sids[0].RelativeId, 1000u);
    EXPECT_EQ(sids[0].DomainIndex, 0);

    EXPECT_TRUE(
        Decoded<lsarpc::LsarCloseResponse>("0000000000000000000000000000000000000000 00000000").ObjectHandle.IsNull());

    const auto status = Decoded<svcctl::RQueryServiceStatusResponse>(
        "10000000 04000000 05000000 00000000 00000000 00000000 00000000 00000000");
    EXPECT_EQ(status.lpServiceStatus.serviceType, 0x10u);
    EXPECT_EQ(status.lpServiceStatus.currentState, 4u);
    EXPECT_EQ(status.lpServiceStatus.controlsAccepted, 5u);
    const auto opened = Decoded<svcctl::ROpenServiceWResponse>(HANDLE_10 "00000000");
    EXPECT_EQ(opened.lpServiceHandle.bytes, Handle(0x10).bytes);
    EXPECT_EQ(Decoded<svcctl::RStartServiceWResponse>("20040000").ErrorCode, 1056u);
}

// Each answer breaks one rule its reader enforces.
TEST(RpcWire, MalformedAnswersAreRefused) {
    struct Case {
        const char* what;
        Status (*decode)(std::span<const std::uint8_t>);
        const char* stub;
    };
    const auto as = []<class Response>(Response*) {
        return +[](std::span<const std::uint8_t> stub) {
            Response response;
            return DecodeStub(stub, response);
        };
    };
    const auto serverInfo = as(static_cast<srvsvc::NetrServerGetInfoResponse*>(nullptr));
    const auto userEnum = as(static_cast<wkssvc::NetrWkstaUserEnumResponse*>(nullptr));
    const auto lookup = as(static_cast<lsarpc::LsarLookupNamesResponse*>(nullptr));
    const auto enumKey = as(static_cast<winreg::BaseRegEnumKeyResponse*>(nullptr));
    const Case cases[] = {
        {"server info at another level", serverInfo,
         "66000000 00000200 00000000 00000000 00000000 00000000 00000000 "
         "00000000 00000000"},
        {"user enum at level 0", userEnum, "00000000 00000000 00000000 00000000 00000000 00000000"},
        {"user enum switch differs", userEnum, "01000000 00000000 00000000 00000000 00000000 00000000"},
        {"user count differs from EntriesRead", userEnum,
         "01000000 01000000 00000200 01000000 04000200 00000000 "
         "00000000 00000000 00000000"},
        {"domain count differs from Entries", lookup,
         "00000200 02000000 04000200 20000000 01000000 "
         "0000 0000 00000000 00000000 "
         "00000000 00000000 00000000 00000000"},
        {"translated count differs from Entries", lookup,
         "00000000 02000000 00000200 01000000 "
         "0100 0000 e8030000 00000000 01000000 00000000"},
        {"name longer than its maximum", enumKey, "0400 0200 00000000 00000000 00000000 00000000"},
        {"name of an odd length", enumKey, "0300 0400 00000000 00000000 00000000 00000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.decode(FromHex(c.stub)), RPC_X_BAD_STUB_DATA) << c.what;
}

}  // namespace
}  // namespace vn::smb
