#include "platform/ConnectTimeout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace std::chrono_literals;

namespace vn {
namespace {

TEST(ConnectTimeoutTest, RoundTripSeriesGiveTheirLimits) {
    using Us = std::chrono::microseconds;
    struct Case {
        const char* what;
        std::vector<Us> roundTrips;
        Us limit;
    };
    const Case cases[] = {
        {"nothing measured yet", {}, 1s},
        // first sample r: smoothed r, deviation r/2, limit r + 2r
        {"one 200 ms answer", {200ms}, 600ms},
        {"one loopback answer is held at the floor", {50us}, 100ms},
        {"a far host is held at the ceiling", {3s}, 5s},
        // 100, 100: deviation 50 -> 37.5, smoothed 100; 100 + 150
        {"a steady series narrows", {100ms, 100ms}, 250ms},
        // 100 then 300: deviation (150 + 200) / 4 = 87.5, smoothed 125; 125 + 350
        {"a slow answer widens", {100ms, 300ms}, 475ms},
        // a refused answer at 0 counts as a round trip too
        {"instant answers after a slow one", {400ms, 0us, 0us}, Us{1'406'250}},
    };
    for (const Case& c : cases) {
        ConnectTimeout timeout;
        for (Us roundTrip : c.roundTrips)
            timeout.AddRoundTrip(roundTrip);
        EXPECT_EQ(timeout.Limit(), c.limit) << c.what;
    }
}

}  // namespace
}  // namespace vn
