#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vn {

// Runs an action on its own thread once a deadline has passed. Arm sets the
// deadline (a later Arm replaces it); the action runs once per armed
// deadline, without this object's lock held, so it may take its owner's
// locks even while the owner calls Arm under them. The thread starts with the
// first Arm.
class DeadlineThread {
public:
    using Clock = std::chrono::steady_clock;

    explicit DeadlineThread(std::function<void()> action);
    ~DeadlineThread();
    DeadlineThread(const DeadlineThread&) = delete;
    DeadlineThread& operator=(const DeadlineThread&) = delete;

    void Arm(Clock::time_point deadline);

    // Ends the thread, waiting for an action under way; no action runs after.
    void Stop();

private:
    void Run(const std::stop_token& stop);

    const std::function<void()> action_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    bool armed_ = false;
    bool stopped_ = false;
    Clock::time_point deadline_;
    std::jthread thread_;  // last: stopped before the members it uses go
};

}  // namespace vn
