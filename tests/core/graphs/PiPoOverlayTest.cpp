#include "core/graphs/PiPoGraphPlot.h"
#include "core/graphs/PiPoOverlay.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

// The steps after the background every PI/PO plot starts with.
std::vector<PlotStep> Series(const std::vector<PlotStep>& steps)
{
    std::vector<PlotStep> background;
    AppendPiPoBackground(background, RGB(0, 0xFF, 0), RGB(0, 0x84, 0), 0);
    return std::vector<PlotStep>(steps.begin() + static_cast<std::ptrdiff_t>(background.size()), steps.end());
}

// PI code 4: 4 pixels a count, so 5 -> row 140, 9 -> 124, 10 -> 120, 20 -> 80.
PiPoUpperOverlay Upper(std::vector<std::int32_t> scan1, std::vector<std::int32_t> scan2, int lineMode)
{
    PiPoUpperOverlay overlay;
    overlay.SetScan1PISeries(scan1, static_cast<int>(scan1.size()));
    overlay.SetScan2PISeries(scan2, static_cast<int>(scan2.size()));
    overlay.SetPIScale(4);
    overlay.m_nLineMode = lineMode;
    return overlay;
}

constexpr COLORREF kOne = kOverlayScan1PIPen;
constexpr COLORREF kTwo = kOverlayScan2PIPen;
constexpr COLORREF kBoth = kOverlayPIOverlapPen;

}  // namespace

TEST(PiPoOverlay, ScanTwoIsDrawnAlsoWhenScanOneIsEmpty)
{
    EXPECT_EQ(Series(BuildUpperOverlayPlot(Upper({}, {10, 20, 5}, 1))),
              (std::vector<PlotStep>{PlotLine(kTwo, 0, 120, 1, 80), PlotLine(kTwo, 1, 80, 2, 140)}));
    EXPECT_EQ(Series(BuildUpperOverlayPlot(Upper({}, {10, 20}, 0))),
              (std::vector<PlotStep>{PlotLine(kTwo, 0, 160, 0, 120), PlotLine(kTwo, 1, 160, 1, 80)}));
}

TEST(PiPoOverlay, BlockModeColoursWhereTheBarsOverlap)
{
    // Column 0 equal, column 1 scan 2 higher, column 2 scan 2 lower, column
    // 3 scan 2 only.
    PiPoUpperOverlay overlay = Upper({5, 5, 9}, {5, 9, 5, 10}, 0);
    EXPECT_EQ(Series(BuildUpperOverlayPlot(overlay)),
              (std::vector<PlotStep>{
                  PlotLine(kOne, 0, 160, 0, 140), PlotLine(kOne, 1, 160, 1, 140), PlotLine(kOne, 2, 160, 2, 124),
                  PlotLine(kBoth, 0, 160, 0, 140), PlotLine(kTwo, 0, 140, 0, 140),  // equal: all overlap
                  PlotLine(kBoth, 1, 160, 1, 140), PlotLine(kTwo, 1, 140, 1, 124),
                  PlotLine(kBoth, 2, 160, 2, 140),  // below scan 1: all overlap
                  PlotLine(kTwo, 3, 160, 3, 120),  // beyond scan 1
              }));

    overlay.m_bShowScan1 = 0;
    EXPECT_EQ(Series(BuildUpperOverlayPlot(overlay)),
              (std::vector<PlotStep>{PlotLine(kTwo, 0, 160, 0, 140), PlotLine(kTwo, 1, 160, 1, 124),
                                     PlotLine(kTwo, 2, 160, 2, 140), PlotLine(kTwo, 3, 160, 3, 120)}));
    overlay.m_bShowScan1 = 1;
    overlay.m_bShowScan2 = 0;
    EXPECT_EQ(Series(BuildUpperOverlayPlot(overlay)).size(), 3u);
}

TEST(PiPoOverlay, LowerOverlayDrawsJitterLinesAndTheFourMarkersInWhite)
{
    PiPoLowerOverlay overlay;
    overlay.SetPIFScale(4);
    overlay.SetJitterScale(3);  // 1.6 pixels a tenth of a percent
    overlay.SetScan1Series({1, 2}, {0, 0}, {50, 75}, 2);
    overlay.SetScan2Series({3}, {0}, {100}, 1);  // a count beyond the jitter held is not read
    overlay.m_nEndMarker1 = 300;
    overlay.m_nLayerBreak2 = 150;
    overlay.SetCapacityMarkerColor(RGB(0xFF, 0, 0));
    EXPECT_EQ(Series(BuildLowerOverlayPlot(overlay)),
              (std::vector<PlotStep>{
                  PlotLine(kOverlayScan1PIFPen, 0, 156, 1, 152),
                  PlotLine(kOverlayScan1JitterPen, 0, 80, 1, 40),
                  PlotLine(kWhite, 300, 1, 300, 161),
                  PlotLine(kWhite, 150, 1, 150, 161),
              }));
    EXPECT_FLOAT_EQ(overlay.JitterFactor(), 1.6f);
    overlay.SetJitterScale(9);
    EXPECT_EQ(overlay.JitterScaleCode(), 9);
    EXPECT_FLOAT_EQ(overlay.JitterFactor(), 1.6f) << "an unknown code keeps the factor";
    overlay.SetPIFScale(11);
    EXPECT_FLOAT_EQ(overlay.PIFFactor(), 10.0f);
}
