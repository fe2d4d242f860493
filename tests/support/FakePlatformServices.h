#pragma once

#include "platform/ServiceControl.h"
#include "support/FakePlatformComputer.h"

namespace vn::test {

// The service control managers of the simulated computers. Starting and
// stopping change a service's state; a disabled start type refuses to start;
// every call can be refused by status.
class FakeServiceControl final : public ServiceControl {
public:
    FakeServiceControl(FakePlatformCore& core, FakeComputerDirectory& computers) : core_(core), computers_(computers) {}

    Status OpenManager(std::string_view computer, std::uint32_t access,
                       std::unique_ptr<ServiceManagerHandle>& result) override;

private:
    FakePlatformCore& core_;
    FakeComputerDirectory& computers_;
};

}  // namespace vn::test
