#include "core/base/Percent.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(PercentOf, NeverDividesByZeroAndStaysWithinTheBar)
{
    struct Case {
        std::int64_t done;
        std::int64_t total;
        int percent;
    };
    // clang-format off
    const Case cases[] = {
        {0, 0, 0},  {5, 0, 0},  {3, -1, 0},             // nothing to do
        {0, 1, 0},  {1, 1, 100}, {40, 99, 40},           // a disc of fewer than 100 blocks
        {50, 100, 50}, {99, 100, 99}, {100, 100, 100},
        {2295104, 2295104, 100}, {1147552, 2295105, 49},  // a full DVD
        {-3, 10, 0}, {11, 10, 100},                       // outside the range
        {INT64_MAX / 50, INT64_MAX / 50, 100},            // no overflow on the way
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(PercentOf(c.done, c.total), c.percent) << c.done << " of " << c.total;
}
