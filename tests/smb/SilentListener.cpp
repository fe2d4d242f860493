#include "SilentListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vn::smb::testing {

SilentListener::SilentListener(const std::string& address, int port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    // Loopback only.
    if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 || (ntohl(local.sin_addr.s_addr) >> 24) != 127)
        return;
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (fd_ < 0 || bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || listen(fd_, 16) != 0) {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
        return;
    }
    thread_ = std::thread([this] { AcceptLoop(); });
}

SilentListener::~SilentListener() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (fd_ >= 0)
        close(fd_);
}

void SilentListener::AcceptLoop() {
    while (!stop_) {
        pollfd waiting{fd_, POLLIN, 0};
        if (poll(&waiting, 1, 50) == 1) {
            const int connection = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                connections_.push_back(connection);
                ++accepted_;
            }
        }
    }
    for (int connection : connections_)
        close(connection);
}

}  // namespace vn::smb::testing
