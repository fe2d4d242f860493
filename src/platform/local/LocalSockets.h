#pragma once

#include "platform/Network.h"

namespace vn {

// TCP port tests with a non-blocking connect. Unlike Windows' select on the
// writable set alone, a refused connection answers false at once instead of
// after the whole time-out.
class LocalSockets : public Sockets {
public:
    bool TestTcpPort(IPv4 address, std::uint16_t port, std::chrono::milliseconds timeout) override;
    // One epoll loop on the calling thread (PortSweep).
    [[nodiscard]] Status SweepTcpPorts(const SweepRequest& request, SweepObserver& observer) override;
};

}  // namespace vn
