#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/Platform.h"
#include "support/FakePlatformBrowser.h"
#include "support/FakePlatformCallLog.h"
#include "support/FakePlatformComputer.h"
#include "support/FakePlatformCore.h"
#include "support/FakePlatformLocal.h"
#include "support/FakePlatformServices.h"

namespace vn::test {

// A simulated Windows network for tests: the test describes the other
// computers (registry, server and workstation information, users, accounts,
// services), the browse tree, the resolver and the open ports, and the code
// under test reaches them through the ordinary platform interfaces. Every
// call is recorded. Safe to call from several threads at once.
//
// Unknown or switched-off computers answer as Windows does for a name that
// cannot be reached: ERROR_BAD_NETPATH (53) from the registry and the
// server/workstation services, RPC_S_SERVER_UNAVAILABLE (1722) from the
// service manager and the account lookup.
class FakePlatform final : public Platform, public Registry, public NetInfo, public Accounts {
public:
    FakePlatform();
    ~FakePlatform() override;

    // The computer of that name, added on first use.
    FakeComputer& Computer(const std::string& name) { return computers_.Add(name); }
    // This computer (reached with the name "" or its own name).
    FakeComputer& Local() { return computers_.Local(); }
    // GetComputerName's answer and the name under which this computer answers;
    // nullopt makes GetComputerName fail.
    void SetLocalName(std::optional<std::string> name);

    FakeBrowseNode& BrowseRoot() { return browser_.Root(); }
    FakePlatformLocal& LocalServices() { return local_; }

    FakePlatformCallLog& Log() { return core_.log; }
    // Runs before every call is carried out, on the calling thread, without
    // the platform's lock held: it may block, signal or change the network.
    void SetCallHook(FakePlatformCore::CallHook hook) { core_.SetHook(std::move(hook)); }
    void SetOperationDelay(const std::string& operation, std::chrono::milliseconds delay) {
        core_.SetOperationDelay(operation, delay);
    }
    // Registry keys, service handles and enumerations not yet closed.
    int OpenHandleCount() const { return core_.openHandles.load(); }

    // Platform
    Registry& registry() override { return *this; }
    NetInfo& netInfo() override { return *this; }
    NetworkBrowser& browser() override { return browser_; }
    ServiceControl& services() override { return services_; }
    Accounts& accounts() override { return *this; }
    Resolver& resolver() override { return local_; }
    Sockets& sockets() override { return local_; }
    Processes& processes() override { return local_; }
    HttpsClient& https() override { return local_; }

    // Registry
    Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override;

    // NetInfo
    Status NetServerGetInfo101(std::string_view server, ServerInfo101& info) override;
    Status NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) override;
    Status NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                             std::uint32_t& resumeHandle) override;
    Status NetWkstaUserGetInfo1(WkstaUserInfo1& info) override;

    // Accounts
    Status LookupAccountName(std::string_view systemName, std::string_view accountName, Sid& sid,
                             std::string& referencedDomain, SidNameUse& use) override;

private:
    // Records the call (after the computer's delay) and runs action on the
    // computer's state under the lock; unknownStatus when it is not reachable.
    Status OnComputer(const char* operation, std::string_view computer, std::vector<std::string> arguments,
                      Status unknownStatus, const std::function<Status(FakeComputer::State&)>& action);

    FakePlatformCore core_;
    FakeComputerDirectory computers_{core_};
    FakeNetworkBrowser browser_{core_};
    FakeServiceControl services_{core_, computers_};
    FakePlatformLocal local_{core_};
};

}  // namespace vn::test
