#pragma once

#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanScales.h"

// The scan window's choices of a run outside the window: the third CAV speed
// and the first entry of each scale list.
inline void ChooseDefaultScanChoices(ScanContext& scan)
{
    scan.choices.cavSpeedIndex = 2;
    scan.scales.With([](ScanScales& scales) {
        scales.OnSelchangePIScale(0, 0, nullptr);
        scales.OnSelchangePIFScale(0, 0, nullptr);
        scales.ApplyJitterScaleChoice(0, nullptr);
    });
}
