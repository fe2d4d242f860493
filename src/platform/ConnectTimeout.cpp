#include "platform/ConnectTimeout.h"

#include <algorithm>

namespace vn {

void ConnectTimeout::AddRoundTrip(Duration roundTrip) {
    roundTrip = std::max(roundTrip, Duration{0});
    if (!measured_) {
        measured_ = true;
        smoothed_ = roundTrip;
        deviation_ = roundTrip / 2;
        return;
    }
    const Duration error = smoothed_ > roundTrip ? smoothed_ - roundTrip : roundTrip - smoothed_;
    deviation_ = (deviation_ * 3 + error) / 4;
    smoothed_ = (smoothed_ * 7 + roundTrip) / 8;
}

ConnectTimeout::Duration ConnectTimeout::Limit() const {
    if (!measured_)
        return kInitial;
    return std::clamp(smoothed_ + deviation_ * 4, kLowest, kHighest);
}

}  // namespace vn
