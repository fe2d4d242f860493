#include "platform/local/hive/DeadlineThread.h"

namespace vn {

DeadlineThread::DeadlineThread(std::function<void()> action) : action_(std::move(action)) {}

DeadlineThread::~DeadlineThread() { Stop(); }

void DeadlineThread::Arm(Clock::time_point deadline) {
    std::lock_guard lock(mutex_);
    if (stopped_)
        return;
    deadline_ = deadline;
    armed_ = true;
    if (!thread_.joinable())
        thread_ = std::jthread([this](const std::stop_token& stop) { Run(stop); });
    else
        changed_.notify_one();
}

void DeadlineThread::Stop() {
    std::jthread finished;
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        finished = std::move(thread_);
    }
    // The jthread's destructor asks the thread to stop and joins it.
}

void DeadlineThread::Run(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        if (!armed_) {
            changed_.wait(lock, stop, [this] { return armed_; });
            continue;
        }
        const Clock::time_point deadline = deadline_;
        if (Clock::now() < deadline) {
            // Wakes early when re-armed (the deadline may have moved) or stopped.
            changed_.wait_until(lock, stop, deadline, [&] { return deadline_ != deadline || !armed_; });
            continue;
        }
        armed_ = false;
        lock.unlock();
        action_();
        lock.lock();
    }
}

}  // namespace vn
