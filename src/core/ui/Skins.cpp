#include "core/ui/Skins.h"

#include <algorithm>
#include <array>

namespace {

// clang-format off
constexpr std::array kCells = {
    SkinCell{1088, "eject",                    37,  0,   1,   36, 24},
    SkinCell{1004, "media information",        37,  0,   26,  36, 24},
    SkinCell{1005, "drive information",        111, 74,  1,   36, 24},
    SkinCell{1091, "book type",                111, 74,  26,  36, 24},
    SkinCell{1006, "settings",                 37,  0,   51,  36, 24},
    SkinCell{1034, "about",                    111, 74,  51,  18, 16},
    SkinCell{1102, "help",                     185, 148, 101, 18, 16},
    SkinCell{1026, "erase",                    111, 74,  76,  36, 24},
    SkinCell{1061, "copy to clipboard",        37,  0,   76,  36, 24},
    SkinCell{1067, "system information",       259, 222, 76,  36, 24},
    SkinCell{1065, "speed test",               185, 148, 26,  36, 24},
    SkinCell{1068, "graph file viewer",        333, 296, 26,  36, 24},
    SkinCell{1066, "read error test",          37,  0,   101, 36, 24},
    SkinCell{1069, "hard disk test",           296, 259, 101, 36, 24},
    SkinCell{1356, "PI/PO scan",               259, 222, 51,  36, 24},
    SkinCell{1064, "snapshot",                 185, 148, 1,   36, 24},
    SkinCell{1326, "save raw data",            259, 222, 1,   36, 24},
    SkinCell{1007, "ISO compare and creation", 259, 222, 26,  36, 24},
};
// clang-format on

}  // namespace

bool IsUsableButtonSkin(int width, int height)
{
    return width >= kMinSkinWidth && height >= kMinSkinHeight;
}

std::span<const SkinCell> ButtonSkinCells()
{
    return kCells;
}

UiSize SkinExtent()
{
    UiSize extent;
    for (const SkinCell& cell : kCells) {
        extent.width = std::max(extent.width, std::max(cell.inX, cell.outX) + cell.width);
        extent.height = std::max(extent.height, cell.y + cell.height);
    }
    return extent;
}

std::vector<UiRect> BannerTiles(int tileWidth, int tileHeight)
{
    std::vector<UiRect> tiles;
    if (tileWidth <= 0 || tileHeight <= 0)
        return tiles;
    const int width = std::min(tileWidth, kBannerWidth);
    const int height = std::min(tileHeight, kBannerHeight);
    for (int y = 0; y < kBannerHeight; y += height) {
        const int rowHeight = std::min(height, kBannerHeight - y);
        for (int x = 0; x < kBannerWidth; x += width)
            tiles.push_back({x, y, x + width, y + rowHeight});
    }
    return tiles;
}
