#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Registry.h"
#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcConnection.h"

namespace vn::smb {

// One bound \winreg pipe and what every key opened through it shares: the
// predefined keys' handles, opened once and kept as long as the pipe, and
// the handles of closed keys. The server closes every handle of a pipe with
// the pipe, so a key's close waits, and usually never has to travel: only a
// pipe held on to while kMaxReleased closed keys pile up sends them.
class RegistryPipe {
public:
    explicit RegistryPipe(std::unique_ptr<RpcConnection> connection) : connection_(std::move(connection)) {}

    RpcConnection& Connection() { return *connection_; }

    // The handle of HKEY_LOCAL_MACHINE or HKEY_USERS, opened on first use.
    [[nodiscard]] Status Predefined(Hive hive, ContextHandle& handle);

    // A key is closed: its handle is let go of.
    void Release(const ContextHandle& handle);

    static constexpr std::size_t kMaxReleased = 32;

private:
    const std::unique_ptr<RpcConnection> connection_;
    std::mutex mutex_;
    std::map<Hive, ContextHandle> predefined_;
    std::vector<ContextHandle> released_;
};

}  // namespace vn::smb
