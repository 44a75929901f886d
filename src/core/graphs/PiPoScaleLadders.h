#pragma once

#include <optional>

// Plot geometry of the PI/PO graphs: 450 columns, one sample each, over a
// 162-row bitmap whose baseline is row 160 (y grows downwards).
constexpr int kPiPoPlotWidth = 450;
constexpr int kPiPoPlotHeight = 162;
constexpr int kPiPoBaseline = 160;

// Vertical factors in pixels per unit. A nullopt means the setter ignores the
// code and keeps its factor.
// PI codes 2..10 give 16.0 down to 0.0625 (codes below 2 act as 2).
std::optional<float> PIScaleFactor(int code);
// As PIScaleFactor; code 11 gives 10.0.
std::optional<float> PIFScaleFactor(int code);
// Speed bands 0..3 give 4.0, 2.0, 1.0, 0.5 pixels per tenth of x.
std::optional<float> SpeedScaleFactor(int band);
// Jitter codes up to 2 give 4.0, then 1.6, 0.8, 0.4, 0.2 up to code 6.
std::optional<float> JitterScaleFactor(int code);

// The code a factor stands for, 0 for a factor off the ladder: PI 2..10,
// PIF also 11, jitter 2..6.
int PIScaleCode(float factor);
int PIFScaleCode(float factor);
int JitterScaleCode(float factor);
