#pragma once

// Two saved scans for the compare window: scan files written with the scan
// file writer and read back with its reader, offered as the scan window's
// two slots. Header-only, so core and GUI tests share it.

#include "core/graphs/ScanCompare.h"
#include "core/pipo/ScanFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

// A finished scan of a single-layer DVD: `samples` points, PI rising to
// `piPeak`, PIF to 4, jitter around 8 %.
inline ScanFile MakeScan(int samples, int piPeak, int piScaleCode, const std::string& drive)
{
    ScanFile f;
    f.displays = {piPeak, 1, 4, 0, 57, 0, 0, 0, 1234, 3};
    f.show.showPO = 0;  // a PIF scan
    f.status = "Test Complete";
    f.midCode = "QZMEDIA-R01";
    f.mediaType = "DVD+R";
    f.bookType = "DVD-ROM";
    f.driveDisplay = drive;
    f.upper.piFactor = 4.0f;
    f.upper.speedFactor = 2.0f;
    f.upper.frame.endMarkerX = 440;
    f.upper.frame.endMarkerColor = 0x0000FF;
    f.lower.frame = f.upper.frame;
    for (int i = 0; i < samples; ++i) {
        f.upper.pi.push_back(piPeak * i / std::max(samples - 1, 1));
        f.upper.speed.push_back(40 + i % 40);
        f.lower.pif.push_back(i % 5);
        f.lower.po.push_back(0);
        f.lower.jitter.push_back(78 + i % 8);
    }
    f.piScaleCode = piScaleCode;
    f.pifScaleCode = 2;
    f.jitterScaleCode = 3;
    return f;
}

// Figures with a measured jitter: "7.5%" average, "8.2%" peak.
inline ScanFile WithJitter(ScanFile f)
{
    f.displays.jitterAvg = 75;
    f.displays.jitterPeak = 82;
    f.displays.jitterInst = 80;
    return f;
}

// The slots of a scan window holding two saved scans.
class SavedScanSlots : public ScanSlotSource {
public:
    SavedScanSlots(const std::string& path1, const ScanFile& scan1, const std::string& path2, const ScanFile& scan2)
    {
        Keep(0, path1, scan1);
        Keep(1, path2, scan2);
    }
    ScanSlotView Slot(int index) const override { return m_slots.at(static_cast<std::size_t>(index)); }
    LedColorScheme LedColors() const override { return {0x000000, 0x00FFB1, 0x005000}; }
    void MinimizeScanWindow() override { ++minimized; }
    void RestoreScanWindow() override { ++restored; }

    int minimized = 0;
    int restored = 0;

private:
    void Keep(int index, const std::string& path, ScanFile scan)
    {
        std::string error;
        EXPECT_TRUE(SaveScanFile(path, scan, &error)) << error;
        ScanFile loaded;
        EXPECT_TRUE(LoadScanFile(path, loaded, &error)) << error;
        m_slots.at(static_cast<std::size_t>(index)) = ScanSlotFromFile(loaded);
    }

    std::array<ScanSlotView, 2> m_slots;
};
