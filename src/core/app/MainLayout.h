#pragma once

#include "core/ui/UiGeometry.h"

// Where the main window's page controls stand, in pixels: the same under
// every DPI setting.

constexpr UiRect BoxAt(int x, int y, int width, int height)
{
    return {x, y, x + width, y + height};
}

// The output box: its full size, and its size above the progress bars.
constexpr UiSize kOutputBoxSize{677, 390};
constexpr UiSize kShortOutputBoxSize{677, 370};
constexpr UiRect kOutputBox = BoxAt(39, 70, kOutputBoxSize.width, kOutputBoxSize.height);

// The drive's name over its fields on the drive information page.
constexpr UiRect kModelField = BoxAt(537, 89, 195, 16);

// The page buttons: Start, Stop and Save (whose captions a page may change).
constexpr UiSize kPageButtonSize{66, 23};
constexpr UiRect kStartButton = BoxAt(504, 389, kPageButtonSize.width, kPageButtonSize.height);
constexpr UiRect kSaveButton = BoxAt(573, 389, kPageButtonSize.width, kPageButtonSize.height);
constexpr UiRect kStopButton = BoxAt(644, 527, kPageButtonSize.width, kPageButtonSize.height);
// On the hash pages they stand in one row under the progress bars: Start,
// Stop and "Custom" on the disc-hash page, "File" and "Folder" (a pixel
// further left) on the file-hash page.
constexpr UiRect HashPageButton(int x)
{
    return BoxAt(x, 526, kPageButtonSize.width, kPageButtonSize.height);
}
constexpr UiRect kHashStartButton = HashPageButton(492);
constexpr UiRect kDiscHashStopButton = HashPageButton(560);
constexpr UiRect kDiscHashCustomButton = HashPageButton(628);
constexpr UiRect kFileHashFolderButton = HashPageButton(559);

// The progress bars (1297 and 1306) as the window places them at start, and
// under the output box of the hash pages.
constexpr UiRect kProgress2Box = BoxAt(613, 415, 207, 16);
constexpr UiRect kProgressBox = BoxAt(39, 465, 676, 22);
constexpr UiRect kDiscHashProgress2Box = BoxAt(39, 436, 676, 28);
constexpr UiRect kFileHashProgress2Box = BoxAt(39, 442, 676, 22);
constexpr UiRect kFileHashProgressBox = kProgressBox;
