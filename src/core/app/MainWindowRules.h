#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// The pages of the main window, by the current-page value that decides what
// a drive change, Start, Stop, Save, copy and help do.
enum MainPage : int {
    kPageDriveInfo = 0,
    kPageMediaInfo = 1,
    kPageInfoDisplay = 2,
    kPageMediaCode = 4,
    kPageSpeedTest = 7,
    kPageErrorTest = 8,
    kPageModePages = 10,
    kPageCompare = 11,
    kPageCreateIso = 12,
    kPageFeatures = 14,
    kPageSystemInfo = 15,
    kPageDiscHash = 16,
    kPageFileHash = 17,
};

// The help page of a page: a file of the help folder.
const char* HelpTopicForPage(int page);

// The entries of the "Tools & Utilities" list; the index is the item number.
constexpr int kToolsItemCount = 16;
const std::array<const char*, kToolsItemCount>& ToolsItemTexts();

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
