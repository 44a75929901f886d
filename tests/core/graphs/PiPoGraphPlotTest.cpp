#include "core/graphs/PiPoGraphPlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

constexpr COLORREF kGrid = 0x6D6D6D;
constexpr COLORREF kHalf = 0x363636;
constexpr COLORREF kBack = 0x101010;
constexpr COLORREF kPI = 0x00FF00;
constexpr COLORREF kSpeed = 0x0000FF;
constexpr COLORREF kWhite = 0xFFFFFF;

std::size_t BackgroundSize()
{
    std::vector<PlotStep> background;
    AppendPiPoBackground(background, kGrid, kHalf, kBack);
    return background.size();
}

// The steps a graph draws beyond the background.
std::vector<PlotStep> AfterBackground(const std::vector<PlotStep>& steps)
{
    return std::vector<PlotStep>(steps.begin() + static_cast<std::ptrdiff_t>(BackgroundSize()), steps.end());
}

PiPoUpperState UpperWith(std::vector<std::int32_t> pi, std::vector<std::int32_t> speed)
{
    PiPoUpperState s;
    s.data.pi = std::move(pi);
    s.data.speed = std::move(speed);
    s.data.piFactor = 4.0f;
    s.data.speedFactor = 1.0f;
    s.data.frame.endMarkerX = 449;
    s.look.progressive = 0;
    s.look.endMarkerPen = kWhite;
    s.piPen = kPI;
    s.speedPen = kSpeed;
    return s;
}

}  // namespace

TEST(PiPoGraphPlot, BackgroundIsAFilledPlotWithFineAndMajorGrid)
{
    std::vector<PlotStep> steps;
    AppendPiPoBackground(steps, kGrid, kHalf, kBack);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), PlotFillRect(kBack, 0, 0, 450, 162));
    const auto count = [&](const PlotStep& step) { return std::count(steps.begin(), steps.end(), step); };
    EXPECT_EQ(count(PlotLine(kHalf, 10, 0, 10, 162)), 1);
    EXPECT_EQ(count(PlotLine(kHalf, 440, 0, 440, 162)), 1);
    EXPECT_EQ(count(PlotLine(kHalf, 0, 8, 450, 8)), 1);
    EXPECT_EQ(count(PlotLine(kHalf, 0, 160, 450, 160)), 1);
    EXPECT_EQ(count(PlotLine(kGrid, 449, 0, 449, 161)), 1) << "frame";
    EXPECT_EQ(count(PlotLine(kGrid, 450, 0, 450, 162)), 1);
    EXPECT_EQ(count(PlotLine(kGrid, 0, 128, 450, 128)), 1);
    const auto halfLines = std::count_if(steps.begin(), steps.end(),
                                         [](const PlotStep& s) { return s.color == kHalf; });
    const auto gridLines = std::count_if(steps.begin(), steps.end(),
                                         [](const PlotStep& s) { return s.color == kGrid; });
    EXPECT_EQ(halfLines, 44 + 20);
    EXPECT_EQ(gridLines, 4 + 9 + 5);
}

TEST(PiPoGraphPlot, LineAndBlockModesOfASmallSeries)
{
    PiPoUpperState s = UpperWith({10, 20, 5}, {40, 80, 120});
    EXPECT_EQ(AfterBackground(BuildUpperGraphPlot(s)),
              (std::vector<PlotStep>{
                  PlotLine(kPI, 0, 120, 0, 80), PlotLine(kPI, 0, 80, 1, 140),  // PI, from sample 0
                  PlotLine(kSpeed, 0, 120, 0, 80), PlotLine(kSpeed, 0, 80, 1, 40),  // speed
                  PlotLine(kWhite, 449, 1, 449, 161),  // end marker
              }));

    s.data.piLineMode = 0;
    s.data.showSpeed = 0;
    s.data.frame.endMarkerX = 0;
    EXPECT_EQ(AfterBackground(BuildUpperGraphPlot(s)), (std::vector<PlotStep>{PlotLine(kPI, 0, 160, 0, 80)}))
        << "block bars from the baseline; an end marker at 0 leaves column 0 only";
}

TEST(PiPoGraphPlot, ProgressiveColouringFollowsTheValueBands)
{
    PiPoUpperState s = UpperWith({0, 100, 249, 3}, {});
    s.look.progressive = 1;
    s.data.piFactor = 0.5f;
    const std::vector<PlotStep> steps = AfterBackground(BuildUpperGraphPlot(s));
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].color, 0x00FFC0u) << "100 is band 13";
    EXPECT_EQ(steps[1].color, 0x0000FFu) << "249 is band 32";
    EXPECT_EQ(steps[2].color, 0x00FF00u);

    PiPoLowerState lower;
    lower.data.pif = {0, 17, 40};
    lower.data.po = {0, 0, 0};
    lower.data.showPO = 0;
    lower.showJitter = 0;
    lower.data.frame.endMarkerX = 449;
    const std::vector<PlotStep> lowerSteps = AfterBackground(BuildLowerGraphPlot(lower));
    ASSERT_EQ(lowerSteps.size(), 3u) << "two samples and the end marker";
    EXPECT_EQ(lowerSteps[0].color, 0x00FFFFu) << "17 is lower band 9";
    EXPECT_EQ(lowerSteps[1].color, 0x0000FFu);
}

TEST(PiPoGraphPlot, SeriesStopAtTheEndMarkerAndTheLastColumn)
{
    std::vector<std::int32_t> many(600, 1);
    PiPoUpperState s = UpperWith(many, {});
    s.data.frame.endMarkerX = 5000;
    std::vector<PlotStep> steps = AfterBackground(BuildUpperGraphPlot(s));
    ASSERT_EQ(steps.size(), 451u);
    EXPECT_EQ(steps[449].x2, 449);

    s.data.frame.endMarkerX = 100;
    steps = AfterBackground(BuildUpperGraphPlot(s));
    ASSERT_EQ(steps.size(), 102u);
    EXPECT_EQ(steps[100].x2, 100);

    s = UpperWith({50}, {10});
    EXPECT_EQ(AfterBackground(BuildUpperGraphPlot(s)).size(), 1u) << "one sample is a start point only";
}

TEST(PiPoGraphPlot, LowerGraphDrawsJitterOnlyWithPIFSamples)
{
    PiPoLowerState s;
    s.data.jitter = {80, 100, 90};
    s.data.frame.endMarkerX = 449;
    s.jitterFactor = 1.6f;
    s.jitterPen = 0xABCDEF;
    s.look.endMarkerPen = kWhite;
    EXPECT_EQ(AfterBackground(BuildLowerGraphPlot(s)), (std::vector<PlotStep>{PlotLine(kWhite, 449, 1, 449, 161)}));

    s.data.pif = {0};
    s.data.po = {0};
    const std::vector<PlotStep> steps = AfterBackground(BuildLowerGraphPlot(s));
    // Jitter sample i sits in column i: trunc(160 - 80 x 1.6) = 32.
    EXPECT_EQ(steps,
              (std::vector<PlotStep>{PlotLine(0xABCDEF, 0, 32, 1, 0), PlotLine(0xABCDEF, 1, 0, 2, 16),
                                     PlotLine(kWhite, 449, 1, 449, 161)}));
}

TEST(PiPoGraphPlot, RowsStayOnThePlotForAnyValue)
{
    EXPECT_EQ(PiPoPlotY(0, 16.0f), 160);
    EXPECT_EQ(PiPoPlotY(9, 16.0f), 16);
    EXPECT_EQ(PiPoPlotY(11, 16.0f), 0);
    EXPECT_EQ(PiPoPlotY(3, 0.0625f), 160) << "truncated";
    EXPECT_EQ(PiPoPlotY(std::numeric_limits<int>::max(), 16.0f), 0);
    EXPECT_EQ(PiPoPlotY(std::numeric_limits<int>::min(), 16.0f), 162);
    EXPECT_EQ(JitterPlotY(std::numeric_limits<int>::max(), 4.0f), 0);
    EXPECT_EQ(JitterPlotY(std::numeric_limits<int>::min(), 4.0f), 162);
    EXPECT_EQ(JitterPlotY(39, 4.0f), 4);
}
