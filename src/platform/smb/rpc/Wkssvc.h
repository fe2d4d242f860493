#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-WKST, the workstation service (pipe \wkssvc).
namespace vn::smb::wkssvc {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("6bffd098-a112-3610-9833-46c3f87e345a", 1, 0);
    return id;
}
inline constexpr const char* kPipe = "wkssvc";

// NetrWkstaGetInfo (opnum 0), at level 100.
struct NetrWkstaGetInfo {
    static constexpr std::uint16_t opnum = 0;
    std::u16string ServerName;
    std::uint32_t Level = 100;
    static void Fields(auto& m, auto&& ndr) { ndr(Unique(m.ServerName), m.Level); }
};

struct WKSTA_INFO_100 {
    std::uint32_t wki100_platform_id = 0;
    std::u16string wki100_computername;
    std::u16string wki100_langroup;
    std::uint32_t wki100_ver_major = 0;
    std::uint32_t wki100_ver_minor = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.wki100_platform_id, Unique(m.wki100_computername), Unique(m.wki100_langroup), m.wki100_ver_major,
            m.wki100_ver_minor);
    }
};

struct NetrWkstaGetInfoResponse {
    bool hasInfo = false;
    WKSTA_INFO_100 WkstaInfo;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(UnionArm(100, Unique(m.WkstaInfo, m.hasInfo)), m.ErrorCode); }
};

// NetrWkstaUserEnum (opnum 2), at level 1. UserInfo, a WKSTA_USER_ENUM_STRUCT:
// Level, the union's discriminant and a pointer to the level-1 container,
// which the request sends empty (EntriesRead 0, Buffer null).
struct NetrWkstaUserEnum {
    static constexpr std::uint16_t opnum = 2;
    std::u16string ServerName;
    std::uint32_t PreferredMaximumLength = 0xFFFFFFFF;
    std::uint32_t ResumeHandle = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(Unique(m.ServerName), Struct(1u, 1u, Unique(Struct(0u, Null()))), m.PreferredMaximumLength,
            Unique(m.ResumeHandle));
    }
};

struct WKSTA_USER_INFO_1 {
    std::u16string wkui1_username;
    std::u16string wkui1_logon_domain;
    std::u16string wkui1_oth_domains;
    std::u16string wkui1_logon_server;
    static void Fields(auto& m, auto&& ndr) {
        ndr(Unique(m.wkui1_username), Unique(m.wkui1_logon_domain), Unique(m.wkui1_oth_domains),
            Unique(m.wkui1_logon_server));
    }
};

struct NetrWkstaUserEnumResponse {
    std::uint32_t EntriesRead = 0;
    std::vector<WKSTA_USER_INFO_1> Buffer;
    std::uint32_t TotalEntries = 0;
    std::uint32_t ResumeHandle = 0;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) {
        const auto level1 = Unique(Struct(m.EntriesRead, Unique(Conformant(m.Buffer, m.EntriesRead))));
        ndr(Struct(Fixed(1u), Fixed(1u), level1), m.TotalEntries, Unique(m.ResumeHandle), m.ErrorCode);
    }
};

}  // namespace vn::smb::wkssvc
