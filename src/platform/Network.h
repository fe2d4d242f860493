#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

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

// A range of addresses to sweep for TCP ports that accept a connection.
struct SweepRequest {
    static constexpr std::size_t kDefaultParallel = 512;

    IPv4 First = 0;
    IPv4 Last = 0;                            // included
    std::vector<std::uint16_t> Ports;         // tried in turn; the first that accepts ends the address
    std::size_t Parallel = kDefaultParallel;  // attempts in flight at most
};

// What a sweep reports, on the thread that runs it.
class SweepObserver {
public:
    virtual ~SweepObserver() = default;

    // The address's answer is final: accepted on one of the ports, or not.
    virtual void Tested(IPv4 address, bool accepted) = 0;
    // Asked between waits, at least every few hundred milliseconds, with the
    // number of attempts in flight; false ends the sweep at once.
    virtual bool Continue(std::size_t inFlight) = 0;
    // An address left unanswered gets its second attempt.
    virtual void Retrying(IPv4 /*address*/) {}
};

class Sockets {
public:
    virtual ~Sockets() = default;

    // True when a TCP connection to address:port succeeds within the time-out.
    virtual bool TestTcpPort(IPv4 address, std::uint16_t port, std::chrono::milliseconds timeout) = 0;

    // Tests every address of the range, many at once. ERROR_SUCCESS when all
    // were tested; ERROR_CANCELLED when the observer ended it;
    // ERROR_TOO_MANY_OPEN_FILES when not a single connection could be opened.
    [[nodiscard]] virtual Status SweepTcpPorts(const SweepRequest& request, SweepObserver& observer) = 0;
};

}  // namespace vn
