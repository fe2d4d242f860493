#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"
#include "platform/smb/pool/HelperPool.h"
#include "platform/smb/pool/SmbCredentials.h"
#include "platform/smb/rpc/RpcConnection.h"

namespace vn::smb {

// Opens RPC interfaces on remote hosts and reads browse lists, through the
// pool of helper processes that run libsmbclient. Calls to the same host go
// to the helper holding its logged-on session when it is free; new
// credentials are used by helpers started from then on.
class SmbConnector {
public:
    SmbConnector();
    explicit SmbConnector(const SmbCredentials& credentials, HelperPoolOptions options = {});

    void SetCredentials(const SmbCredentials& credentials) { pool_.SetCredentials(credentials); }
    SmbCredentials Credentials() const { return pool_.Credentials(); }

    // Opens \pipeName on computer and binds the interface, each within the
    // call limit.
    Status OpenRpc(std::string_view computer, const RpcSyntaxId& syntax, const char* pipeName,
                   std::unique_ptr<RpcConnection>& result);

    // OpenRpc, or the connection the thread's RemoteConnectionScope keeps
    // for pipeName on computer (kept there when opened here).
    Status SharedRpc(std::string_view computer, const RpcSyntaxId& syntax, const char* pipeName,
                     std::shared_ptr<RpcConnection>& result);

    // Where a RemoteConnectionScope keeps what of this connector (a pipe
    // name for SharedRpc) to computer.
    std::string ScopeKey(std::string_view computer, std::string_view what) const;

    // One browse list: smb://, smb://WORKGROUP or smb://SERVER.
    Status ReadBrowseList(const std::string& url, std::vector<helper::BrowseEntry>& entries);

    HelperPool& Pool() { return pool_; }

private:
    HelperPool pool_;
};

}  // namespace vn::smb
