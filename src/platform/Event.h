#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vn {

// A Windows-style event. An auto-reset event lets exactly one successful wait
// through per Set and clears itself there; a manual-reset event stays set
// until Reset.
class Event {
public:
    enum class Mode { AutoReset, ManualReset };

    explicit Event(Mode mode = Mode::AutoReset, bool initiallySet = false);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();

    // True when the event was set within the time-out (0 only polls). An
    // auto-reset event is consumed by the wait that sees it.
    bool Wait(std::chrono::milliseconds timeout);
    void WaitForever();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    const Mode mode_;
    bool set_;
};

}  // namespace vn
