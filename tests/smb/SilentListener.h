#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace vn::smb::testing {

// A host that takes TCP connections on address:port and never says a word:
// what a hung or overloaded server looks like to a client.
class SilentListener {
public:
    SilentListener(const std::string& address, int port);
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    bool Listening() const { return fd_ >= 0; }
    int Accepted() const { return accepted_; }

private:
    void AcceptLoop();

    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    std::vector<int> connections_;  // accept thread only
    std::thread thread_;
};

}  // namespace vn::smb::testing
