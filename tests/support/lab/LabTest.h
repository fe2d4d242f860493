#pragma once

#include <gtest/gtest.h>

namespace vn::lab {

// A test against a lab: skipped where the lab's software is not installed,
// failed where it is but the lab did not start. SetUpLab runs only when the
// lab is there.
template <typename Environment>
class LabTest : public ::testing::Test {
protected:
    void SetUp() final {
        if (Environment::Missing())
            GTEST_SKIP() << Environment::Unavailable();
        ASSERT_EQ(Environment::Unavailable(), "");
        SetUpLab();
    }

    virtual void SetUpLab() {}
};

}  // namespace vn::lab
