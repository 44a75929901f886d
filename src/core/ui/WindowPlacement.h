#pragma once

#include "core/ui/UiGeometry.h"

#include <span>

// A saved window position brought back where the user can reach it: kept
// while the start of the window's title bar (kTitleGrip wide, kTitleHeight
// high from its top-left corner) lies wholly on one of the screens, else
// moved to the top-left corner of the first screen (the primary one). With
// no screen known, (0, 0).
constexpr int kTitleGrip = 64;
constexpr int kTitleHeight = 16;
UiPoint PlaceOnScreens(int x, int y, std::span<const UiRect> screens);
