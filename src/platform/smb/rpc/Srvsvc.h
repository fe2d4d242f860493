#pragma once

#include <cstdint>
#include <string>

#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcCallTable.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-SRVS, the server service (pipe \srvsvc): only what the probe reads.
namespace vn::smb::srvsvc {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("4b324fc8-1670-01d3-1278-5a47bf6ee188", 3, 0);
    return id;
}
inline constexpr const char* kPipe = "srvsvc";

// At level 101.
struct NetrServerGetInfo {
    std::u16string ServerName{};
    std::uint32_t Level = 101;
    static void Fields(auto& m, auto&& ndr) { ndr(Unique(m.ServerName), m.Level); }
};

struct SERVER_INFO_101 {
    std::uint32_t sv101_platform_id = 0;
    std::u16string sv101_name{};
    std::uint32_t sv101_version_major = 0;
    std::uint32_t sv101_version_minor = 0;
    std::uint32_t sv101_type = 0;
    std::u16string sv101_comment{};
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.sv101_platform_id, Unique(m.sv101_name), m.sv101_version_major, m.sv101_version_minor, m.sv101_type,
            Unique(m.sv101_comment));
    }
};

struct NetrServerGetInfoResponse {
    bool hasInfo = false;
    SERVER_INFO_101 InfoStruct{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(UnionArm(101, Unique(m.InfoStruct, m.hasInfo)), m.ErrorCode); }
};

using Calls = RpcCallTable<RpcOperation<21, NetrServerGetInfo, NetrServerGetInfoResponse>>;
Calls CallTableOf(const auto&);

}  // namespace vn::smb::srvsvc
