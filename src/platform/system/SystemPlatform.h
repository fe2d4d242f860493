#pragma once

#include <memory>

#include "platform/Platform.h"

namespace vn {

namespace smb {
class SmbBackend;
}
namespace wsd {
class WsdBrowser;
}

// The platform the programs run on: this computer ("" as computer or server
// name) through the local backend, every other computer through SMB and
// MS-RPC.
class SystemPlatform final : public Platform {
public:
    SystemPlatform();
    ~SystemPlatform() override;

    Registry& registry() override;
    NetInfo& netInfo() override;
    NetworkBrowser& browser() override;
    ServiceControl& services() override;
    Accounts& accounts() override;
    Resolver& resolver() override;
    Sockets& sockets() override;
    Processes& processes() override;
    HttpsClient& https() override;

    // The remote backend, to choose the credentials it presents.
    smb::SmbBackend& Remote();
    // The WS-Discovery provider, to set its wait and hear who answered.
    wsd::WsdBrowser& Wsd();

private:
    struct Backends;
    std::unique_ptr<Backends> backends_;
};

}  // namespace vn
