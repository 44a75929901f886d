#pragma once

#include "core/base/ColorRef.h"

#include <string>

// Colours of a dot-matrix display.
struct LedColorScheme {
    COLORREF background;
    COLORREF lit;
    COLORREF unlit;
    bool operator==(const LedColorScheme&) const = default;
};

constexpr int kColorSchemeCount = 9;
constexpr int kDefaultColorScheme = 1;

// The scheme of the profile value "Colors"; any number outside 0..8 gives
// the default scheme.
LedColorScheme GetColorScheme(int scheme);
// The scheme's name as the settings list shows it; the list is sorted, so
// the scheme number is the name's position in alphabetical order.
std::string ColorSchemeName(int scheme);
// The scheme the profile value "Colors" selects now.
LedColorScheme ReadColorScheme();
