#include "support/FakePlatformServices.h"

#include <cstring>

namespace vn::test {
namespace {

constexpr Status ERROR_INVALID_SERVICE_CONTROL = 1052;
constexpr std::uint32_t SERVICE_WIN32_OWN_PROCESS = 0x10;
constexpr std::uint32_t SERVICE_DISABLED = 4;

// Everything a service handle needs to find its service again under the lock.
struct ServiceAddress {
    FakePlatformCore& core;
    FakeComputerDirectory& computers;
    std::string computer;
    std::string service;
};

class FakeServiceHandle final : public ServiceHandle {
public:
    FakeServiceHandle(ServiceAddress address, std::uint32_t access) : address_(std::move(address)), access_(access) {
        ++address_.core.openHandles;
    }
    ~FakeServiceHandle() override {
        --address_.core.openHandles;
        address_.core.Enter("CloseServiceHandle", address_.computer, {address_.service});
    }

    Status QueryStatus(ServiceStatus& status) override {
        address_.core.Enter("QueryServiceStatus", address_.computer, {address_.service});
        std::lock_guard lock(address_.core.mutex);
        FakeService* service = nullptr;
        if (Status refused = Find(FakeServiceCall::Query, SERVICE_QUERY_STATUS, service))
            return refused;
        status = ServiceStatus{};
        status.serviceType = SERVICE_WIN32_OWN_PROCESS;
        status.currentState = service->state;
        return ERROR_SUCCESS;
    }

    Status Start() override {
        address_.core.Enter("StartService", address_.computer, {address_.service});
        std::lock_guard lock(address_.core.mutex);
        FakeService* service = nullptr;
        if (Status refused = Find(FakeServiceCall::Start, SERVICE_START, service))
            return refused;
        if (service->state != SERVICE_STOPPED)
            return ERROR_SERVICE_ALREADY_RUNNING;
        if (StartType() == SERVICE_DISABLED)
            return ERROR_SERVICE_DISABLED;
        service->state = SERVICE_RUNNING;
        return ERROR_SUCCESS;
    }

    Status Control(std::uint32_t control, ServiceStatus& status) override {
        address_.core.Enter("ControlService", address_.computer, {address_.service, std::to_string(control)});
        std::lock_guard lock(address_.core.mutex);
        FakeService* service = nullptr;
        if (Status refused = Find(FakeServiceCall::Control, SERVICE_STOP, service))
            return refused;
        if (control != SERVICE_CONTROL_STOP)
            return ERROR_INVALID_SERVICE_CONTROL;
        if (service->state == SERVICE_STOPPED)
            return ERROR_SERVICE_NOT_ACTIVE;
        service->state = SERVICE_STOPPED;
        status = ServiceStatus{};
        status.serviceType = SERVICE_WIN32_OWN_PROCESS;
        status.currentState = SERVICE_STOPPED;
        return ERROR_SUCCESS;
    }

private:
    // The service, after the scripted refusal, the reachability and the
    // handle's rights have been checked. Caller holds the lock.
    Status Find(FakeServiceCall call, std::uint32_t right, FakeService*& service) {
        FakeComputer* computer = address_.computers.FindLocked(address_.computer);
        if (!computer)
            return RPC_S_SERVER_UNAVAILABLE;
        auto& services = computer->StateLocked().services;
        auto it = services.find(UpperName(address_.service));
        if (it == services.end())
            return ERROR_SERVICE_DOES_NOT_EXIST;
        if (auto refusal = it->second.refusals.find(call); refusal != it->second.refusals.end())
            return refusal->second;
        if ((access_ & right) != right)
            return ERROR_ACCESS_DENIED;
        service = &it->second;
        return ERROR_SUCCESS;
    }

    std::uint32_t StartType() {
        FakeComputer* computer = address_.computers.FindLocked(address_.computer);
        auto node = FakeRegistryNode::Find(computer->StateLocked().hives[Hive::LocalMachine],
                                           "System\\CurrentControlSet\\Services\\" + address_.service);
        if (!node)
            return 0;
        auto it = node->values.find("START");
        std::uint32_t value = 0;
        if (it != node->values.end() && it->second.data.size() == 4)
            std::memcpy(&value, it->second.data.data(), 4);
        return value;
    }

    ServiceAddress address_;
    const std::uint32_t access_;
};

class FakeServiceManagerHandle final : public ServiceManagerHandle {
public:
    FakeServiceManagerHandle(FakePlatformCore& core, FakeComputerDirectory& computers, std::string computer)
        : core_(core),
          computers_(computers),
          computer_(std::move(computer)) {
        ++core_.openHandles;
    }
    ~FakeServiceManagerHandle() override {
        --core_.openHandles;
        core_.Enter("CloseServiceHandle", computer_, {});
    }

    Status OpenService(std::string_view name, std::uint32_t access, std::unique_ptr<ServiceHandle>& result) override {
        core_.Enter("OpenService", computer_, {std::string(name), std::to_string(access)});
        std::lock_guard lock(core_.mutex);
        FakeComputer* computer = computers_.FindLocked(computer_);
        if (!computer)
            return RPC_S_SERVER_UNAVAILABLE;
        auto& services = computer->StateLocked().services;
        auto it = services.find(UpperName(name));
        if (it == services.end())
            return ERROR_SERVICE_DOES_NOT_EXIST;
        if (auto refusal = it->second.refusals.find(FakeServiceCall::Open); refusal != it->second.refusals.end())
            return refusal->second;
        result =
            std::make_unique<FakeServiceHandle>(ServiceAddress{core_, computers_, computer_, it->second.name}, access);
        return ERROR_SUCCESS;
    }

private:
    FakePlatformCore& core_;
    FakeComputerDirectory& computers_;
    const std::string computer_;
};

}  // namespace

Status FakeServiceControl::OpenManager(std::string_view computer, std::uint32_t access,
                                       std::unique_ptr<ServiceManagerHandle>& result) {
    std::chrono::milliseconds delay{0};
    Status status = ERROR_SUCCESS;
    {
        std::lock_guard lock(core_.mutex);
        FakeComputer* target = computers_.FindLocked(computer);
        if (!target)
            status = RPC_S_SERVER_UNAVAILABLE;
        else {
            status = target->StateLocked().managerStatus;
            delay = target->StateLocked().delay;
        }
    }
    core_.Enter("OpenSCManager", std::string(computer), {std::to_string(access)}, delay);
    if (status == ERROR_SUCCESS)
        result = std::make_unique<FakeServiceManagerHandle>(core_, computers_, std::string(computer));
    return status;
}

}  // namespace vn::test
