#pragma once

#include <cstdint>
#include <string>

#include "platform/ServiceControl.h"
#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcCallTable.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-SCMR, the service control manager (pipe \svcctl).
namespace vn::smb::svcctl {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("367abb81-9844-35f1-ad32-98f038001003", 2, 0);
    return id;
}
inline constexpr const char* kPipe = "svcctl";

struct RCloseServiceHandle {
    ContextHandle hSCObject{};
    static void Fields(auto& m, auto&& ndr) { ndr(m.hSCObject); }
};
struct RCloseServiceHandleResponse {
    ContextHandle hSCObject{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hSCObject, m.ErrorCode); }
};

// SERVICE_STATUS, read into the platform's record of it.
inline auto ServiceStatusFields(auto& s) {
    return Struct(s.serviceType, s.currentState, s.controlsAccepted, s.win32ExitCode, s.serviceSpecificExitCode,
                  s.checkPoint, s.waitHint);
}

struct RControlService {
    ContextHandle hService{};
    std::uint32_t dwControl = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hService, m.dwControl); }
};
struct RControlServiceResponse {
    ServiceStatus lpServiceStatus{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(ServiceStatusFields(m.lpServiceStatus), m.ErrorCode); }
};

struct RQueryServiceStatus {
    ContextHandle hService{};
    static void Fields(auto& m, auto&& ndr) { ndr(m.hService); }
};
struct RQueryServiceStatusResponse {
    ServiceStatus lpServiceStatus{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(ServiceStatusFields(m.lpServiceStatus), m.ErrorCode); }
};

// lpDatabaseName: null, the active database.
struct ROpenSCManagerW {
    std::u16string lpMachineName{};
    NullPointer lpDatabaseName{};
    std::uint32_t dwDesiredAccess = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(Unique(m.lpMachineName), m.lpDatabaseName, m.dwDesiredAccess); }
};
struct ROpenSCManagerWResponse {
    ContextHandle lpScHandle{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.lpScHandle, m.ErrorCode); }
};

// lpServiceName is [ref, string].
struct ROpenServiceW {
    ContextHandle hSCManager{};
    std::u16string lpServiceName{};
    std::uint32_t dwDesiredAccess = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hSCManager, m.lpServiceName, m.dwDesiredAccess); }
};
struct ROpenServiceWResponse {
    ContextHandle lpServiceHandle{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.lpServiceHandle, m.ErrorCode); }
};

// Started with no arguments: argc 0, argv null.
struct RStartServiceW {
    ContextHandle hService{};
    std::uint32_t argc = 0;
    NullPointer argv{};
    static void Fields(auto& m, auto&& ndr) { ndr(m.hService, m.argc, m.argv); }
};
struct RStartServiceWResponse {
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.ErrorCode); }
};

using Calls = RpcCallTable<RpcOperation<0, RCloseServiceHandle, RCloseServiceHandleResponse>,
                           RpcOperation<1, RControlService, RControlServiceResponse>,
                           RpcOperation<6, RQueryServiceStatus, RQueryServiceStatusResponse>,
                           RpcOperation<15, ROpenSCManagerW, ROpenSCManagerWResponse>,
                           RpcOperation<16, ROpenServiceW, ROpenServiceWResponse>,
                           RpcOperation<19, RStartServiceW, RStartServiceWResponse>>;
Calls CallTableOf(const auto&);

}  // namespace vn::smb::svcctl
