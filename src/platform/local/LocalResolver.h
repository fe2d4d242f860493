#pragma once

#include "platform/Network.h"

namespace vn {

// Name resolution through the system's resolver (getaddrinfo, getnameinfo),
// IPv4 only.
class LocalResolver : public Resolver {
public:
    // The first IPv4 address of the name; "" stands for this computer's host
    // name, as gethostbyname("") does.
    IPv4 HostAddress(std::string_view name) override;
    bool HostName(IPv4 address, std::string& name) override;
    bool LocalComputerName(std::string& name) override;

    // Loopback addresses of the interfaces first, then the host name's own
    // addresses (e.g. Debian's 127.0.1.1), then the other interfaces'
    // addresses, each once: the last entry is a real network address when
    // the computer has one.
    std::vector<IPv4> LocalAddresses() override;
};

}  // namespace vn
