#include "platform/smb/SmbServiceHandles.h"

#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Svcctl.h"
#include "platform/smb/rpc/Utf16.h"

namespace vn::smb {

SmbServiceObject::~SmbServiceObject() {
    // A handle the server did not close ends with the connection.
    svcctl::RCloseServiceHandleResponse response;
    (void)Invoke(*connection_, svcctl::RCloseServiceHandle{handle_}, response);
}

Status SmbServiceHandle::QueryStatus(ServiceStatus& status) {
    svcctl::RQueryServiceStatusResponse response;
    const Status result = InvokeForStatus(*connection_, svcctl::RQueryServiceStatus{handle_}, response);
    if (result == ERROR_SUCCESS)
        status = response.lpServiceStatus;
    return result;
}

Status SmbServiceHandle::Start() {
    svcctl::RStartServiceWResponse response;
    return InvokeForStatus(*connection_, svcctl::RStartServiceW{handle_}, response);
}

Status SmbServiceHandle::Control(std::uint32_t control, ServiceStatus& status) {
    svcctl::RControlServiceResponse response;
    const Status result = InvokeForStatus(*connection_, svcctl::RControlService{handle_, control}, response);
    // ControlService fills the status also for some failures (1061 and the like).
    status = response.lpServiceStatus;
    return result;
}

Status SmbServiceManagerHandle::OpenService(std::string_view name, std::uint32_t access,
                                            std::unique_ptr<ServiceHandle>& result) {
    svcctl::ROpenServiceWResponse response;
    if (Status status =
            InvokeForStatus(*connection_, svcctl::ROpenServiceW{handle_, Utf8ToUtf16(name), access}, response);
        status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<SmbServiceHandle>(connection_, response.lpServiceHandle);
    return ERROR_SUCCESS;
}

}  // namespace vn::smb
