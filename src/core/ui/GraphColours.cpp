#include "core/ui/GraphColours.h"

#include "core/base/AppProfile.h"

#include <array>

namespace {

struct DefaultColour {
    const char* entry;
    COLORREF colour;
};

constexpr std::array kDefaults = {
    DefaultColour{"GraphFGColorPick1", 0x787878},      DefaultColour{"GraphBGColorPick1", 0},
    DefaultColour{"GraphVERTColorPick", 0xFF},         DefaultColour{"GraphSPEEDColorPick", 0xFFFF},
    DefaultColour{"GraphRPMColorPick", 0xFF00},        DefaultColour{"GraphJITTERColorPick", 0xFF0AFF},
    DefaultColour{"GraphDRIVESPEEDColorPick", 0x64FF}, DefaultColour{"GraphPIColorPick", 0xFF00},
    DefaultColour{"GraphPIFColorPick", 0xFFFF},
};

COLORREF Colour(const char* entry, COLORREF fallback)
{
    return static_cast<COLORREF>(GetAppProfileInt(entry, static_cast<int>(fallback))) & 0xFFFFFFu;
}

}  // namespace

MainGraphColours ReadMainGraphColours()
{
    MainGraphColours colours{};
    colours.foreground = Colour("GraphFGColorPick1", 0x6D6D6D);
    colours.grid = HalfIntensity(colours.foreground);
    colours.background = Colour("GraphBGColorPick1", 0);
    colours.vertical = Colour("GraphVERTColorPick", 0xFFFFFF);
    colours.speed = Colour("GraphSPEEDColorPick", 0xFFFF);
    colours.rpm = Colour("GraphRPMColorPick", 0xFF00);
    return colours;
}

bool WriteDefaultColours()
{
    if (GetAppProfileInt("DefColors", -1) != -1)
        return false;
    for (const DefaultColour& value : kDefaults)
        WriteAppProfileInt(value.entry, static_cast<int>(value.colour));
    WriteAppProfileInt("DefColors", 1);
    return true;
}
