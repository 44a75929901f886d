#include "core/graphs/HddCellMap.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

// The map's picture, replayed from its steps: lines are horizontal or
// vertical, their end points left out, as the widgets draw them.
struct Picture {
    explicit Picture(const HddCellMapState& state)
    {
        for (const PlotStep& step : BuildHddCellMapPlot(state)) {
            if (step.kind == PlotStepKind::FillRect) {
                for (int y = step.y1; y < step.y2; ++y)
                    for (int x = step.x1; x < step.x2; ++x)
                        Set(x, y, step.color);
            } else if (step.kind == PlotStepKind::Line) {
                const int dx = (step.x2 > step.x1) - (step.x2 < step.x1);
                const int dy = (step.y2 > step.y1) - (step.y2 < step.y1);
                if (dx != 0 && dy != 0) {
                    ADD_FAILURE() << "a slanted line";
                    continue;
                }
                for (int x = step.x1, y = step.y1; x != step.x2 || y != step.y2; x += dx, y += dy)
                    Set(x, y, step.color);
            }
        }
    }
    void Set(int x, int y, COLORREF colour)
    {
        if (x >= 0 && x < kHddMapWidth && y >= 0 && y < kHddMapHeight)
            pixels[static_cast<std::size_t>(y * kHddMapWidth + x)] = colour;
    }
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * kHddMapWidth + x)]; }
    // The colour inside cell i (its square's top left pixel).
    COLORREF Cell(int i) const { return At(1 + 5 * (i % 100), 1 + 5 * (i / 100)); }

    std::vector<COLORREF> pixels = std::vector<COLORREF>(kHddMapWidth * kHddMapHeight, 0xDEAD);
};

constexpr COLORREF kForeground = RGB(0x6D, 0x6D, 0x6D);
constexpr COLORREF kGrid = RGB(0x36, 0x36, 0x36);
constexpr COLORREF kBackground = RGB(0, 0, 0x20);

HddCellMapState MapOf(int cells, std::vector<int> retried = {}, std::vector<int> failed = {})
{
    HddCellMapState state;
    state.foreground = kForeground;
    state.grid = kGrid;
    state.background = kBackground;
    state.cellCount = cells;
    state.retried = std::move(retried);
    state.failed = std::move(failed);
    return state;
}

}  // namespace

TEST(HddCellMap, AnEmptyMapIsItsBackgroundGridsAndFrame)
{
    const Picture picture(MapOf(0));
    EXPECT_EQ(picture.At(2, 2), kBackground);
    EXPECT_EQ(picture.At(5, 2), kGrid);  // the grid every 5 pixels
    EXPECT_EQ(picture.At(2, 5), kGrid);
    EXPECT_EQ(picture.At(50, 7), kForeground);  // the lines every 50 down and 32 across
    EXPECT_EQ(picture.At(7, 32), kForeground);
    EXPECT_EQ(picture.At(0, 0), kForeground);  // the frame
    EXPECT_EQ(picture.At(500, 480), kForeground);
    EXPECT_EQ(picture.At(250, 480), kForeground);
    for (COLORREF pixel : picture.pixels)
        ASSERT_NE(pixel, 0xDEADu);  // every pixel drawn
}

TEST(HddCellMap, CellsFillRowsOfAHundredFailedOverRetriedOverGood)
{
    const Picture picture(MapOf(150, {3, 7, 120, 200}, {7, 130}));
    EXPECT_EQ(picture.Cell(0), kHddGoodCellColor);
    EXPECT_EQ(picture.Cell(99), kHddGoodCellColor);
    EXPECT_EQ(picture.Cell(149), kHddGoodCellColor);
    EXPECT_EQ(picture.Cell(150), kBackground);  // the current cell is not drawn yet
    EXPECT_EQ(picture.Cell(3), kHddRetriedCellColor);
    EXPECT_EQ(picture.Cell(120), kHddRetriedCellColor);
    EXPECT_EQ(picture.Cell(7), kHddFailedCellColor);
    EXPECT_EQ(picture.Cell(130), kHddFailedCellColor);
    EXPECT_EQ(picture.Cell(200), kBackground);  // marked, not passed yet
    // A cell is a 4 x 4 square inside the grid; cells cover the lines every 32.
    EXPECT_EQ(picture.At(4, 4), kHddGoodCellColor);
    EXPECT_EQ(picture.At(5, 4), kGrid);
    const Picture rowSix(MapOf(700));
    EXPECT_EQ(rowSix.At(2, 32), kHddGoodCellColor);
    EXPECT_EQ(rowSix.At(5, 32), kForeground);
}

TEST(HddCellMap, NineThousandCellsFillNinetyRowsAndNothingIsDrawnBelowThePicture)
{
    const Picture full(MapOf(9000));
    EXPECT_EQ(full.Cell(8999), kHddGoodCellColor);
    EXPECT_EQ(full.At(2, 1 + 5 * 90), kBackground);
    const std::size_t steps = BuildHddCellMapPlot(MapOf(20000)).size();
    EXPECT_EQ(steps, BuildHddCellMapPlot(MapOf(kHddMapVisibleCells)).size());
}

TEST(HddCellMap, ResetEmptiesTheCountAndBothLists)
{
    HddCellMap map;
    map.AddGoodCell();
    map.AddRetriedCell();
    map.AddGoodCell();
    map.AddBadCell();
    map.AdvanceTo(10);
    map.AdvanceTo(5);  // never back
    map.MarkFailed(12);
    EXPECT_EQ(map.CellCount(), 10);
    EXPECT_EQ(map.RetriedCells(), std::vector<int>{1});
    EXPECT_EQ(map.FailedCells(), (std::vector<int>{2, 12}));
    int repaints = 0;
    map.SetRepaintHook([&] { ++repaints; });
    map.AddGoodCell();
    EXPECT_EQ(repaints, 0);  // the test repaints with Refresh
    map.Refresh();
    map.Reset();
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(map.CellCount(), 0);
    EXPECT_TRUE(map.RetriedCells().empty());
    EXPECT_TRUE(map.FailedCells().empty());
}

TEST(HddCellMap, ADiskFillsAtMostNineThousandCellsOfWholeSectors)
{
    struct Case {
        std::uint64_t bytes;
        std::uint64_t cellBytes;
        int cells;
    };
    // clang-format off
    const Case cases[] = {
        {0, 512, 0},
        {1, 512, 1},
        {512 * 9000, 512, 9000},
        {512 * 9001, 1024, 4501},
        {std::uint64_t{2} << 40, (((std::uint64_t{2} << 40) / 512 + 8999) / 9000) * 512, 9000},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(HddCellBytes(c.bytes), c.cellBytes) << c.bytes;
        EXPECT_EQ(HddCellCount(c.bytes), c.cells) << c.bytes;
    }
}
