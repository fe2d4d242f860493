#include "support/FakePlatformComputer.h"

#include <cstring>

namespace vn::test {
namespace {

constexpr std::string_view kServicesKey = "System\\CurrentControlSet\\Services";

}  // namespace

FakeComputer::FakeComputer(FakePlatformCore& core, std::string name) : core_(core) {
    state_.name = std::move(name);
    for (Hive hive : {Hive::LocalMachine, Hive::CurrentUser, Hive::Users})
        state_.hives[hive] = std::make_shared<FakeRegistryNode>(HiveName(hive));
    state_.serverInfo.platformId = 500;
    state_.serverInfo.name = state_.name;
    state_.wkstaInfo.platformId = 500;
    state_.wkstaInfo.computerName = state_.name;
    state_.wkstaInfo.langroup = "WORKGROUP";
}

FakeComputer& FakeComputer::SwitchOff(bool off) {
    std::lock_guard lock(core_.mutex);
    state_.switchedOff = off;
    return *this;
}

FakeComputer& FakeComputer::Delay(std::chrono::milliseconds delay) {
    std::lock_guard lock(core_.mutex);
    state_.delay = delay;
    return *this;
}

FakeComputer& FakeComputer::FailConnect(Status status) {
    std::lock_guard lock(core_.mutex);
    state_.connectStatus = status;
    return *this;
}

FakeRegistryKeyBuilder FakeComputer::Key(Hive hive, std::string_view path) {
    std::lock_guard lock(core_.mutex);
    return FakeRegistryKeyBuilder(core_, FakeRegistryNode::Create(state_.hives[hive], path));
}

bool FakeComputer::HasKey(Hive hive, std::string_view path) {
    std::lock_guard lock(core_.mutex);
    return FakeRegistryNode::Find(state_.hives[hive], path) != nullptr;
}

std::optional<FakeRegistryValue> FakeComputer::Value(Hive hive, std::string_view path, std::string_view name) {
    std::lock_guard lock(core_.mutex);
    auto node = FakeRegistryNode::Find(state_.hives[hive], path);
    if (!node)
        return std::nullopt;
    auto it = node->values.find(UpperName(name));
    if (it == node->values.end())
        return std::nullopt;
    return it->second;
}

std::vector<std::string> FakeComputer::SubKeyNames(Hive hive, std::string_view path) {
    std::lock_guard lock(core_.mutex);
    std::vector<std::string> names;
    if (auto node = FakeRegistryNode::Find(state_.hives[hive], path)) {
        for (const auto& [upper, child] : node->children)
            names.push_back(child->name);
    }
    return names;
}

FakeComputer& FakeComputer::ServerInfo(std::uint32_t major, std::uint32_t minor, std::string comment,
                                       std::uint32_t type) {
    std::lock_guard lock(core_.mutex);
    state_.serverInfoStatus = ERROR_SUCCESS;
    state_.serverInfo.versionMajor = major;
    state_.serverInfo.versionMinor = minor;
    state_.serverInfo.comment = std::move(comment);
    state_.serverInfo.type = type;
    return *this;
}

FakeComputer& FakeComputer::FailServerInfo(Status status) {
    std::lock_guard lock(core_.mutex);
    state_.serverInfoStatus = status;
    return *this;
}

FakeComputer& FakeComputer::Workgroup(std::string langroup) {
    std::lock_guard lock(core_.mutex);
    state_.wkstaInfoStatus = ERROR_SUCCESS;
    state_.wkstaInfo.langroup = std::move(langroup);
    return *this;
}

FakeComputer& FakeComputer::FailWkstaInfo(Status status) {
    std::lock_guard lock(core_.mutex);
    state_.wkstaInfoStatus = status;
    return *this;
}

FakeComputer& FakeComputer::LoggedOnUsers(std::vector<WkstaUserInfo1> users, std::uint32_t batch) {
    std::lock_guard lock(core_.mutex);
    state_.userEnumStatus = ERROR_SUCCESS;
    state_.users = std::move(users);
    state_.userBatch = batch;
    return *this;
}

FakeComputer& FakeComputer::FailUserEnum(Status status) {
    std::lock_guard lock(core_.mutex);
    state_.userEnumStatus = status;
    return *this;
}

FakeComputer& FakeComputer::Account(FakeAccount account) {
    std::lock_guard lock(core_.mutex);
    state_.accounts.push_back(std::move(account));
    return *this;
}

FakeComputer& FakeComputer::Service(std::string_view name, std::uint32_t state, std::uint32_t startType) {
    Key(Hive::LocalMachine, std::string(kServicesKey) + "\\" + std::string(name)).Dword("Start", startType);
    std::lock_guard lock(core_.mutex);
    FakeService& service = state_.services[UpperName(name)];
    service.name = std::string(name);
    service.state = state;
    return *this;
}

FakeComputer& FakeComputer::RefuseService(std::string_view name, FakeServiceCall call, Status status) {
    std::lock_guard lock(core_.mutex);
    FakeService& service = state_.services[UpperName(name)];
    if (service.name.empty())
        service.name = std::string(name);
    service.refusals[call] = status;
    return *this;
}

FakeComputer& FakeComputer::FailServiceManager(Status status) {
    std::lock_guard lock(core_.mutex);
    state_.managerStatus = status;
    return *this;
}

std::optional<std::uint32_t> FakeComputer::ServiceState(std::string_view name) {
    std::lock_guard lock(core_.mutex);
    auto it = state_.services.find(UpperName(name));
    if (it == state_.services.end())
        return std::nullopt;
    return it->second.state;
}

FakeComputerDirectory::FakeComputerDirectory(FakePlatformCore& core)
    : core_(core),
      local_(std::make_unique<FakeComputer>(core, "THISPC")) {}

FakeComputer& FakeComputerDirectory::Add(std::string name) {
    std::lock_guard lock(core_.mutex);
    auto& slot = computers_[UpperName(name)];
    if (!slot)
        slot = std::make_unique<FakeComputer>(core_, std::move(name));
    return *slot;
}

void FakeComputerDirectory::SetLocalName(std::string name) {
    std::lock_guard lock(core_.mutex);
    local_->StateLocked().name = std::move(name);
}

FakeComputer* FakeComputerDirectory::FindLocked(std::string_view name) {
    while (!name.empty() && name.front() == '\\')
        name.remove_prefix(1);
    FakeComputer* computer = nullptr;
    if (name.empty() || SameName(name, local_->StateLocked().name)) {
        computer = local_.get();
    } else if (auto it = computers_.find(UpperName(name)); it != computers_.end()) {
        computer = it->second.get();
    }
    if (computer && computer->StateLocked().switchedOff)
        return nullptr;
    return computer;
}

}  // namespace vn::test
