#pragma once

#include <string>

#include "SambaLab.h"

namespace vn::smb::testing {

// Per test program: a temporary HOME with a loopback-only client
// configuration, and the lab, either the one the test suite's fixture
// started or, when the program runs on its own, one of its own.
class SmbLabEnvironment {
public:
    static void SetUpOnce();
    static void TearDownOnce();

    // Empty when the lab runs; otherwise why the end-to-end tests cannot.
    static const std::string& Unavailable();
    static bool SambaMissing();

    // Seconds since the lab in use was started; -1 when that is not known.
    static double SecondsSinceLabStart();

    static std::string Host(int index) { return lab::SambaLab::Hosts().at(static_cast<std::size_t>(index)).address; }
};

}  // namespace vn::smb::testing
