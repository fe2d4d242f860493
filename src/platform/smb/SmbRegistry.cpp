#include "platform/smb/SmbRegistry.h"

#include "platform/smb/SmbRegistryKey.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {

namespace {

template <class Request>
[[nodiscard]] Status OpenPredefinedKey(const std::shared_ptr<RpcConnection>& connection, RegistryKeyPtr& result) {
    ResponseFor<Request> response;
    if (Status status = InvokeForStatus(*connection, Request{.samDesired = winreg::MAXIMUM_ALLOWED}, response);
        status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<SmbRegistryKey>(connection, response.phKey);
    return ERROR_SUCCESS;
}

}  // namespace

Status SmbRegistry::Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) {
    if (hive == Hive::CurrentUser)
        return ERROR_INVALID_HANDLE;  // as RegConnectRegistry answers for HKEY_CURRENT_USER
    std::unique_ptr<RpcConnection> opened;
    if (Status status = connector_.OpenRpc(computer, winreg::Interface(), winreg::kPipe, opened);
        status != ERROR_SUCCESS)
        return status;
    std::shared_ptr<RpcConnection> connection = std::move(opened);
    if (hive == Hive::LocalMachine)
        return OpenPredefinedKey<winreg::OpenLocalMachine>(connection, result);
    return OpenPredefinedKey<winreg::OpenUsers>(connection, result);
}

}  // namespace vn::smb
