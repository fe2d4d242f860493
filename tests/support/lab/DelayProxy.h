#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vn::lab {

// A lab host seen across a slow network: a TCP relay on another loopback
// address that holds every chunk for oneWayDelay in each direction before
// passing it on (chunks keep their order and overtake nothing). Stands in for
// netem delay, which this machine's kernel lacks. Loopback addresses only.
class DelayProxy {
public:
    DelayProxy(const std::string& listenAddress, const std::string& targetAddress,
               std::chrono::milliseconds oneWayDelay, int port = 445);
    ~DelayProxy();
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;

    bool Listening() const { return fd_ >= 0; }
    const std::string& Address() const { return listenAddress_; }

private:
    class Relay;

    void AcceptLoop();

    const std::string listenAddress_;
    const std::string targetAddress_;
    const std::chrono::milliseconds delay_;
    const int port_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::unique_ptr<Relay>> relays_;
    std::thread acceptor_;
};

}  // namespace vn::lab
