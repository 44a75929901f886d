#pragma once

#include "core/base/ColorRef.h"

// The scan window's settings in the profile, read when it opens and
// written when it closes.
struct ScanWindowSettings {
    int m_nJitterType = 0;  // "JitterType"
    int m_nPIRadio = 0;  // "PIRadio"
    int m_nPORadio = 0;  // "PORadio": written only, 0 on load
    int m_nPIPRadio = 0;  // "PIPRadio"
    int m_nPOPRadio = 0;  // "POPRadio"
    int jitterScale = 0;  // "JitterScale", combo 1390
    int speedBenq = 0;  // "SpeedBenq", combo 1414
    int speedLiteon = 0;  // "SpeedLiteon", combo 1416
    int speedNec = 3;  // "SpeedNEC", combo 1422
    int piScale = 0;  // "PIScale", combo 1392
    int pifScale = 0;  // "PIPOScaleLower", combo 1403
    int showPI = 1;  // "stShowPI"
    int showJitter = 1;  // "stShowJitter"
    int showPIF = 1;  // "stShowPIPlus"
    int showSpeed = 1;  // "stShowLiteonSpeed"

    bool operator==(const ScanWindowSettings&) const = default;
};

ScanWindowSettings LoadPIPOSettings();
void SavePIPOSettings(const ScanWindowSettings& settings);

// The colours of the scan graphs from the profile.
struct ScanGraphColours {
    COLORREF speed;  // "GraphDRIVESPEEDColorPick"
    COLORREF pi;  // "GraphPIColorPick"
    COLORREF pif;  // "GraphPIFColorPick", also the PO series
    COLORREF jitter;  // "GraphJITTERColorPick"
    COLORREF grid;  // "GraphFGColorPick1"
    COLORREF halfGrid;  // the grid at half intensity
    COLORREF background;  // "GraphBGColorPick1"
    COLORREF marker;  // "GraphVERTColorPick": end-of-disc and layer-break markers
};
ScanGraphColours ReadScanGraphColours();
