#include <gtest/gtest.h>

#include "detect/RecordingSinks.h"
#include "discovery/ScaledProgressSink.h"
#include "discovery/SubnetRange.h"

namespace vn {
namespace {

constexpr IPv4 Address(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

TEST(SubnetRangeTest, TheLowestSetBitOfTheMaskSetsTheRange) {
    struct Case {
        IPv4 address, mask;
        const char* refusal;
        IPv4 from, to;
    };
    const Case cases[] = {
        {Address(192, 168, 1, 0), Address(255, 255, 255, 0), "", Address(192, 168, 1, 0), Address(192, 168, 1, 255)},
        {Address(10, 0, 0, 77), Address(255, 255, 255, 252), "", Address(10, 0, 0, 76), Address(10, 0, 0, 79)},
        {Address(10, 0, 0, 0), Address(255, 255, 255, 255), "", Address(10, 0, 0, 0), Address(10, 0, 0, 0)},
        // Only the lowest set bit counts: a mask with holes is taken.
        {Address(172, 16, 9, 9), Address(255, 0, 255, 0), "", Address(172, 16, 9, 0), Address(172, 16, 9, 255)},
        {Address(10, 1, 2, 3), Address(128, 0, 0, 0), "", Address(0, 0, 0, 0), Address(127, 255, 255, 255)},
        {0, Address(255, 255, 255, 0), kNetworkAddressEmpty, 0, 0},
        {Address(10, 0, 0, 1), 0, kSubnetMaskEmpty, 0, 0},
    };
    for (const Case& c : cases) {
        AddressRange range;
        EXPECT_EQ(RangeOfSubnet(c.address, c.mask, range), c.refusal) << FormatIPv4(c.address);
        EXPECT_EQ(range.From, c.from) << FormatIPv4(c.address);
        EXPECT_EQ(range.To, c.to) << FormatIPv4(c.address);
    }
}

TEST(SubnetRangeTest, BoundsMustBeGivenAndInOrder) {
    struct Case {
        IPv4 from, to;
        bool valid;
    };
    const Case cases[] = {
        {Address(10, 0, 0, 5), Address(10, 0, 0, 5), true},
        {Address(10, 0, 0, 5), Address(10, 0, 1, 4), true},
        {Address(10, 0, 0, 6), Address(10, 0, 0, 5), false},
        {Address(200, 0, 0, 1), Address(10, 0, 0, 5), false},  // compared unsigned
        {0, Address(10, 0, 0, 5), false},
        {Address(10, 0, 0, 5), 0, false},
    };
    for (const Case& c : cases) {
        AddressRange range;
        EXPECT_EQ(RangeOfBounds(c.from, c.to, range), c.valid ? "" : kInvalidAddressRange) << FormatIPv4(c.from);
        EXPECT_EQ(range.From, c.valid ? c.from : 0u);
    }
    EXPECT_EQ(MaskOfPrefix(0), 0u);
    EXPECT_EQ(MaskOfPrefix(1), Address(128, 0, 0, 0));
    EXPECT_EQ(MaskOfPrefix(24), Address(255, 255, 255, 0));
    EXPECT_EQ(MaskOfPrefix(32), Address(255, 255, 255, 255));
}

TEST(ScaledProgressSinkTest, TheBarIsTrueForAnyNumberOfItems) {
    struct Case {
        std::uint64_t total;
        int range;
    };
    // 70000 would wrap to 4464 on the 16-bit bar; a /15 has 131072 addresses.
    for (const Case c : {Case{255, 255}, Case{65535, 65535}, Case{70000, 65535}, Case{131072, 65535}}) {
        test::RecordingStatusSink target;
        ScaledProgressSink progress(target, c.total);
        EXPECT_EQ(target.Ranges(), std::vector<int>{c.range});
        for (std::uint64_t i = 0; i < c.total / 2; ++i)
            progress.Step();
        const std::vector<int> half = target.Positions();
        EXPECT_EQ(half.back(), c.range / 2) << c.total;
        for (std::uint64_t i = c.total / 2; i < c.total + 3; ++i)  // extra steps stay at the end
            progress.Step();
        const std::vector<int> positions = target.Positions();
        EXPECT_EQ(positions.back(), c.range) << c.total;
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
        EXPECT_EQ(std::adjacent_find(positions.begin(), positions.end()), positions.end()) << "only changes are sent";
        // Positions only: a step on top of the last position would count past it.
        EXPECT_EQ(target.Steps(), c.range);
    }
}

}  // namespace
}  // namespace vn
