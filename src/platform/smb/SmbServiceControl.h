#pragma once

#include "platform/ServiceControl.h"
#include "platform/smb/SmbConnector.h"

namespace vn::smb {

// The service control manager of other computers (\svcctl).
class SmbServiceControl : public ServiceControl {
public:
    explicit SmbServiceControl(SmbConnector& connector) : connector_(connector) {}

    [[nodiscard]] Status OpenManager(std::string_view computer, std::uint32_t access,
                                     std::unique_ptr<ServiceManagerHandle>& result) override;

private:
    SmbConnector& connector_;
};

}  // namespace vn::smb
