#pragma once

#include <csignal>

namespace vn::cli {

// While it lives, Ctrl+C (SIGINT) no longer ends the program but is counted
// here, to be waited for with WaitForInterruptOr. One at a time.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    bool active() const { return active_; }

    // Waits until an interrupt comes (true, the interrupt consumed) or the
    // descriptor doneFd becomes readable (false).
    bool WaitForInterruptOr(int doneFd);

private:
    bool owner_ = false;   // made the pipe
    bool active_ = false;  // the handler is installed
    struct sigaction previous_ {};
};

}  // namespace vn::cli
