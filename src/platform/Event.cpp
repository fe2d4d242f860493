#include "platform/Event.h"

namespace vn {

Event::Event(Mode mode, bool initiallySet) : mode_(mode), set_(initiallySet) {}

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    if (mode_ == Mode::AutoReset)
        changed_.notify_one();
    else
        changed_.notify_all();
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool Event::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [this] { return set_; }))
        return false;
    if (mode_ == Mode::AutoReset)
        set_ = false;
    return true;
}

void Event::WaitForever() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return set_; });
    if (mode_ == Mode::AutoReset)
        set_ = false;
}

}  // namespace vn
