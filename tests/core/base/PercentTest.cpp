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

TEST(LongOperationPercent, ShowsOnePercentOnceBegunAndStopsAtAHundred)
{
    struct Case {
        std::int64_t done;
        std::int64_t total;
        int percent;
    };
    // clang-format off
    const Case cases[] = {
        {0, 65536, 1}, {1, 65536, 1}, {655, 65536, 1}, {656, 65536, 2},   // value x 100 / 65536 + 1
        {32768, 65536, 51}, {64880, 65536, 99}, {64881, 65536, 100}, {65535, 65536, 100},  // capped at 100
        {49999, 50000, 100}, {25000, 50000, 51},                           // the BD wait's 50,000
        {99, 100, 100}, {0, 100, 1},                                       // the BD writes counted
        {5, 0, 0}, {-4, 65536, 1}, {INT64_MAX, 65536, 100},                 // no division by 0, no overflow
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(LongOperationPercent(c.done, c.total), c.percent) << c.done << " of " << c.total;
}
