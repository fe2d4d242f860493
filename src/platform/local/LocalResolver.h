#pragma once

#include <string>
#include <vector>

#include "platform/Network.h"

namespace vn {

// Name resolution, IPv4 only. A computer's name is looked up the way the
// Samba client that reaches the computer looks it up: through the system's
// resolver (getaddrinfo), WINS servers and broadcasts, in the order of the
// client configuration's "name resolve order". So NetBIOS names of the
// network resolve as they do on Windows. This computer's own name and
// addresses come from the system (getnameinfo, the interfaces).
class LocalResolver : public Resolver {
public:
    // Samba client configuration files, the first that can be read counts.
    explicit LocalResolver(std::vector<std::string> sambaConfigFiles);
    LocalResolver();

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

private:
    IPv4 ResolveAsSambaClient(std::string_view name) const;

    std::vector<std::string> sambaConfigFiles_;
};

}  // namespace vn
