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
        {"OpenLocalMachine", Encoded(OpenLocalMachine{0x02000000}), "00000000 00000002"},
        {"OpenUsers", Encoded(OpenUsers{0x02000000}), "00000000 00000002"},
        {"BaseRegCloseKey", Encoded(BaseRegCloseKey{Handle(0x10)}), HANDLE_10},
        {"BaseRegCreateKey", Encoded(BaseRegCreateKey{Handle(0x10), u"A\\B", u"", 0, 0x20019}),
         HANDLE_10
         " 0800 0800 00000200 04000000 00000000 04000000 4100 5c00 4200 0000"
         " 0200 0200 04000200 01000000 00000000 01000000 0000 0000 00000000 19000200 00000000 08000200 00000000"},
        {"BaseRegEnumKey", Encoded(BaseRegEnumKey{Handle(0x10), 3}),
         HANDLE_10 " 03000000 0000 0002 00000200 00010000 00000000 00000000"
                   " 04000200 0000 0200 08000200 01000000 00000000 00000000 00000000"},
        {"BaseRegOpenKey", Encoded(BaseRegOpenKey{Handle(0x10), u"Soft", 0, 0x20019}),
         HANDLE_10 " 0a00 0a00 00000200 05000000 00000000 05000000 5300 6f00 6600 7400 0000 0000 00000000 19000200"},
        {"BaseRegQueryValue", Encoded(BaseRegQueryValue{Handle(0x10), u"V", true, 16}),
         HANDLE_10 " 0400 0400 00000200 02000000 00000000 02000000 5600 0000 04000200 00000000"
                   " 08000200 10000000 00000000 00000000 0c000200 10000000 10000200 00000000"},
        {"BaseRegQueryValue size only", Encoded(BaseRegQueryValue{Handle(0x10), u"V", false, 0}),
         HANDLE_10 " 0400 0400 00000200 02000000 00000000 02000000 5600 0000 04000200 00000000"
                   " 00000000 08000200 00000000 0c000200 00000000"},
        {"BaseRegSetValue", Encoded(BaseRegSetValue{Handle(0x10), u"V", REG_DWORD, {1, 2, 3, 4}}),
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
        {"NetrWkstaUserEnum", Encoded(NetrWkstaUserEnum{u"\\\\LAB1", 0xFFFFFFFF, 7}),
         "00000200 07000000 00000000 07000000 5c005c004c0041004200310000000000"
         " 01000000 01000000 04000200 00000000 00000000 ffffffff 08000200 07000000"},
    });
}

TEST(RpcWire, Lsarpc) {
    using namespace lsarpc;
    ExpectBytes({
        {"LsarClose", Encoded(LsarClose{Handle(0x10)}), HANDLE_10},
        {"LsarOpenPolicy2", Encoded(LsarOpenPolicy2{u"", POLICY_LOOKUP_NAMES}),
         "00000200 01000000 00000000 01000000 0000 0000"
         " 18000000 00000000 00000000 00000000 00000000 00000000 00080000"},
        {"LsarLookupNames", Encoded(LsarLookupNames{Handle(0x10), {u"ab", u"c"}, LsapLookupWksta}),
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
        {"ROpenSCManagerW", Encoded(ROpenSCManagerW{u"\\\\LAB1", 0x0001}),
         "00000200 07000000 00000000 07000000 5c005c004c0041004200310000000000 00000000 01000000"},
        {"ROpenServiceW", Encoded(ROpenServiceW{Handle(0x10), u"Spool", 0x0014}),
         HANDLE_10 " 06000000 00000000 06000000 5300 7000 6f00 6f00 6c00 0000 14000000"},
        {"RStartServiceW", Encoded(RStartServiceW{Handle(0x10)}), HANDLE_10 " 00000000 00000000"},
    });
}

TEST(RpcWire, WinregAnswers) {
    using namespace winreg;
    const auto hive = Decoded<OpenHiveResponse>(HANDLE_10 "05000000");
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

    const auto denied = Decoded<srvsvc::NetrServerGetInfoResponse>("65000000 00000000 05000000");
    EXPECT_FALSE(denied.hasInfo);
    EXPECT_EQ(denied.ErrorCode, 5u);
}

TEST(RpcWire, LsarpcAndSvcctlAnswers) {
    const auto policy = Decoded<lsarpc::LsarOpenPolicy2Response>(HANDLE_10 "220000c0");
    EXPECT_EQ(policy.PolicyHandle.bytes, Handle(0x10).bytes);
    EXPECT_EQ(policy.Status, 0xC0000022u);
    EXPECT_TRUE(
        Decoded<lsarpc::LsarCloseResponse>("0000000000000000000000000000000000000000 00000000").ObjectHandle.IsNull());

    const auto status = Decoded<svcctl::ServiceStatusResponse>(
        "10000000 04000000 05000000 00000000 00000000 00000000 00000000 00000000");
    EXPECT_EQ(status.lpServiceStatus.serviceType, 0x10u);
    EXPECT_EQ(status.lpServiceStatus.currentState, 4u);
    EXPECT_EQ(status.lpServiceStatus.controlsAccepted, 5u);
    const auto opened = Decoded<svcctl::OpenHandleResponse>(HANDLE_10 "00000000");
    EXPECT_EQ(opened.handle.bytes, Handle(0x10).bytes);
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
