#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>

// Samples, every 20 ms while it lives, the processes named `name` in /proc
// and keeps the highest resident memory, thread count and open descriptors
// any one of them reached.
class ProcessPeak {
public:
    explicit ProcessPeak(std::string name);
    ~ProcessPeak();
    ProcessPeak(const ProcessPeak&) = delete;
    ProcessPeak& operator=(const ProcessPeak&) = delete;

    // Read after Stop.
    void Stop();
    std::size_t RssKiB() const { return rssKiB_; }
    std::size_t Threads() const { return threads_; }
    std::size_t Descriptors() const { return descriptors_; }

private:
    void Sample();

    std::string name_;
    std::atomic<bool> stop_{false};
    std::size_t rssKiB_ = 0;
    std::size_t threads_ = 0;
    std::size_t descriptors_ = 0;
    std::thread sampler_;
};
