#pragma once

#include "core/base/ColorRef.h"

// The main graph's colours as the profile has them; each reader keeps its own
// default for a value that is missing.
struct MainGraphColours {
    COLORREF foreground;  // "GraphFGColorPick1"
    COLORREF grid;  // the foreground at half intensity
    COLORREF background;  // "GraphBGColorPick1"
    COLORREF vertical;  // "GraphVERTColorPick"
    COLORREF speed;  // "GraphSPEEDColorPick"
    COLORREF rpm;  // "GraphRPMColorPick"
    bool operator==(const MainGraphColours&) const = default;
};
MainGraphColours ReadMainGraphColours();

// The graph colours' defaults written into the profile once: only while
// "DefColors" is absent, which it then no longer is. True when written.
bool WriteDefaultColours();
