#include "platform/smb/SmbServiceControl.h"

#include "platform/smb/SmbNetInfo.h"
#include "platform/smb/SmbServiceHandles.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Svcctl.h"

namespace vn::smb {

Status SmbServiceControl::OpenManager(std::string_view computer, std::uint32_t access,
                                      std::unique_ptr<ServiceManagerHandle>& result) {
    if (computer.empty())
        return ERROR_NOT_SUPPORTED;
    std::unique_ptr<RpcConnection> opened;
    if (Status status = connector_.OpenRpc(computer, svcctl::Interface(), svcctl::kPipe, opened);
        status != ERROR_SUCCESS)
        return status;
    std::shared_ptr<RpcConnection> connection = std::move(opened);
    svcctl::ROpenSCManagerW request{.lpMachineName = UncServerName(computer), .dwDesiredAccess = access};
    svcctl::ROpenSCManagerWResponse response;
    if (Status status = InvokeForStatus(*connection, request, response); status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<SmbServiceManagerHandle>(connection, response.lpScHandle);
    return ERROR_SUCCESS;
}

}  // namespace vn::smb
