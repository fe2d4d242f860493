#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/ProductDef.h"
#include "core/MessageBoxService.h"
#include "platform/Platform.h"

namespace vn {

enum class ServiceState { Started, Stopped, Unknown };

// The remote work of the service manager on one computer: its service
// control manager, the services' states, their startup types in the registry,
// and starting and stopping them with their maintenance services. Failures
// are told through the message boxes given, in the order they happen.
class RemoteServices {
public:
    // writeErrorShown: whether the startup-type write error has been shown;
    // the program shows it once in its run (the default flag).
    RemoteServices(Platform& platform, std::string computer, MessageBoxService& messages,
                   std::atomic<bool>& writeErrorShown = ProcessWriteErrorShown());
    ~RemoteServices();

    const std::string& Computer() const { return computer_; }

    // Opens the computer's service control manager; a failure is told and
    // leaves every service Unknown.
    bool OpenManager();
    bool HasManager() const { return manager_ != nullptr; }

    ServiceState QueryServiceState(std::string_view serviceName);

    // The "Start" value of the product's service key, 0 when it cannot be read.
    std::uint32_t ReadStartupType(const ProductDef& product);
    // Writes "Start"; false when the key could not be opened for writing or
    // the write failed.
    bool WriteStartupType(const ProductDef& product, std::uint32_t start);

    // Stop the maintenance service first, start it first; true when the
    // main service took the request.
    bool StopRemoteService(std::string_view serviceName);
    bool StartRemoteService(std::string_view serviceName);

    static std::atomic<bool>& ProcessWriteErrorShown();

private:
    enum class Action { Start, Stop };
    bool Control(std::string_view serviceName, Action action);
    bool ControlOne(std::string_view serviceName, Action action, std::string_view failurePrefix);
    void Tell(std::string_view text);

    Platform& platform_;
    std::string computer_;
    MessageBoxService& messages_;
    std::atomic<bool>& writeErrorShown_;
    std::unique_ptr<ServiceManagerHandle> manager_;
};

}  // namespace vn
