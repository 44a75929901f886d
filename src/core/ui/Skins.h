#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/UiGeometry.h"

#include <span>
#include <string>
#include <vector>

// The main window's painted look: the banner tiled over the top band and the
// button skin the command buttons cut their images from.

// Artwork by resource id.
constexpr unsigned IDB_BUTTON_SKIN = 159;
constexpr unsigned IDB_WEBPAGE_IN = 166;
constexpr unsigned IDB_BANNER = 202;
constexpr unsigned IDB_WEBPAGE_OUT = 205;
constexpr unsigned IDB_LED_LIT = 330;
constexpr unsigned IDB_LED_UNLIT = 331;

// Pixels of this colour are transparent in skins, the web-page button and the LEDs.
constexpr COLORREF kSkinTransparent = 0xFF00FF;

// The banner area the banner bitmap is tiled over.
constexpr int kBannerWidth = 748;
constexpr int kBannerHeight = 67;

// A button skin must be at least this large.
constexpr int kMinSkinWidth = 295;
constexpr int kMinSkinHeight = 125;
bool IsUsableButtonSkin(int width, int height);

// One skinned button: its in image (pointer over it) and out image, cells of
// the same size at the same row.
struct SkinCell {
    int controlId;
    const char* role;
    int inX;
    int outX;
    int y;
    int width;
    int height;
};
// In the order the skin is applied.
std::span<const SkinCell> ButtonSkinCells();
// The smallest skin that holds every cell (the shipped default's size).
UiSize SkinExtent();

// Where the tiles of a tileWidth x tileHeight banner go: rows from the top,
// tiles left to right until the next would start at or past the banner's
// width; the last row cut at the banner's height. None for an empty tile.
std::vector<UiRect> BannerTiles(int tileWidth, int tileHeight);

// The profile values of the two skin files (empty: the built-in artwork).
constexpr const char* kBannerSkinEntry = "BannerSkin";
constexpr const char* kButtonsSkinEntry = "ButtonsSkin";
constexpr const char* kInvalidSkinMessage = "Invalid button skin bitmap file, Default bitmap restored!";
