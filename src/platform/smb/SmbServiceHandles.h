#pragma once

#include <memory>

#include "platform/ServiceControl.h"
#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcConnection.h"

namespace vn::smb {

// A handle of the remote service control manager; closing it on destruction.
// The manager and the services opened through it share one pipe.
class SmbServiceObject {
public:
    SmbServiceObject(std::shared_ptr<RpcConnection> connection, const ContextHandle& handle)
        : connection_(std::move(connection)),
          handle_(handle) {}
    ~SmbServiceObject();
    SmbServiceObject(const SmbServiceObject&) = delete;
    SmbServiceObject& operator=(const SmbServiceObject&) = delete;

protected:
    std::shared_ptr<RpcConnection> connection_;
    ContextHandle handle_;
};

class SmbServiceHandle : public ServiceHandle, private SmbServiceObject {
public:
    using SmbServiceObject::SmbServiceObject;
    [[nodiscard]] Status QueryStatus(ServiceStatus& status) override;
    [[nodiscard]] Status Start() override;
    [[nodiscard]] Status Control(std::uint32_t control, ServiceStatus& status) override;
};

class SmbServiceManagerHandle : public ServiceManagerHandle, private SmbServiceObject {
public:
    using SmbServiceObject::SmbServiceObject;
    [[nodiscard]] Status OpenService(std::string_view name, std::uint32_t access,
                                     std::unique_ptr<ServiceHandle>& result) override;
};

}  // namespace vn::smb
