#include "support/FakePlatformCore.h"

#include <thread>

namespace vn::test {

void FakePlatformCore::Enter(std::string operation, std::string computer, std::vector<std::string> arguments,
                             std::chrono::milliseconds extraDelay) {
    FakeCall call{std::move(operation), std::move(computer), std::move(arguments)};
    log.Add(call);
    CallHook hook;
    std::chrono::milliseconds delay = extraDelay;
    {
        std::lock_guard lock(configMutex_);
        hook = hook_;
        if (auto it = delays_.find(call.operation); it != delays_.end())
            delay += it->second;
    }
    if (hook)
        hook(call);
    if (delay.count() > 0)
        std::this_thread::sleep_for(delay);
}

void FakePlatformCore::SetHook(CallHook hook) {
    std::lock_guard lock(configMutex_);
    hook_ = std::move(hook);
}

void FakePlatformCore::SetOperationDelay(const std::string& operation, std::chrono::milliseconds delay) {
    std::lock_guard lock(configMutex_);
    delays_[operation] = delay;
}

}  // namespace vn::test
