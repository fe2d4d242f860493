#include "platform/smb/RegistryPipe.h"

#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {

namespace {

template <class Request>
[[nodiscard]] Status OpenPredefinedKey(RpcConnection& connection, ContextHandle& handle) {
    ResponseFor<Request> response;
    if (Status status = InvokeForStatus(connection, Request{.samDesired = winreg::MAXIMUM_ALLOWED}, response);
        status != ERROR_SUCCESS)
        return status;
    handle = response.phKey;
    return ERROR_SUCCESS;
}

}  // namespace

Status RegistryPipe::Predefined(Hive hive, ContextHandle& handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (const auto found = predefined_.find(hive); found != predefined_.end()) {
        handle = found->second;
        return ERROR_SUCCESS;
    }
    const Status status = hive == Hive::LocalMachine ? OpenPredefinedKey<winreg::OpenLocalMachine>(*connection_, handle)
                                                     : OpenPredefinedKey<winreg::OpenUsers>(*connection_, handle);
    if (status == ERROR_SUCCESS)
        predefined_[hive] = handle;
    return status;
}

void RegistryPipe::Release(const ContextHandle& handle) {
    std::vector<ContextHandle> closing;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        released_.push_back(handle);
        if (released_.size() < kMaxReleased)
            return;
        closing.swap(released_);
    }
    for (const ContextHandle& one : closing) {
        // A handle the server did not close ends with the pipe.
        winreg::BaseRegCloseKeyResponse response;
        (void)Invoke(*connection_, winreg::BaseRegCloseKey{one}, response);
    }
}

}  // namespace vn::smb
