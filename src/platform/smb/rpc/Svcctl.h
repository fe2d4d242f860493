#pragma once

#include <cstdint>
#include <string>

#include "platform/ServiceControl.h"
#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-SCMR, the service control manager (pipe \svcctl).
namespace vn::smb::svcctl {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("367abb81-9844-35f1-ad32-98f038001003", 2, 0);
    return id;
}
inline constexpr const char* kPipe = "svcctl";

// RCloseServiceHandle (opnum 0)
struct RCloseServiceHandle {
    static constexpr std::uint16_t opnum = 0;
    ContextHandle hSCObject;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hSCObject); }
};
struct RCloseServiceHandleResponse {
    ContextHandle hSCObject;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hSCObject, m.ErrorCode); }
};

// RControlService (opnum 1)
struct RControlService {
    static constexpr std::uint16_t opnum = 1;
    ContextHandle hService;
    std::uint32_t dwControl = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hService, m.dwControl); }
};
// RControlService and RQueryServiceStatus answer a SERVICE_STATUS.
struct ServiceStatusResponse {
    ServiceStatus lpServiceStatus;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) {
        auto& s = m.lpServiceStatus;
        ndr(s.serviceType, s.currentState, s.controlsAccepted, s.win32ExitCode, s.serviceSpecificExitCode, s.checkPoint,
            s.waitHint, m.ErrorCode);
    }
};

// RQueryServiceStatus (opnum 6)
struct RQueryServiceStatus {
    static constexpr std::uint16_t opnum = 6;
    ContextHandle hService;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hService); }
};

// ROpenSCManagerW (opnum 15), on the active database (lpDatabaseName null).
struct ROpenSCManagerW {
    static constexpr std::uint16_t opnum = 15;
    std::u16string lpMachineName;
    std::uint32_t dwDesiredAccess = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(Unique(m.lpMachineName), Null(), m.dwDesiredAccess); }
};
// ROpenServiceW (opnum 16); lpServiceName is [ref, string].
struct ROpenServiceW {
    static constexpr std::uint16_t opnum = 16;
    ContextHandle hSCManager;
    std::u16string lpServiceName;
    std::uint32_t dwDesiredAccess = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hSCManager, m.lpServiceName, m.dwDesiredAccess); }
};
// Both opens answer a handle and a status.
struct OpenHandleResponse {
    ContextHandle handle;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.handle, m.ErrorCode); }
};

// RStartServiceW (opnum 19), with no arguments (argc 0, argv null).
struct RStartServiceW {
    static constexpr std::uint16_t opnum = 19;
    ContextHandle hService;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hService, 0u, Null()); }
};
struct RStartServiceWResponse {
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.ErrorCode); }
};

}  // namespace vn::smb::svcctl
