#include "discovery/ScaledProgressSink.h"

#include <algorithm>

namespace vn {

ScaledProgressSink::ScaledProgressSink(StatusSink& target, std::uint64_t total)
    : target_(target),
      total_(total),
      range_(static_cast<int>(std::min(total, kLargestRange))) {
    target_.SetRange(range_);
}

void ScaledProgressSink::Step() {
    std::lock_guard lock(lock_);
    if (done_ == total_)
        return;
    ++done_;
    const int position = static_cast<int>(done_ * static_cast<std::uint64_t>(range_) / total_);
    if (position != position_) {
        position_ = position;
        target_.SetPos(position);
    }
}

}  // namespace vn
