#pragma once

#include <chrono>
#include <optional>

namespace vn {

// One deadline for every remote call a thread makes while the scope lives:
// the examination of a computer ends by it, however many calls it takes and
// however slowly the computer answers each. Scopes nest; the earlier deadline
// wins.
class RemoteDeadlineScope {
public:
    using Clock = std::chrono::steady_clock;

    explicit RemoteDeadlineScope(std::chrono::milliseconds limit);
    ~RemoteDeadlineScope();
    RemoteDeadlineScope(const RemoteDeadlineScope&) = delete;
    RemoteDeadlineScope& operator=(const RemoteDeadlineScope&) = delete;

    // The deadline of a remote call of at most limit that starts now on this
    // thread: now + limit, or the scope's deadline when that comes first.
    static Clock::time_point CallDeadline(std::chrono::milliseconds limit);

private:
    std::optional<Clock::time_point> outer_;
};

}  // namespace vn
