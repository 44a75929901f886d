#pragma once

#include <optional>

// Window opacity from the profile value "Translucency" (default 255 = opaque).
// Below 255 a window is drawn with that alpha, never more translucent than
// the settings allow (127): a value edited by hand must not hide a window.
constexpr int kOpaqueAlpha = 255;
constexpr int kMostTranslucentAlpha = 127;

std::optional<int> TranslucencyAlpha(int profileValue);
std::optional<int> ReadTranslucencyAlpha();
