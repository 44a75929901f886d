#pragma once

#include "core/base/ColorRef.h"

#include <cstdint>
#include <vector>

// What a PI/PO graph keeps and its saved record carries. Counts are the
// series lengths; flags are 0 or 1.

constexpr COLORREF kPiPoDefaultGridColor = RGB(0, 0xFF, 0);
constexpr COLORREF kPiPoDefaultHalfGridColor = RGB(0, 0x84, 0);

// Fields both graphs share: markers, grid and background, small-disc flags.
struct PiPoGraphFrame {
    std::int32_t endMarkerX = 0;  // pixel column, 0 = no marker
    COLORREF endMarkerColor = 0;
    COLORREF gridColor = kPiPoDefaultGridColor;
    COLORREF halfGridColor = kPiPoDefaultHalfGridColor;
    COLORREF backgroundColor = 0;
    std::int32_t layerBreakX = 0;  // pixel column, 0 = no marker
    COLORREF layerBreakColor = 0;
    COLORREF layerBreakColor2 = 0;  // kept and saved, never drawn
    std::int32_t cleared = 0;  // 1 after a clear
    std::int32_t notSmallDisc = 0;
    std::int32_t smallDisc = 0;

    bool operator==(const PiPoGraphFrame&) const = default;
};

// Upper graph: PI errors and read speed (times ten, 8.3x is 83).
struct PiPoUpperData {
    std::int32_t speedLineMode = 1;  // 1 = line, 0 = block
    std::int32_t piLineMode = 1;
    std::int32_t showSpeed = 1;
    std::int32_t showPI = 1;
    float piFactor = 16.0f;  // pixels per unit
    float speedFactor = 4.0f;
    COLORREF speedColor = RGB(0xFF, 0xFF, 0);
    COLORREF piColor = RGB(0, 0xFF, 0);
    PiPoGraphFrame frame;
    std::vector<std::int32_t> pi;
    std::vector<std::int32_t> speed;

    bool operator==(const PiPoUpperData&) const = default;
};

// Lower graph: PI failures, PO and jitter (tenths of a percent). PIF and PO
// grow together; the jitter series has its own length.
struct PiPoLowerData {
    std::int32_t poLineMode = 1;  // 1 = line, 0 = block
    std::int32_t pifLineMode = 1;
    std::int32_t showPO = 1;
    std::int32_t showPIF = 1;
    std::int32_t jitterScaleCode = 1;
    float pifFactor = 16.0f;  // pixels per unit, also for PO
    COLORREF poColor = RGB(0xFF, 0xFF, 0);
    COLORREF pifColor = RGB(0, 0xFF, 0);
    PiPoGraphFrame frame;
    std::vector<std::int32_t> pif;
    std::vector<std::int32_t> po;
    std::vector<std::int32_t> jitter;

    bool operator==(const PiPoLowerData&) const = default;
};
