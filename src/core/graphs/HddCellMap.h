#pragma once

#include "core/base/ColorRef.h"
#include "core/graphs/LockedGraph.h"
#include "core/graphs/PlotStep.h"

#include <cstdint>
#include <vector>

// The disk tests' cell map: 100 cells a row of 5 pixels, over a 501 x 481
// picture; a disk is shown in at most 9,000 cells of equal size.
constexpr int kHddMapWidth = 501;
constexpr int kHddMapHeight = 481;
constexpr int kHddMapCellsPerRow = 100;
constexpr int kHddMapCells = 9000;
// Cells from here on lie below the picture.
constexpr int kHddMapVisibleCells = 9600;

// The bytes of one cell of a disk of diskBytes: whole 512-byte sectors, at
// least one, so that the disk fills at most 9,000 cells however small it is.
std::uint64_t HddCellBytes(std::uint64_t diskBytes);
// The cells the disk fills.
int HddCellCount(std::uint64_t diskBytes);

struct HddCellMapState {
    COLORREF foreground = RGB(0, 0xFF, 0);
    COLORREF grid = RGB(0, 0x84, 0);
    COLORREF background = 0;
    int cellCount = 0;  // cells passed; the next one is the current cell
    // Cells marked failed and retried; a cell may stand more than once.
    std::vector<int> failed;
    std::vector<int> retried;
};

// The map's data (`CHddGraphStatic` is its control). A test's worker marks and
// advances it under its lock while the window paints it (LockedGraph); only
// SetColours, Reset and Refresh repaint.
class HddCellMap : public LockedGraph<HddCellMapState> {
public:
    HddCellMap() = default;

    void SetColours(COLORREF foreground, COLORREF grid, COLORREF background);
    // No cells passed, no marks.
    void Reset();
    // The next cell becomes current.
    void AddGoodCell();
    // The current cell is marked.
    void AddRetriedCell();
    void AddBadCell();
    // The cells before cell are passed (the count never goes back).
    void AdvanceTo(int cell);
    // A given cell is marked; it shows once the count has passed it.
    void MarkRetried(int cell);
    void MarkFailed(int cell);
    void Refresh() { Redraw(); }

    int CellCount() const;
    std::vector<int> FailedCells() const;
    std::vector<int> RetriedCells() const;
};

constexpr COLORREF kHddGoodCellColor = RGB(0, 0xB4, 0);
constexpr COLORREF kHddFailedCellColor = RGB(0xFF, 0, 0);
constexpr COLORREF kHddRetriedCellColor = RGB(0xFF, 0xFF, 0xFF);

// The whole map: background, the grid every 5 pixels, the frame and the
// lines every 50 (down) and 32 (across) pixels, then a 4 x 4 square for each
// cell passed, failed over retried over good.
std::vector<PlotStep> BuildHddCellMapPlot(const HddCellMapState& map);
