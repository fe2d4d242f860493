#include "manage/RemoteServices.h"

#include "manage/ServiceProducts.h"
#include "platform/RegistryValues.h"
#include "platform/SystemErrorText.h"

namespace vn {

RemoteServices::RemoteServices(Platform& platform, std::string computer, MessageBoxService& messages,
                               std::atomic<bool>& writeErrorShown)
    : platform_(platform),
      computer_(std::move(computer)),
      messages_(messages),
      writeErrorShown_(writeErrorShown) {}

RemoteServices::~RemoteServices() = default;

std::atomic<bool>& RemoteServices::ProcessWriteErrorShown() {
    static std::atomic<bool> shown{false};
    return shown;
}

void RemoteServices::Tell(std::string_view text) {
    messages_.Show(kAppCaption, text, MessageIcon::None, MessageButtons::Ok);
}

bool RemoteServices::OpenManager() {
    manager_.reset();
    const Status status = platform_.services().OpenManager(computer_, SC_MANAGER_ALL_ACCESS, manager_);
    if (status == ERROR_SUCCESS)
        return true;
    manager_.reset();
    const std::string text = SystemErrorText(status);
    if (text.find("Access is denied") != std::string::npos)
        Tell(
            "You do not have the required permissions to modify service settings on this computer.\n"
            "Click OK to continue.");
    else
        Tell(text);
    return false;
}

ServiceState RemoteServices::QueryServiceState(std::string_view serviceName) {
    if (!manager_)
        return ServiceState::Unknown;
    std::unique_ptr<ServiceHandle> service;
    if (manager_->OpenService(serviceName, SERVICE_ALL_ACCESS, service) != ERROR_SUCCESS) {
        Tell("Error Opening Service");
        return ServiceState::Unknown;
    }
    ServiceStatus status;
    if (service->QueryStatus(status) != ERROR_SUCCESS) {
        Tell("Error Getting information about service status");
        return ServiceState::Unknown;
    }
    switch (status.currentState) {
    case SERVICE_RUNNING: return ServiceState::Started;
    case SERVICE_STOPPED: return ServiceState::Stopped;
    default: return ServiceState::Unknown;
    }
}

std::uint32_t RemoteServices::ReadStartupType(const ProductDef& product) {
    RegistryKeyPtr machine;
    RegistryKeyPtr key;
    std::uint32_t start = 0;
    if (platform_.registry().Connect(computer_, Hive::LocalMachine, machine) != ERROR_SUCCESS ||
        machine->OpenKey(product.ServicePath, KEY_READ, key) != ERROR_SUCCESS ||
        QueryDwordValue(*key, "Start", start) != ERROR_SUCCESS)
        return 0;
    return start;
}

bool RemoteServices::WriteStartupType(const ProductDef& product, std::uint32_t start) {
    RegistryKeyPtr machine;
    if (platform_.registry().Connect(computer_, Hive::LocalMachine, machine) != ERROR_SUCCESS)
        return false;
    RegistryKeyPtr key;
    if (Status status = machine->OpenKey(product.ServicePath, KEY_WRITE, key); status != ERROR_SUCCESS) {
        if (!writeErrorShown_.exchange(true))
            Tell("Error: " + SystemErrorText(status));
        return false;
    }
    return SetDwordValue(*key, "Start", start) == ERROR_SUCCESS;
}

bool RemoteServices::StopRemoteService(std::string_view serviceName) { return Control(serviceName, Action::Stop); }

bool RemoteServices::StartRemoteService(std::string_view serviceName) { return Control(serviceName, Action::Start); }

bool RemoteServices::Control(std::string_view serviceName, Action action) {
    const std::string verb = action == Action::Stop ? "stop" : "start";
    const std::string_view maintenance = MaintenanceServiceOf(serviceName);
    // The maintenance service is acted on only in the state the request
    // changes; one that is missing or pending is left alone.
    const ServiceState from = action == Action::Stop ? ServiceState::Started : ServiceState::Stopped;
    const std::string failure = "Could not " + verb + " the " + std::string(serviceName);
    if (!maintenance.empty() && QueryServiceState(maintenance) == from &&
        !ControlOne(maintenance, action, failure + " Maintenance service"))
        return false;
    return ControlOne(serviceName, action, failure + " service");
}

bool RemoteServices::ControlOne(std::string_view serviceName, Action action, std::string_view failurePrefix) {
    if (!manager_)
        return false;
    std::unique_ptr<ServiceHandle> service;
    if (Status status = manager_->OpenService(serviceName, SERVICE_ALL_ACCESS, service); status != ERROR_SUCCESS) {
        Tell(SystemErrorText(status));
        return false;
    }
    ServiceStatus ignored;
    const Status status = action == Action::Stop ? service->Control(SERVICE_CONTROL_STOP, ignored) : service->Start();
    if (status != ERROR_SUCCESS) {
        Tell(std::string(failurePrefix) + " on " + computer_ + ".\n\n" + SystemErrorText(status));
        return false;
    }
    return true;
}

}  // namespace vn
