#include "platform/smb/SmbRegistry.h"

#include "platform/RemoteConnectionScope.h"
#include "platform/smb/SmbRegistryKey.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {

Status SmbRegistry::Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) {
    if (hive == Hive::CurrentUser)
        return ERROR_INVALID_HANDLE;  // as RegConnectRegistry answers for HKEY_CURRENT_USER
    const std::string scopeKey = connector_.ScopeKey(computer, "registry");  // a RegistryPipe, not a bare connection
    auto pipe = std::static_pointer_cast<RegistryPipe>(RemoteConnectionScope::Find(scopeKey));
    if (!pipe || !pipe->Connection().Usable()) {
        std::unique_ptr<RpcConnection> opened;
        if (Status status = connector_.OpenRpc(computer, winreg::Interface(), winreg::kPipe, opened);
            status != ERROR_SUCCESS)
            return status;
        pipe = std::make_shared<RegistryPipe>(std::move(opened));
        RemoteConnectionScope::Keep(scopeKey, pipe);
    }
    ContextHandle handle;
    if (Status status = pipe->Predefined(hive, handle); status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<SmbRegistryKey>(std::move(pipe), handle, SmbRegistryKey::Handle::Pipes);
    return ERROR_SUCCESS;
}

}  // namespace vn::smb
