#include "support/PlatformOverlay.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace vn::test {
namespace {

// One platform service: how to ask a platform for it, and how to put another
// platform's in its place.
struct Service {
    const char* name;
    const void* (*get)(Platform&);
    void (*use)(PlatformOverlay&, Platform&);
};

#define VN_SERVICE(accessor)                                                                                           \
    Service {                                                                                                          \
#accessor,                                                                                                     \
            [](Platform & p) -> const void* { return &p.accessor(); }, [](PlatformOverlay & overlay,                   \
                                                                          Platform & p) { overlay.Use(p.accessor()); } \
    }
const Service kServices[] = {VN_SERVICE(registry), VN_SERVICE(netInfo),   VN_SERVICE(browser),
                             VN_SERVICE(services), VN_SERVICE(accounts),  VN_SERVICE(resolver),
                             VN_SERVICE(sockets),  VN_SERVICE(processes), VN_SERVICE(https)};
#undef VN_SERVICE

TEST(PlatformOverlayTest, ASwappedServiceComesFromItsStandInEveryOtherFromTheBase) {
    for (const Service& swapped : kServices) {
        FakePlatform base;
        FakePlatform standIn;
        PlatformOverlay overlay(base);
        swapped.use(overlay, standIn);
        for (const Service& asked : kServices) {
            Platform& expected = &asked == &swapped ? static_cast<Platform&>(standIn) : base;
            EXPECT_EQ(asked.get(overlay), asked.get(expected))
                << swapped.name << " swapped, " << asked.name << " asked";
        }
    }
}

}  // namespace
}  // namespace vn::test
