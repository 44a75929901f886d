#pragma once

#include "ScanRig.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanFile.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// A recording sink that can act when the progress moves, as the user
// pressing Stop during a scan.
struct HookedScanSink : RecordingScanSink {
    void SetProgress(int position) override
    {
        RecordingScanSink::SetProgress(position);
        if (onProgress)
            onProgress(position);
    }
    std::function<void(int)> onProgress;
};

// A scan of one emulated drive with its own disc and the current slot's two
// graphs; the range is the whole disc.
struct EngineRig : WrapperRig {
    EngineRig(const char* drivePreset, const emu::MediumDescription& disc) :
        EngineRig(*emu::FindDrivePreset(drivePreset), disc)
    {
    }
    EngineRig(emu::DriveIdentity identity, const emu::MediumDescription& disc) :
        WrapperRig(std::move(identity), "dvd+r"), scan(context, sink, prompt, running)
    {
        Insert(disc);
        context.configuration.GetDriveConfiguration();  // the DVD-drive flag, as the window reads it
        drive->ClearJournal();
        scan.m_pUpperGraph = &upper;
        scan.m_pLowerGraph = &lower;
        scan.state.m_llEndLba = static_cast<std::int64_t>(disc.capacityBlocks - 1);
        scan.state.m_nGraphSlot = 1;
    }

    std::string LastStatus() const { return sink.statuses.empty() ? "" : sink.statuses.back(); }
    // The figure the scan left on a display after its last point.
    const ScanDisplayTexts& Displays() const { return scan.displays; }

    HookedScanSink sink;
    ScriptedPrompt prompt;
    std::atomic<int> running{0};
    ScanContext scan;
    PiPoUpperGraph upper;
    PiPoLowerGraph lower;
};

// A DVD+R of `sectors` recorded sectors with a seeded error profile.
inline emu::MediumDescription SmallDisc(std::uint64_t sectors, std::uint64_t seed = 5)
{
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
    disc.capacityBlocks = sectors;
    disc.errors.seed = seed;
    disc.errors.piMean = 4;
    disc.errors.pifPerMille = 200;
    return disc;
}

// The slot's graphs saved as a scan file, loaded again into fresh graphs:
// equal to the live ones: the jitter points as measured, PIF and PO padded
// with 0 where the jitter series is the longer.
inline void ExpectSavedScanEqualsLive(const PiPoUpperGraph& upper, const PiPoLowerGraph& lower)
{
    ScanFile saved;
    StoreScanGraphs(upper, lower, saved);
    TempDir dir;
    std::string error;
    ASSERT_TRUE(SaveScanFile(dir.File("scan.qnzx"), saved, &error)) << error;
    ScanFile loaded;
    ASSERT_TRUE(LoadScanFile(dir.File("scan.qnzx"), loaded, &error)) << error;
    PiPoUpperGraph upperAgain;
    PiPoLowerGraph lowerAgain;
    upperAgain.LoadRecord(loaded.upper);
    lowerAgain.LoadRecord(loaded.lower);
    EXPECT_EQ(upperAgain.StoreRecord(), upper.StoreRecord());
    PiPoLowerData live = lower.StoreRecord();
    const PiPoLowerData again = lowerAgain.StoreRecord();
    const std::size_t length = std::max({live.pif.size(), live.po.size(), live.jitter.size()});
    for (auto* series : {&live.pif, &live.po})
        series->resize(length, 0);
    EXPECT_EQ(again, live);
    EXPECT_FALSE(again.pif.empty());
}
