#include "platform/RemoteDeadline.h"

#include <algorithm>

namespace vn {

namespace {
thread_local std::optional<RemoteDeadlineScope::Clock::time_point> threadDeadline;
}  // namespace

RemoteDeadlineScope::RemoteDeadlineScope(std::chrono::milliseconds limit) : outer_(threadDeadline) {
    const Clock::time_point mine = Clock::now() + limit;
    threadDeadline = outer_ ? std::min(*outer_, mine) : mine;
}

RemoteDeadlineScope::~RemoteDeadlineScope() { threadDeadline = outer_; }

RemoteDeadlineScope::Clock::time_point RemoteDeadlineScope::CallDeadline(std::chrono::milliseconds limit) {
    const Clock::time_point own = Clock::now() + limit;
    return threadDeadline ? std::min(*threadDeadline, own) : own;
}

}  // namespace vn
