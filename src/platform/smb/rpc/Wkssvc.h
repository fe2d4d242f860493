#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcCallTable.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-WKST, the workstation service (pipe \wkssvc).
namespace vn::smb::wkssvc {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("6bffd098-a112-3610-9833-46c3f87e345a", 1, 0);
    return id;
}
inline constexpr const char* kPipe = "wkssvc";

// At level 100.
struct NetrWkstaGetInfo {
    std::u16string ServerName{};
    std::uint32_t Level = 100;
    static void Fields(auto& m, auto&& ndr) { ndr(Unique(m.ServerName), m.Level); }
};

struct WKSTA_INFO_100 {
    std::uint32_t wki100_platform_id = 0;
    std::u16string wki100_computername{};
    std::u16string wki100_langroup{};
    std::uint32_t wki100_ver_major = 0;
    std::uint32_t wki100_ver_minor = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.wki100_platform_id, Unique(m.wki100_computername), Unique(m.wki100_langroup), m.wki100_ver_major,
            m.wki100_ver_minor);
    }
};

struct NetrWkstaGetInfoResponse {
    bool hasInfo = false;
    WKSTA_INFO_100 WkstaInfo{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(UnionArm(100, Unique(m.WkstaInfo, m.hasInfo)), m.ErrorCode); }
};

struct WKSTA_USER_INFO_1 {
    std::u16string wkui1_username{};
    std::u16string wkui1_logon_domain{};
    std::u16string wkui1_oth_domains{};
    std::u16string wkui1_logon_server{};
    static void Fields(auto& m, auto&& ndr) {
        ndr(Unique(m.wkui1_username), Unique(m.wkui1_logon_domain), Unique(m.wkui1_oth_domains),
            Unique(m.wkui1_logon_server));
    }
};

// Buffer is null when there are no entries.
struct WKSTA_USER_INFO_1_CONTAINER {
    std::uint32_t EntriesRead = 0;
    std::vector<WKSTA_USER_INFO_1> Buffer{};
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.EntriesRead, Unique(Conformant(m.Buffer, m.EntriesRead), !m.Buffer.empty()));
    }
};

// Level, then the union it selects, whose discriminant repeats it: only level
// 1 is asked for, and an answer at another level is refused.
struct WKSTA_USER_ENUM_STRUCT {
    std::uint32_t Level = 1;
    WKSTA_USER_INFO_1_CONTAINER Level1{};
    static void Fields(auto& m, auto&& ndr) { ndr(Fixed(m.Level), Fixed(m.Level), Unique(m.Level1)); }
};

// UserInfo goes with an empty container.
struct NetrWkstaUserEnum {
    std::u16string ServerName{};
    WKSTA_USER_ENUM_STRUCT UserInfo{};
    std::uint32_t PreferredMaximumLength = 0xFFFFFFFF;
    std::uint32_t ResumeHandle = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(Unique(m.ServerName), m.UserInfo, m.PreferredMaximumLength, Unique(m.ResumeHandle));
    }
};
struct NetrWkstaUserEnumResponse {
    WKSTA_USER_ENUM_STRUCT UserInfo{};
    std::uint32_t TotalEntries = 0;
    std::uint32_t ResumeHandle = 0;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.UserInfo, m.TotalEntries, Unique(m.ResumeHandle), m.ErrorCode); }
};

using Calls = RpcCallTable<RpcOperation<0, NetrWkstaGetInfo, NetrWkstaGetInfoResponse>,
                           RpcOperation<2, NetrWkstaUserEnum, NetrWkstaUserEnumResponse>>;
Calls CallTableOf(const auto&);

}  // namespace vn::smb::wkssvc
