#pragma once

#include <string>

#include "LabTestEnvironment.h"
#include "SambaLab.h"

namespace vn::lab {

// The file-server lab, with a loopback-only client configuration.
class SmbLabEnvironment : public LabTestEnvironment<SambaLab> {
public:
    // Seconds since the lab in use was started; -1 when that is not known.
    static double SecondsSinceLabStart() { return Root().empty() ? -1 : SambaLab::SecondsSinceStart(Root()); }

    static std::string Host(int index) { return SambaLab::Hosts().at(static_cast<std::size_t>(index)).address; }
};

// Each program that includes this header sets the lab up once, before its first test.
inline const auto* const kSmbLabRegistration = ::testing::AddGlobalTestEnvironment(new SmbLabEnvironment::Registration);

}  // namespace vn::lab
