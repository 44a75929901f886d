#include "core/pipo/QualityRating.h"
#include "core/pipo/ScanDisplays.h"

#include <gtest/gtest.h>

namespace {

ScanDisplayTexts Displays(const char* piAvg, const char* piPeak, const char* pifAvg, const char* pifPeak,
                          const char* jitterAvg = "---", const char* jitterPeak = "---")
{
    ScanDisplayTexts texts;
    texts.piAvg = piAvg;
    texts.piPeak = piPeak;
    texts.pifAvg = pifAvg;
    texts.pifPeak = pifPeak;
    texts.jitterAvg = jitterAvg;
    texts.jitterPeak = jitterPeak;
    return texts;
}

}  // namespace

TEST(QualityRating, WorkedExamples)
{
    EXPECT_NEAR(CalcPIScore(10, 100), 96.16, 0.005);
    EXPECT_FLOAT_EQ(CalcPIFScore(1, 5), 93.0f);
    EXPECT_EQ(RateScanDisplays(Displays("10", "100", "1", "5"), false).caption, "Quality Rating 94.58%");

    EXPECT_NEAR(CalcPIScore(100, 400), 46.30, 0.005);
    EXPECT_FLOAT_EQ(CalcPIFScore(10, 50), 30.0f);
    EXPECT_EQ(RateScanDisplays(Displays("100", "400", "10", "50"), false).caption, "Quality Rating 38.15%");
}

TEST(QualityRating, SubScoresAreCappedAboveOnly)
{
    EXPECT_EQ(CalcPIScore(0, 0), 100.0f) << "100.2 before the cap";
    EXPECT_FLOAT_EQ(CalcPIFScore(0, 1), 99.5f);
    EXPECT_FLOAT_EQ(CalcQualityRating(0, 0, 0, 1), 99.75f);
    EXPECT_FLOAT_EQ(CalcPIFScore(20, 100), -40.0f);
    EXPECT_LT(CalcQualityRating(3000, 6000, 20, 100), 0.0f);
}

TEST(QualityRating, DisplayedRating)
{
    struct Case {
        ScanDisplayTexts displays;
        bool withJitter;
        float rating;
        const char* caption;
    };
    const Case cases[] = {
        {Displays("0", "0", "0", "0"), false, 0.0f, "Quality Rating"},
        {Displays("", "", "", ""), true, 0.0f, "Quality Rating"},
        {Displays("0", "0", "0", "1"), false, 99.75f, "Quality Rating 99.75%"},
        {Displays("3000", "6000", "20", "100"), false, 0.0f, "Quality Rating 0.00%"},
        // Jitter at or below 7 % counts as 7 %: a sub-score of 100 after the cap.
        {Displays("0", "0", "0", "1", "5.0%", "6.5%"), true, (100.0f + 99.5f + 100.0f) / 3, "Quality Rating 99.83%"},
        // Above 20 % counts as 20 %: -2.
        {Displays("0", "0", "0", "1", "25%", "31.5%"), true, (100.0f + 99.5f - 2.0f) / 3, "Quality Rating 65.83%"},
        // Display texts with trailing characters read by their leading number.
        {Displays("0 ", "0x", "0", "1abc", "8.0%", "10.0%"), true, (100.0f + 99.5f + 95.0f) / 3,
         "Quality Rating 98.17%"},
    };
    for (const Case& c : cases) {
        const QualityRatingCaption result = RateScanDisplays(c.displays, c.withJitter);
        EXPECT_NEAR(result.rating, c.rating, 1e-4) << c.caption;
        EXPECT_EQ(result.caption, c.caption);
    }
}
