#include "platform/smb/Svcctl.h"

namespace vn::smb::svcctl {

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("367abb81-9844-35f1-ad32-98f038001003", 2, 0);
    return id;
}

void DecodeServiceStatus(NdrReader& r, ServiceStatus& status) {
    status.serviceType = r.U32();
    status.currentState = r.U32();
    status.controlsAccepted = r.U32();
    status.win32ExitCode = r.U32();
    status.serviceSpecificExitCode = r.U32();
    status.checkPoint = r.U32();
    status.waitHint = r.U32();
}

void RCloseServiceHandle::Encode(NdrWriter& w) const { hSCObject.Encode(w); }

void RCloseServiceHandleResponse::Decode(NdrReader& r) {
    hSCObject.Decode(r);
    ErrorCode = r.U32();
}

void RControlService::Encode(NdrWriter& w) const {
    hService.Encode(w);
    w.U32(dwControl);
}

void ServiceStatusResponse::Decode(NdrReader& r) {
    DecodeServiceStatus(r, lpServiceStatus);
    ErrorCode = r.U32();
}

void RQueryServiceStatus::Encode(NdrWriter& w) const { hService.Encode(w); }

void ROpenSCManagerW::Encode(NdrWriter& w) const {
    WriteWideStringParameter(w, lpMachineName);
    w.Pointer(false);  // lpDatabaseName: the active database
    w.U32(dwDesiredAccess);
}

void ROpenServiceW::Encode(NdrWriter& w) const {
    hSCManager.Encode(w);
    w.WideString(lpServiceName);  // [ref, string]
    w.U32(dwDesiredAccess);
}

void OpenHandleResponse::Decode(NdrReader& r) {
    handle.Decode(r);
    ErrorCode = r.U32();
}

void RStartServiceW::Encode(NdrWriter& w) const {
    hService.Encode(w);
    w.U32(0);          // argc
    w.Pointer(false);  // argv
}

void RStartServiceWResponse::Decode(NdrReader& r) { ErrorCode = r.U32(); }

}  // namespace vn::smb::svcctl
