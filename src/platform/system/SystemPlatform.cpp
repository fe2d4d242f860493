#include "platform/system/SystemPlatform.h"

#include "platform/directory/CombinedNetworkBrowser.h"
#include "platform/local/LocalNetInfo.h"
#include "platform/local/LocalProcesses.h"
#include "platform/local/LocalResolver.h"
#include "platform/local/LocalSockets.h"
#include "platform/local/hive/SqliteRegistry.h"
#include "platform/local/https/CurlHttpsClient.h"
#include "platform/smb/SmbBackend.h"

namespace vn {
namespace {

// Registry connections: this computer's SQLite hives, or a remote registry.
class RoutingRegistry final : public Registry {
public:
    RoutingRegistry(Registry& local, Registry& remote) : local_(local), remote_(remote) {}
    [[nodiscard]] Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override {
        return computer.empty() ? local_.Connect(computer, hive, result) : remote_.Connect(computer, hive, result);
    }

private:
    Registry& local_;
    Registry& remote_;
};

class RoutingNetInfo final : public NetInfo {
public:
    RoutingNetInfo(NetInfo& local, NetInfo& remote) : local_(local), remote_(remote) {}
    [[nodiscard]] Status NetServerGetInfo101(std::string_view server, ServerInfo101& info) override {
        return Pick(server).NetServerGetInfo101(server, info);
    }
    [[nodiscard]] Status NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) override {
        return Pick(server).NetWkstaGetInfo100(server, info);
    }
    [[nodiscard]] Status NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                                           std::uint32_t& resumeHandle) override {
        return Pick(server).NetWkstaUserEnum1(server, users, resumeHandle);
    }
    [[nodiscard]] Status NetWkstaUserGetInfo1(WkstaUserInfo1& info) override {
        return local_.NetWkstaUserGetInfo1(info);
    }

private:
    NetInfo& Pick(std::string_view server) { return server.empty() ? local_ : remote_; }
    NetInfo& local_;
    NetInfo& remote_;
};

// This computer has no Windows service control manager.
class RoutingServiceControl final : public ServiceControl {
public:
    explicit RoutingServiceControl(ServiceControl& remote) : remote_(remote) {}
    [[nodiscard]] Status OpenManager(std::string_view computer, std::uint32_t access,
                                     std::unique_ptr<ServiceManagerHandle>& result) override {
        if (computer.empty())
            return ERROR_NOT_SUPPORTED;
        return remote_.OpenManager(computer, access, result);
    }

private:
    ServiceControl& remote_;
};

// Accounts are looked up on the named system; this computer has no Windows
// account database.
class RoutingAccounts final : public Accounts {
public:
    explicit RoutingAccounts(Accounts& remote) : remote_(remote) {}
    [[nodiscard]] Status LookupAccountName(std::string_view systemName, std::string_view accountName, Sid& sid,
                                           std::string& referencedDomain, SidNameUse& use) override {
        if (systemName.empty())
            return ERROR_NONE_MAPPED;
        return remote_.LookupAccountName(systemName, accountName, sid, referencedDomain, use);
    }

private:
    Accounts& remote_;
};

}  // namespace

struct SystemPlatform::Backends {
    SqliteRegistry localRegistry;
    LocalNetInfo localNetInfo;
    LocalResolver resolver;
    LocalSockets sockets;
    LocalProcesses processes;
    CurlHttpsClient https;
    smb::SmbBackend remote;
    RoutingRegistry registry{localRegistry, remote.registry()};
    RoutingNetInfo netInfo{localNetInfo, remote.netInfo()};
    RoutingServiceControl services{remote.services()};
    RoutingAccounts accounts{remote.accounts()};
    // The directory logs on as the SMB side does, with whatever it uses now.
    directory::DirectoryBrowser directory{[this] { return remote.Credentials(); }};
    wsd::WsdBrowser wsd{https};
    directory::CombinedNetworkBrowser browser{remote.browser(), directory, wsd};
};

SystemPlatform::SystemPlatform() : backends_(std::make_unique<Backends>()) {}
SystemPlatform::~SystemPlatform() = default;

Registry& SystemPlatform::registry() { return backends_->registry; }
NetInfo& SystemPlatform::netInfo() { return backends_->netInfo; }
NetworkBrowser& SystemPlatform::browser() { return backends_->browser; }
ServiceControl& SystemPlatform::services() { return backends_->services; }
Accounts& SystemPlatform::accounts() { return backends_->accounts; }
Resolver& SystemPlatform::resolver() { return backends_->resolver; }
Sockets& SystemPlatform::sockets() { return backends_->sockets; }
Processes& SystemPlatform::processes() { return backends_->processes; }
HttpsClient& SystemPlatform::https() { return backends_->https; }
smb::SmbBackend& SystemPlatform::Remote() { return backends_->remote; }
wsd::WsdBrowser& SystemPlatform::Wsd() { return backends_->wsd; }

}  // namespace vn
