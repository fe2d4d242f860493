#include "cli/InterruptWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace vn::cli {
namespace {

// The handler may only write to a pipe: the reading end is polled instead.
std::atomic<int> g_interruptWriteFd{-1};
int g_interruptReadFd = -1;

void OnInterrupt(int) {
    const int savedErrno = errno;
    const char byte = 1;
    if (const int fd = g_interruptWriteFd.load(); fd >= 0 && write(fd, &byte, 1) < 0) {
        // A full pipe holds interrupts enough.
    }
    errno = savedErrno;
}

}  // namespace

InterruptWatch::InterruptWatch() {
    int fds[2];
    if (g_interruptReadFd >= 0 || pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    owner_ = true;
    g_interruptReadFd = fds[0];
    g_interruptWriteFd.store(fds[1]);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    active_ = sigaction(SIGINT, &action, &previous_) == 0;
}

InterruptWatch::~InterruptWatch() {
    if (!owner_)
        return;
    if (active_)
        sigaction(SIGINT, &previous_, nullptr);
    close(g_interruptWriteFd.exchange(-1));
    close(g_interruptReadFd);
    g_interruptReadFd = -1;
}

bool InterruptWatch::WaitForInterruptOr(int doneFd) {
    for (;;) {
        pollfd fds[2] = {{doneFd, POLLIN, 0}, {active_ ? g_interruptReadFd : -1, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (fds[1].revents & POLLIN) {
            char byte = 0;
            if (read(g_interruptReadFd, &byte, 1) == 1)
                return true;
        }
        if (fds[0].revents != 0)
            return false;
    }
}

}  // namespace vn::cli
