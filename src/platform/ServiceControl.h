#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Status.h"

namespace vn {

inline constexpr std::uint32_t SC_MANAGER_ALL_ACCESS = 0xF003F;
inline constexpr std::uint32_t SERVICE_ALL_ACCESS = 0xF01FF;
inline constexpr std::uint32_t SERVICE_QUERY_STATUS = 0x0004;
inline constexpr std::uint32_t SERVICE_START = 0x0010;
inline constexpr std::uint32_t SERVICE_STOP = 0x0020;
inline constexpr std::uint32_t SERVICE_CONTROL_STOP = 1;

inline constexpr std::uint32_t SERVICE_STOPPED = 1;
inline constexpr std::uint32_t SERVICE_START_PENDING = 2;
inline constexpr std::uint32_t SERVICE_STOP_PENDING = 3;
inline constexpr std::uint32_t SERVICE_RUNNING = 4;
inline constexpr std::uint32_t SERVICE_CONTINUE_PENDING = 5;
inline constexpr std::uint32_t SERVICE_PAUSE_PENDING = 6;
inline constexpr std::uint32_t SERVICE_PAUSED = 7;

// SERVICE_STATUS.
struct ServiceStatus {
    std::uint32_t serviceType = 0;
    std::uint32_t currentState = 0;
    std::uint32_t controlsAccepted = 0;
    std::uint32_t win32ExitCode = 0;
    std::uint32_t serviceSpecificExitCode = 0;
    std::uint32_t checkPoint = 0;
    std::uint32_t waitHint = 0;
};

// An open service; destroying it is CloseServiceHandle.
class ServiceHandle {
public:
    virtual ~ServiceHandle() = default;
    [[nodiscard]] virtual Status QueryStatus(ServiceStatus& status) = 0;
    [[nodiscard]] virtual Status Start() = 0;
    [[nodiscard]] virtual Status Control(std::uint32_t control, ServiceStatus& status) = 0;
};

// An open service control manager; destroying it is CloseServiceHandle.
class ServiceManagerHandle {
public:
    virtual ~ServiceManagerHandle() = default;
    [[nodiscard]] virtual Status OpenService(std::string_view name, std::uint32_t access,
                                             std::unique_ptr<ServiceHandle>& result) = 0;
};

class ServiceControl {
public:
    virtual ~ServiceControl() = default;

    // OpenSCManager on the default database; computer "" is this computer.
    [[nodiscard]] virtual Status OpenManager(std::string_view computer, std::uint32_t access,
                                             std::unique_ptr<ServiceManagerHandle>& result) = 0;
};

}  // namespace vn
