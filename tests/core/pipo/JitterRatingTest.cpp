#include "core/pipo/JitterRating.h"
#include "core/pipo/QualityRating.h"

#include <gtest/gtest.h>

TEST(JitterRating, JitterSubScore)
{
    struct Case {
        float average;
        float peak;
        float score;
    };
    const Case cases[] = {{8.0f, 8.0f, 100.0f},
                          {7.0f, 7.0f, 100.0f} /* 108.5 capped */,
                          {20.0f, 20.0f, -2.0f},
                          {10.0f, 12.0f, 78.0f},
                          {8.0f, 10.0f, 95.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(CalcJitterScore(c.average, c.peak), c.score) << c.average << "/" << c.peak;
}

TEST(JitterRating, ThreePartRatingIsTheMeanOfTheSubScores)
{
    const float expected = static_cast<float>(
        (static_cast<double>(CalcPIScore(10, 100)) + CalcPIFScore(1, 5) + CalcJitterScore(10, 12)) / 3.0);
    EXPECT_EQ(CalcQualityRatingWithJitter(10, 100, 1, 5, 10, 12), expected);
    EXPECT_NEAR(expected, (96.155 + 93.0 + 78.0) / 3, 0.01);
    // A negative sub-score enters unchanged.
    EXPECT_NEAR(CalcQualityRatingWithJitter(0, 0, 0, 0, 20, 20), (100.0 + 100.0 - 2.0) / 3, 1e-4);
    EXPECT_EQ(ClampRatedJitter(3.0f), 7.0f);
    EXPECT_EQ(ClampRatedJitter(25.0f), 20.0f);
    EXPECT_EQ(ClampRatedJitter(8.4f), 8.4f);
}
