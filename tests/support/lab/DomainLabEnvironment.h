#pragma once

#include "DomainLab.h"
#include "LabTestEnvironment.h"

namespace vn::lab {

// The lab's domain, with this computer a member of it.
using DomainLabEnvironment = LabTestEnvironment<DomainLab>;

// Each program that includes this header sets the domain up once, before its first test.
inline const auto* const kDomainLabRegistration =
    ::testing::AddGlobalTestEnvironment(new DomainLabEnvironment::Registration);

}  // namespace vn::lab
