#pragma once

#include "ScanRig.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanDriveSteps.h"
#include "emu/MediaPresets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

inline const std::vector<std::uint8_t> kTrayUnlock = {0x1E, 0, 0, 0, 0x00, 0};
constexpr std::uint8_t kErrorReadOpcode = 0xF3;

// A scan rig with both graphs, the range of the whole disc and the tray
// locked as Start leaves it.
struct LoopRig : ScanRig {
    LoopRig(const char* drivePreset, const char* mediumPreset) : ScanRig(drivePreset, mediumPreset)
    {
        SetUp(mediumPreset);
    }
    // A drive of a hand-made identity.
    LoopRig(emu::DriveIdentity identity, const char* mediumPreset) : ScanRig(std::move(identity), mediumPreset)
    {
        SetUp(mediumPreset);
    }
    void SetUp(const char* mediumPreset)
    {
        Record().m_bDvdDrive = 1;
        scan.m_pUpperGraph = &upper;
        scan.m_pLowerGraph = &lower;
        scan.state.m_nGraphSlot = 1;
        scan.state.m_strSavedStatus = "before";
        const auto disc = emu::FindMediumPreset(mediumPreset);
        if (disc && disc->capacityBlocks > 0)
            scan.state.m_llEndLba = static_cast<std::int64_t>(disc->capacityBlocks) - 1;
        LockTray(scan, true);
        drive->ClearJournal();
    }
    void Insert(const emu::MediumDescription& disc)
    {
        WrapperRig::Insert(disc);
        scan.state.m_llEndLba = static_cast<std::int64_t>(disc.capacityBlocks) - 1;
    }
    std::size_t ErrorReads() const
    {
        const auto journal = drive->Journal();
        return static_cast<std::size_t>(std::count_if(
            journal.begin(), journal.end(), [](const auto& entry) { return entry.Opcode() == kErrorReadOpcode; }));
    }
    bool Says(const std::string& status) const
    {
        return std::find(sink.statuses.begin(), sink.statuses.end(), status) != sink.statuses.end();
    }
    // The drive given back and the window idle.
    void ExpectRestored()
    {
        const auto cdbs = Cdbs();
        ASSERT_FALSE(cdbs.empty());
        EXPECT_EQ(cdbs.back(), kTrayUnlock);
        EXPECT_FALSE(drive->RemovalPrevented());
        EXPECT_EQ(running.load(), 0);
        EXPECT_GE(sink.stops, 1);
    }

    PiPoUpperGraph upper;
    PiPoLowerGraph lower;
};

// A sink that presses Stop when the first graph point is shown.
struct StopAtFirstPoint : RecordingScanSink {
    explicit StopAtFirstPoint(std::atomic<int>& flag) : running(flag) {}
    void SetDisplays(const ScanDisplayTexts& texts) override
    {
        RecordingScanSink::SetDisplays(texts);
        if (displays.size() == 2)  // the first holds the start texts
            running = 0;
    }
    std::atomic<int>& running;
};
