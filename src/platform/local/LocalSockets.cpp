#include "platform/local/LocalSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/local/PortSweep.h"

namespace vn {
namespace {

// Closes the socket on every path.
struct SocketHolder {
    int fd;
    ~SocketHolder() {
        if (fd >= 0)
            close(fd);
    }
};

// Waits for the connect to finish; false on time-out or failure.
bool ConnectFinished(int fd, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, POLLOUT, 0};
        const int ready = poll(&entry, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0)));
        if (ready > 0)
            break;
        if (ready == 0 || errno != EINTR)
            return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace

bool LocalSockets::TestTcpPort(IPv4 address, std::uint16_t port, std::chrono::milliseconds timeout) {
    SocketHolder socket{::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return false;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr.s_addr = htonl(address);
    if (connect(socket.fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0)
        return true;
    return errno == EINPROGRESS && ConnectFinished(socket.fd, timeout);
}

Status LocalSockets::SweepTcpPorts(const SweepRequest& request, SweepObserver& observer) {
    PortSweep sweep(request, observer);
    return sweep.Run();
}

}  // namespace vn
