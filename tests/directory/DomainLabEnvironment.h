#pragma once

#include <string>

namespace vn::directory::testing {

// Per test program: the lab domain (the one the suite's fixture started, or
// one of its own when the program runs alone) and a temporary HOME whose
// Samba client configuration makes this computer a member of it and keeps
// every packet on loopback. The lab's TLS certificate is its own, so
// certificate checks are off for the programs' LDAP.
class DomainLabEnvironment {
public:
    static void SetUpOnce();
    static void TearDownOnce();

    // Empty when the domain runs; otherwise why the tests cannot.
    static const std::string& Unavailable();
    static const std::string& Home();
};

}  // namespace vn::directory::testing
