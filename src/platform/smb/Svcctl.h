#pragma once

#include <cstdint>
#include <string>

#include "platform/ServiceControl.h"
#include "platform/smb/NdrTypes.h"
#include "platform/smb/RpcPdu.h"

// MS-SCMR, the service control manager (pipe \svcctl).
namespace vn::smb::svcctl {

const RpcSyntaxId& Interface();
inline constexpr const char* kPipe = "svcctl";

void DecodeServiceStatus(NdrReader& r, ServiceStatus& status);

struct RCloseServiceHandle {
    static constexpr std::uint16_t opnum = 0;
    ContextHandle hSCObject;
    void Encode(NdrWriter& w) const;
};
struct RCloseServiceHandleResponse {
    ContextHandle hSCObject;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct RControlService {
    static constexpr std::uint16_t opnum = 1;
    ContextHandle hService;
    std::uint32_t dwControl = 0;
    void Encode(NdrWriter& w) const;
};
// RControlService and RQueryServiceStatus answer the same way.
struct ServiceStatusResponse {
    ServiceStatus lpServiceStatus;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct RQueryServiceStatus {
    static constexpr std::uint16_t opnum = 6;
    ContextHandle hService;
    void Encode(NdrWriter& w) const;
};

struct ROpenSCManagerW {
    static constexpr std::uint16_t opnum = 15;
    std::u16string lpMachineName;
    std::uint32_t dwDesiredAccess = 0;
    void Encode(NdrWriter& w) const;
};
struct ROpenServiceW {
    static constexpr std::uint16_t opnum = 16;
    ContextHandle hSCManager;
    std::u16string lpServiceName;
    std::uint32_t dwDesiredAccess = 0;
    void Encode(NdrWriter& w) const;
};
// Both opens answer a handle and a status.
struct OpenHandleResponse {
    ContextHandle handle;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct RStartServiceW {
    static constexpr std::uint16_t opnum = 19;
    ContextHandle hService;
    void Encode(NdrWriter& w) const;
};
struct RStartServiceWResponse {
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

}  // namespace vn::smb::svcctl
