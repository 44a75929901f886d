#include "core/graphs/HddCellMap.h"

#include <algorithm>

std::uint64_t HddCellBytes(std::uint64_t diskBytes)
{
    const std::uint64_t sectors = diskBytes / 512 + (diskBytes % 512 != 0);
    const std::uint64_t cellSectors = sectors / kHddMapCells + (sectors % kHddMapCells != 0);
    return std::max<std::uint64_t>(cellSectors, 1) * 512;
}

int HddCellCount(std::uint64_t diskBytes)
{
    const std::uint64_t cell = HddCellBytes(diskBytes);
    return static_cast<int>(diskBytes / cell + (diskBytes % cell != 0));
}

void HddCellMap::SetColours(COLORREF foreground, COLORREF grid, COLORREF background)
{
    Update(
        [&](HddCellMapState& s) {
            s.foreground = foreground;
            s.grid = grid;
            s.background = background;
        },
        true);
}

void HddCellMap::Reset()
{
    Update(
        [](HddCellMapState& s) {
            s.cellCount = 0;
            s.failed.clear();
            s.retried.clear();
        },
        true);
}

void HddCellMap::AddGoodCell()
{
    Update([](HddCellMapState& s) { ++s.cellCount; }, false);
}

void HddCellMap::AddRetriedCell()
{
    Update([](HddCellMapState& s) { s.retried.push_back(s.cellCount); }, false);
}

void HddCellMap::AddBadCell()
{
    Update([](HddCellMapState& s) { s.failed.push_back(s.cellCount); }, false);
}

void HddCellMap::AdvanceTo(int cell)
{
    Update([cell](HddCellMapState& s) { s.cellCount = std::max(s.cellCount, cell); }, false);
}

void HddCellMap::MarkRetried(int cell)
{
    Update([cell](HddCellMapState& s) { s.retried.push_back(cell); }, false);
}

void HddCellMap::MarkFailed(int cell)
{
    Update([cell](HddCellMapState& s) { s.failed.push_back(cell); }, false);
}

int HddCellMap::CellCount() const
{
    return Read([](const HddCellMapState& s) { return s.cellCount; });
}

std::vector<int> HddCellMap::FailedCells() const
{
    return Read([](const HddCellMapState& s) { return s.failed; });
}

std::vector<int> HddCellMap::RetriedCells() const
{
    return Read([](const HddCellMapState& s) { return s.retried; });
}

std::vector<PlotStep> BuildHddCellMapPlot(const HddCellMapState& map)
{
    std::vector<PlotStep> steps;
    const int cells = std::clamp(map.cellCount, 0, kHddMapVisibleCells);
    steps.reserve(static_cast<std::size_t>(cells) + 300);
    steps.push_back(PlotFillRect(map.background, 0, 0, kHddMapWidth, kHddMapHeight));
    for (int x = 5; x <= 500; x += 5)
        steps.push_back(PlotLine(map.grid, x, 0, x, kHddMapHeight));
    for (int y = 5; y <= 480; y += 5)
        steps.push_back(PlotLine(map.grid, 0, y, kHddMapWidth, y));
    steps.push_back(PlotLine(map.foreground, 0, 0, 500, 0));
    steps.push_back(PlotLine(map.foreground, 500, 0, 500, 480));
    steps.push_back(PlotLine(map.foreground, 500, 480, 0, 480));
    steps.push_back(PlotLine(map.foreground, 0, 480, 0, 0));
    for (int x = 50; x <= 500; x += 50)
        steps.push_back(PlotLine(map.foreground, x, 0, x, kHddMapHeight));
    for (int y = 32; y <= 480; y += 32)
        steps.push_back(PlotLine(map.foreground, 0, y, kHddMapWidth, y));
    // One look-up per cell: 0 good, 1 retried, 2 failed.
    std::vector<unsigned char> marks(static_cast<std::size_t>(cells), 0);
    for (int cell : map.retried)
        if (cell >= 0 && cell < cells)
            marks[static_cast<std::size_t>(cell)] = std::max<unsigned char>(marks[static_cast<std::size_t>(cell)], 1);
    for (int cell : map.failed)
        if (cell >= 0 && cell < cells)
            marks[static_cast<std::size_t>(cell)] = 2;
    static constexpr COLORREF kFills[] = {kHddGoodCellColor, kHddRetriedCellColor, kHddFailedCellColor};
    for (int cell = 0; cell < cells; ++cell) {
        const int row = cell / kHddMapCellsPerRow;
        const int column = cell % kHddMapCellsPerRow;
        steps.push_back(PlotFillRect(kFills[marks[static_cast<std::size_t>(cell)]], 1 + 5 * column, 1 + 5 * row,
                                     5 + 5 * column, 5 + 5 * row));
    }
    return steps;
}
