#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/smb/NdrTypes.h"
#include "platform/smb/RpcPdu.h"

// MS-WKST, the workstation service (pipe \wkssvc).
namespace vn::smb::wkssvc {

const RpcSyntaxId& Interface();
inline constexpr const char* kPipe = "wkssvc";

struct NetrWkstaGetInfo {
    static constexpr std::uint16_t opnum = 0;
    std::u16string ServerName;
    std::uint32_t Level = 100;
    void Encode(NdrWriter& w) const;
};

struct WKSTA_INFO_100 {
    std::uint32_t wki100_platform_id = 0;
    std::u16string wki100_computername;
    std::u16string wki100_langroup;
    std::uint32_t wki100_ver_major = 0;
    std::uint32_t wki100_ver_minor = 0;
};

struct NetrWkstaGetInfoResponse {
    bool hasInfo = false;
    WKSTA_INFO_100 WkstaInfo;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct NetrWkstaUserEnum {
    static constexpr std::uint16_t opnum = 2;
    std::u16string ServerName;
    std::uint32_t PreferredMaximumLength = 0xFFFFFFFF;
    std::uint32_t ResumeHandle = 0;
    void Encode(NdrWriter& w) const;
};

struct WKSTA_USER_INFO_1 {
    std::u16string wkui1_username;
    std::u16string wkui1_logon_domain;
    std::u16string wkui1_oth_domains;
    std::u16string wkui1_logon_server;
};

struct NetrWkstaUserEnumResponse {
    std::vector<WKSTA_USER_INFO_1> Buffer;
    std::uint32_t TotalEntries = 0;
    std::uint32_t ResumeHandle = 0;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

}  // namespace vn::smb::wkssvc
