#pragma once

#include <chrono>

namespace vn {

// The per-attempt limit of a sweep, learnt from the round trips of the
// addresses that answered: a smoothed round trip plus four deviations (the
// rule TCP uses for its retransmission timer), clamped to 100 ms..5 s. Before
// the first answer it is 1 s.
class ConnectTimeout {
public:
    using Duration = std::chrono::microseconds;

    static constexpr Duration kInitial = std::chrono::seconds(1);
    static constexpr Duration kLowest = std::chrono::milliseconds(100);
    static constexpr Duration kHighest = std::chrono::seconds(5);

    // One measured round trip: a connection accepted or refused.
    void AddRoundTrip(Duration roundTrip);
    Duration Limit() const;

private:
    bool measured_ = false;
    Duration smoothed_{0};
    Duration deviation_{0};
};

}  // namespace vn
