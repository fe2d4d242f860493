#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Accounts.h"
#include "platform/NetInfo.h"
#include "platform/Registry.h"
#include "support/FakePlatformCore.h"
#include "support/FakePlatformRegistry.h"

namespace vn::test {

enum class FakeServiceCall { Open, Query, Start, Control };

struct FakeService {
    std::string name;
    std::uint32_t state = 0;  // SERVICE_STOPPED, SERVICE_RUNNING, ...
    std::map<FakeServiceCall, Status> refusals;
};

struct FakeAccount {
    std::string name;  // "user" or "DOMAIN\user"
    Sid sid;
    SidNameUse use = SidNameUse::User;
    std::string domain;
};

// One simulated computer of the network. A test describes it through the
// setters, which take the platform's lock, so a computer may also change
// while code under test runs. The fake's own handles read State() under the
// same lock.
class FakeComputer {
public:
    struct State {
        std::string name;
        bool switchedOff = false;
        Status connectStatus = ERROR_SUCCESS;
        std::map<Hive, std::shared_ptr<FakeRegistryNode>> hives;
        Status serverInfoStatus = ERROR_SUCCESS;
        ServerInfo101 serverInfo;
        Status wkstaInfoStatus = ERROR_SUCCESS;
        WkstaInfo100 wkstaInfo;
        Status userEnumStatus = ERROR_SUCCESS;
        std::vector<WkstaUserInfo1> users;
        std::uint32_t userBatch = 0;  // 0: all users in one batch
        std::vector<FakeAccount> accounts;
        Status managerStatus = ERROR_SUCCESS;
        std::map<std::string, FakeService> services;  // by upper-cased name
        std::chrono::milliseconds delay{0};
    };

    FakeComputer(FakePlatformCore& core, std::string name);

    const std::string& Name() const { return state_.name; }

    // Every call to a switched-off computer fails as for an unknown name.
    FakeComputer& SwitchOff(bool off = true);
    // Every call addressed to this computer waits this long first.
    FakeComputer& Delay(std::chrono::milliseconds delay);

    // RegConnectRegistry fails with status (the other services still answer).
    FakeComputer& FailConnect(Status status);
    // A key of a hive, created with its path when missing.
    FakeRegistryKeyBuilder Key(Hive hive, std::string_view path);
    bool HasKey(Hive hive, std::string_view path);
    std::optional<FakeRegistryValue> Value(Hive hive, std::string_view path, std::string_view name);
    std::vector<std::string> SubKeyNames(Hive hive, std::string_view path);

    FakeComputer& ServerInfo(std::uint32_t major, std::uint32_t minor, std::string comment = {},
                             std::uint32_t type = 0x1003);
    FakeComputer& FailServerInfo(Status status);
    FakeComputer& Workgroup(std::string langroup);
    FakeComputer& FailWkstaInfo(Status status);
    // Logged-on users, handed out batch users at a time (0: all at once).
    FakeComputer& LoggedOnUsers(std::vector<WkstaUserInfo1> users, std::uint32_t batch = 0);
    FakeComputer& FailUserEnum(Status status);
    FakeComputer& Account(FakeAccount account);

    // A service; its start type is the "Start" value of its key under
    // HKLM\System\CurrentControlSet\Services, as on Windows.
    FakeComputer& Service(std::string_view name, std::uint32_t state, std::uint32_t startType);
    FakeComputer& RefuseService(std::string_view name, FakeServiceCall call, Status status);
    FakeComputer& FailServiceManager(Status status);
    std::optional<std::uint32_t> ServiceState(std::string_view name);

    // For the fake's own handles: callers hold FakePlatformCore::mutex.
    State& StateLocked() { return state_; }

private:
    FakePlatformCore& core_;
    State state_;
};

// The computers of the simulated network, this computer included.
class FakeComputerDirectory {
public:
    explicit FakeComputerDirectory(FakePlatformCore& core);

    FakeComputer& Add(std::string name);
    FakeComputer& Local() { return *local_; }
    void SetLocalName(std::string name);  // takes the lock

    // The computer a call addresses: "" and this computer's name give this
    // computer; leading backslashes are ignored. Null when unknown or
    // switched off. Callers hold the lock.
    FakeComputer* FindLocked(std::string_view name);

private:
    FakePlatformCore& core_;
    std::unique_ptr<FakeComputer> local_;
    std::map<std::string, std::unique_ptr<FakeComputer>> computers_;  // by upper-cased name
};

}  // namespace vn::test
