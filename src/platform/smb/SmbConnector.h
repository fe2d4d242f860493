#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

#include "platform/Status.h"
#include "platform/smb/RpcConnection.h"
#include "platform/smb/SmbContext.h"
#include "platform/smb/SmbCredentials.h"

namespace vn::smb {

// Opens RPC interfaces on remote hosts. Each thread gets one libsmbclient
// context per connector and keeps it, so that every call a worker makes to
// the same host rides on one logged-on session; new credentials give every
// thread a fresh context at its next call.
class SmbConnector {
public:
    SmbConnector();
    explicit SmbConnector(const SmbCredentials& credentials);

    void SetCredentials(const SmbCredentials& credentials);
    SmbCredentials Credentials() const;

    // Opens \pipeName on computer and binds the interface.
    Status OpenRpc(std::string_view computer, const RpcSyntaxId& syntax, const char* pipeName,
                   std::unique_ptr<RpcConnection>& result);

    // A fresh SMB1 context for one browse enumeration.
    Status BrowseContext(std::shared_ptr<SmbContext>& result);

private:
    Status ThreadContext(std::shared_ptr<SmbContext>& result);

    const std::uint64_t id_;
    // Threads drop their cached contexts of connectors that have gone.
    const std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    mutable std::mutex mutex_;
    SmbCredentials credentials_;
    std::uint64_t generation_ = 0;
};

}  // namespace vn::smb
