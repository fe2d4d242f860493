#include "platform/smb/SmbRegistry.h"

#include "platform/smb/SmbRegistryKey.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {

namespace {
constexpr std::uint32_t MAXIMUM_ALLOWED = 0x02000000;
}  // namespace

Status SmbRegistry::Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) {
    if (hive == Hive::CurrentUser)
        return ERROR_INVALID_HANDLE;  // as RegConnectRegistry answers for HKEY_CURRENT_USER
    std::unique_ptr<RpcConnection> opened;
    if (Status status = connector_.OpenRpc(computer, winreg::Interface(), winreg::kPipe, opened);
        status != ERROR_SUCCESS)
        return status;
    std::shared_ptr<RpcConnection> connection = std::move(opened);
    winreg::OpenHiveResponse response;
    Status status = ERROR_SUCCESS;
    if (hive == Hive::LocalMachine)
        status = Invoke(*connection, winreg::OpenLocalMachine{MAXIMUM_ALLOWED}, response);
    else
        status = Invoke(*connection, winreg::OpenUsers{MAXIMUM_ALLOWED}, response);
    if (status == ERROR_SUCCESS)
        status = response.ErrorCode;
    if (status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<SmbRegistryKey>(connection, response.phKey);
    return ERROR_SUCCESS;
}

}  // namespace vn::smb
