#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/FakePlatformCallLog.h"

namespace vn::test {

// What every part of the fake platform shares: the lock over the simulated
// network, the call log, the per-operation delays and the call hook, and the
// count of handles not yet closed.
class FakePlatformCore {
public:
    using CallHook = std::function<void(const FakeCall&)>;

    // Guards every piece of simulated state (computers, hives, services,
    // browse tree, resolver). Never held while a call sleeps or runs the hook.
    std::mutex mutex;
    FakePlatformCallLog log;
    std::atomic<int> openHandles{0};

    // Records the call, then runs the hook and waits the operation's delay
    // plus extraDelay, all outside the lock, so a test can block or slow down
    // any call without blocking the others.
    void Enter(std::string operation, std::string computer, std::vector<std::string> arguments,
               std::chrono::milliseconds extraDelay = {});

    void SetHook(CallHook hook);
    void SetOperationDelay(const std::string& operation, std::chrono::milliseconds delay);

private:
    std::mutex configMutex_;
    CallHook hook_;
    std::map<std::string, std::chrono::milliseconds> delays_;
};

}  // namespace vn::test
