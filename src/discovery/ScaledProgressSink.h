#pragma once

#include <cstdint>
#include <mutex>

#include "core/StatusSink.h"

namespace vn {

// The progress of a walk over any number of items on a bar that takes at
// most 65535 steps: each Step counts one item done, and the bar is moved
// whenever the scaled position changes, so it stays true for any range.
// Everything else goes to the target as it is. Thread-safe.
class ScaledProgressSink final : public StatusSink {
public:
    static constexpr std::uint64_t kLargestRange = 0xFFFF;

    // Sets the target's range for total items.
    ScaledProgressSink(StatusSink& target, std::uint64_t total);

    void Reset() override { target_.Reset(); }
    void Show(bool show) override { target_.Show(show); }
    void ShowIdle() override { target_.ShowIdle(); }
    bool IsShown() override { return target_.IsShown(); }
    void SetStatusText(const std::string& text) override { target_.SetStatusText(text); }
    void SetRange(int upper) override { target_.SetRange(upper); }
    void Step() override;
    void SetPos(int position) override { target_.SetPos(position); }

    int Range() const { return range_; }

private:
    StatusSink& target_;
    const std::uint64_t total_;
    const int range_;
    std::mutex lock_;  // keeps the positions the bar is given in order
    std::uint64_t done_ = 0;
    int position_ = 0;
};

}  // namespace vn
