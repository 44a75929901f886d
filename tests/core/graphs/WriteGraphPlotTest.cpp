#include "core/graphs/WriteGraphPlot.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr COLORREF kWriteSpeed = 0x00FFFF;
constexpr COLORREF kWriteRpm = 0x00FF00;
constexpr COLORREF kEnd = 0x0064FF;

RateGraphState WriteGraphState()
{
    RateGraphState s;
    s.writeGraphMode = 1;
    s.gridColor = RGB(1, 1, 1);
    s.dimGridColor = RGB(2, 2, 2);
    s.backgroundColor = RGB(3, 3, 3);
    s.speedColor = kWriteSpeed;
    s.rpmColor = kWriteRpm;
    s.endMarkerX = 449;
    s.endMarkerColor = kEnd;
    return s;
}

// Eight write samples: column 0 takes the first, column 1 (up to sector
// 5,120) the next three, column 2 (up to 10,240) the next two.
void AddWriteSamples(RateGraphState& s, int buffer = 9000, int cpu = 1000)
{
    const int speeds[] = {400, 600, 800, 1300, 1000, 1200, 1400, 1500};
    const int sectors[] = {0, 2000, 4000, 5120, 8000, 10240, 12000, 14000};
    for (int i = 0; i < 8; ++i)
        s.writeSamples.push_back({speeds[i], sectors[i], 3000, buffer, cpu});
    s.writePairCount = buffer == -100 && cpu == -100 ? 0 : 8;
}

std::vector<PlotStep> Lines(const std::vector<PlotStep>& steps, COLORREF colour)
{
    std::vector<PlotStep> found;
    std::copy_if(steps.begin(), steps.end(), std::back_inserter(found),
                 [&](const PlotStep& step) { return step.color == colour && step.kind == PlotStepKind::Line; });
    return found;
}

}  // namespace

TEST(WriteGraphPlot, AveragedColumnsAndTheirRotation)
{
    RateGraphState s = WriteGraphState();
    AddWriteSamples(s);
    const std::vector<PlotStep> steps = BuildWriteGraphPlot(s);
    EXPECT_EQ(Lines(steps, kWriteSpeed),
              (std::vector<PlotStep>{PlotLine(kWriteSpeed, 0, 353, 1, 370),  // 4x
                                     PlotLine(kWriteSpeed, 1, 370, 2, 290),  // (6 + 8 + 13) / 3 = 9x
                                     PlotLine(kWriteSpeed, 2, 290, 3, 258)}));  // 11x
    EXPECT_EQ(Lines(steps, kWriteRpm),
              (std::vector<PlotStep>{PlotLine(kWriteRpm, 0, 359, 0, 402), PlotLine(kWriteRpm, 0, 402, 1, 402),
                                     PlotLine(kWriteRpm, 1, 402, 2, 402)}));
    EXPECT_EQ(Lines(steps, kWriteBufferPen).front(), PlotLine(kWriteBufferPen, 0, 10, 1, 10));  // 90 %
    EXPECT_EQ(Lines(steps, kWriteCpuPen).front(), PlotLine(kWriteCpuPen, 0, 90, 1, 90));  // 10 %
    // The end-of-data line under and over the curves.
    EXPECT_EQ(Lines(steps, kEnd).size(), 2u);
    EXPECT_EQ(steps.back(), PlotLine(kEnd, 449, 1, 449, 434));
}

TEST(WriteGraphPlot, SampledModeTakesTheFirstTwoSamplesOfAColumnAfterTheShift)
{
    RateGraphState s = WriteGraphState();
    AddWriteSamples(s);
    s.averaged = 0;
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kWriteSpeed)[1], PlotLine(kWriteSpeed, 1, 370, 2, 322))  // (6 + 8) / 2
        << "shift 0";
    s.sampleShift = 1;
    // Column 1 takes 6x, then skips 8x for 13x: (6 + 13) / 2 = 9.5x.
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kWriteSpeed)[1], PlotLine(kWriteSpeed, 1, 370, 2, 282));
}

TEST(WriteGraphPlot, ScalesCapsAndTheEndOfData)
{
    RateGraphState s = WriteGraphState();
    AddWriteSamples(s);
    s.writeSamples[0].speed = 3000;  // above 27x
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kWriteSpeed)[0], PlotLine(kWriteSpeed, 0, 353, 1, 2));
    s.cdMedia = 1;  // 78x cap, 5.33 pixels a 1x, 1,024 sectors a column
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kWriteSpeed)[0], PlotLine(kWriteSpeed, 0, 353, 1, 274));
    EXPECT_EQ(WriteGraphSectorsPerColumn(s), 1024);
    s.cdMedia = 0;
    s.bdMedia = 1;
    EXPECT_EQ(WriteGraphSectorsPerColumn(s), 30720);
    s.bdMedia = 0;

    // A layer break: a column covers both layers' sectors.
    s.layerBreakX = 200;
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kWriteSpeed).size(), 2u);
    s.layerBreakX = 0;

    // Nothing right of the end-of-data line; none at all with it at 0.
    s.endMarkerX = 2;
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kWriteSpeed).size(), 2u);
    s.endMarkerX = 0;
    const std::vector<PlotStep> none = BuildWriteGraphPlot(s);
    for (COLORREF pen : {kWriteSpeed, kWriteRpm, kWriteBufferPen, kWriteCpuPen})
        EXPECT_TRUE(Lines(none, pen).empty()) << pen;
}

TEST(WriteGraphPlot, LinesWithoutBufferAndCpuDrawACpuCurveAtZeroPercentOnly)
{
    RateGraphState s = WriteGraphState();
    AddWriteSamples(s, -100, -200);  // what the reader makes of lines without the fields
    const std::vector<PlotStep> steps = BuildWriteGraphPlot(s);
    EXPECT_TRUE(Lines(steps, kWriteBufferPen).empty());
    const std::vector<PlotStep> cpu = Lines(steps, kWriteCpuPen);
    ASSERT_EQ(cpu.size(), 3u);
    for (const PlotStep& line : cpu)
        EXPECT_EQ(line.y2, 100);

    // Without any value the percent curves are not drawn at all.
    RateGraphState empty = WriteGraphState();
    AddWriteSamples(empty, -100, -100);
    EXPECT_TRUE(Lines(BuildWriteGraphPlot(empty), kWriteCpuPen).empty());
}

TEST(WriteGraphPlot, EachVerifySampleKeepsItsOwnCpuValue)
{
    // The first four lines carry no CPU value: their columns show none, and
    // the later values stay with the samples they came with.
    RateGraphState s = WriteGraphState();
    s.showSpeed = 1;
    for (int i = 0; i < 10; ++i)
        s.verifySamples.push_back({800, 2560 * i, 3000, i < 4 ? -100 : 5000});
    s.verifyPairCount = 6;
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kVerifyCpuPen),
              (std::vector<PlotStep>{PlotLine(kVerifyCpuPen, 0, 100, 1, 100), PlotLine(kVerifyCpuPen, 1, 100, 2, 50),
                                     PlotLine(kVerifyCpuPen, 2, 50, 3, 50), PlotLine(kVerifyCpuPen, 3, 50, 4, 50)}));
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kVerifySpeedPen).size(), 4u);

    s.showVerifyCpu = 0;
    EXPECT_TRUE(Lines(BuildWriteGraphPlot(s), kVerifyCpuPen).empty());
    s.showSpeed = 0;  // the verify pass hidden
    EXPECT_TRUE(Lines(BuildWriteGraphPlot(s), kVerifySpeedPen).empty());
    EXPECT_TRUE(Lines(BuildWriteGraphPlot(s), kVerifyRpmPen).empty());
}

TEST(WriteGraphPlot, WithoutSamplesOnlyGridAndLines)
{
    RateGraphState s = WriteGraphState();
    s.layerBreakX = 200;
    s.layerBreakColor = kEnd;
    s.layerBreakDraw = 0;  // a break taken from the capacity is not drawn
    const std::vector<PlotStep> steps = BuildWriteGraphPlot(s);
    EXPECT_EQ(steps.front(), PlotFillRect(RGB(3, 3, 3), 0, 0, 451, 435));
    EXPECT_EQ(steps.back(), PlotLine(kEnd, 449, 1, 449, 434));
    EXPECT_EQ(Lines(steps, kEnd).size(), 1u);
    s.layerBreakDraw = 1;
    EXPECT_EQ(Lines(BuildWriteGraphPlot(s), kEnd).size(), 2u);
}
