#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/ColorSchemes.h"
#include "core/ui/UiGeometry.h"

#include <array>
#include <cstdint>

// Cell sizes of a dot-matrix display's size preset and the character sheet
// it copies its cells from.
struct MatrixCellMetrics {
    int cellWidth = 0;
    int cellHeight = 0;
    int gapX = 0;
    int gapY = 0;
    unsigned bitmapId = 0;

    int PitchX() const { return cellWidth + gapX; }
    int PitchY() const { return cellHeight + gapY; }
    bool operator==(const MatrixCellMetrics&) const = default;
};

// Bitmap ids of the character sheets of the three presets.
constexpr unsigned kMatrixSheetSmall = 129;  // preset 2, the one the program uses
constexpr unsigned kMatrixSheetLarge = 130;  // any preset but 0 and 2
constexpr unsigned kMatrixSheetMedium = 131;  // preset 0

MatrixCellMetrics MatrixPreset(int preset);

// The sheet holds the characters 32 to 127 in code order, 32 cells across
// and 3 down, drawn in three fixed colours that a display remaps to its own.
constexpr int kSheetColumns = 32;
constexpr int kSheetRows = 3;
constexpr unsigned char kFirstGlyph = 32;
constexpr unsigned char kLastGlyph = 127;
constexpr COLORREF kSheetLit = 0xFFB53F;
constexpr COLORREF kSheetUnlit = 0x674017;
constexpr COLORREF kSheetBackground = 0x000000;

// Each character is 5 x 7 dots; a row's bit 4 is its leftmost dot.
constexpr int kGlyphDotColumns = 5;
constexpr int kGlyphDotRows = 7;
using GlyphRows = std::array<std::uint8_t, kGlyphDotRows>;

// The sheet has no cell for characters outside 32..127: they show as a blank.
unsigned char GlyphCode(char character);
const GlyphRows& GlyphPattern(unsigned char code);
bool GlyphDotLit(unsigned char code, int column, int row);

UiSize GlyphSheetSize(const MatrixCellMetrics& metrics);
UiPoint GlyphCellOrigin(char character, const MatrixCellMetrics& metrics);
// One dot of a cell, relative to the cell's top-left corner.
UiRect GlyphDotRect(const MatrixCellMetrics& metrics, int column, int row);

// A sheet pixel in the display's colours; other colours stay as they are.
COLORREF RemapSheetColor(COLORREF pixel, const LedColorScheme& colors);
