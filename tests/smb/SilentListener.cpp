#include "SilentListener.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "LabProcess.h"

namespace vn::smb::testing {

SilentListener::SilentListener(const std::string& address, int port) : fd_(lab::ListenOnLoopback(address, port)) {
    if (fd_ >= 0)
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
