#pragma once

#include <cstdint>
#include <string>

#include "platform/smb/NdrTypes.h"
#include "platform/smb/RpcPdu.h"

// MS-SRVS, the server service (pipe \srvsvc): only what the probe reads.
namespace vn::smb::srvsvc {

const RpcSyntaxId& Interface();
inline constexpr const char* kPipe = "srvsvc";

struct NetrServerGetInfo {
    static constexpr std::uint16_t opnum = 21;
    std::u16string ServerName;
    std::uint32_t Level = 101;
    void Encode(NdrWriter& w) const;
};

struct SERVER_INFO_101 {
    std::uint32_t sv101_platform_id = 0;
    std::u16string sv101_name;
    std::uint32_t sv101_version_major = 0;
    std::uint32_t sv101_version_minor = 0;
    std::uint32_t sv101_type = 0;
    std::u16string sv101_comment;
};

struct NetrServerGetInfoResponse {
    bool hasInfo = false;
    SERVER_INFO_101 InfoStruct;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

}  // namespace vn::smb::srvsvc
