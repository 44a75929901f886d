#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// The main window's fixed size: 753 wide and 574 + the caption high, less 35
// for a caption of 35 pixels or more.
struct WindowSize {
    int width = 0;
    int height = 0;
};
WindowSize FixedWindowSize(int captionHeight);

// A saved window position placed back on the screen: off the screen or
// negative puts the window at (0, 0).
std::pair<int, int> RestoredWindowPosition(int x, int y, int screenWidth, int screenHeight);

// The blocks each cell of the read error test's surface map stands for:
// by the current profile, and for DVD and later discs by their layer count
// (when the disc's structure could be read).
int ErrorMapBlockFactor(int profile, bool structureRead, int layers);
// The block range of the map cell under a click at (x, y) of the window;
// none outside the map.
std::optional<std::pair<std::uint32_t, std::uint32_t>> ErrorMapBlockRange(int x, int y, int factor);
// The same for cells of blocksPerCell blocks each: [first, end).
std::optional<std::pair<std::uint32_t, std::uint32_t>> ErrorMapCellRange(int x, int y, int blocksPerCell);
