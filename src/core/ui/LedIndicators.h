#pragma once

#include "core/base/ColorRef.h"

#include <optional>
#include <span>

// The capability indicators of the drive information page light in the
// colour of their group, each a profile value the user picks.
enum class LedGroup { Read, Write, Other };

struct LedGroupColour {
    LedGroup group;
    const char* profileEntry;
    COLORREF defaultColour;
};
std::span<const LedGroupColour> LedGroupColours();
const LedGroupColour& ColourOfGroup(LedGroup group);
// The group's colour as the profile has it now.
COLORREF ReadLedGroupColour(LedGroup group);

// The indicators of a group, in the order they are made.
std::span<const int> LedIndicatorsOf(LedGroup group);
// The group an indicator lights in; nullopt for a control no group lists.
std::optional<LedGroup> LedGroupOf(int controlId);

// The LED artwork: the lit image's pure red takes the group's colour, the
// unlit image's pure green the button face's.
constexpr COLORREF kLedLitKey = 0x0000FF;
constexpr COLORREF kLedUnlitKey = 0x00FF00;
