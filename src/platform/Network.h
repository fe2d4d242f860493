#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

// IPv4 addresses are host-order 32-bit values, first octet most significant; 0 is none.
using IPv4 = std::uint32_t;

// "%d.%d.%d.%d".
std::string FormatIPv4(IPv4 address);

// Name resolution and this computer's identity.
class Resolver {
public:
    virtual ~Resolver() = default;

    // gethostbyname: the first IPv4 address of the name, 0 when unresolved.
    virtual IPv4 HostAddress(std::string_view name) = 0;

    // gethostbyaddr: the name of the address; false when it has none.
    virtual bool HostName(IPv4 address, std::string& name) = 0;

    // GetComputerName: false when it cannot be read.
    virtual bool LocalComputerName(std::string& name) = 0;

    // Every IPv4 address of this computer's interfaces, loopback included.
    virtual std::vector<IPv4> LocalAddresses() = 0;
};

class Sockets {
public:
    virtual ~Sockets() = default;

    // True when a TCP connection to address:port succeeds within the time-out.
    virtual bool TestTcpPort(IPv4 address, std::uint16_t port, std::chrono::milliseconds timeout) = 0;
};

}  // namespace vn
