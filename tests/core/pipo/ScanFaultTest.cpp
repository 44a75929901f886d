#include "ScanLoopRig.h"
#include "core/pipo/engines/ScanEngine.h"
#include "emu/DrivePresets.h"
#include "support/ScanChoices.h"

#include <gtest/gtest.h>

#include <algorithm>

// Every scan engine against a disc pulled out and a drive unplugged in the
// middle of the scan: each ends soon after, never with "Test Complete".

namespace {

constexpr std::uint64_t kDiscSectors = 160000;
// Commands an engine may still send once the fault came: a few tries and
// its ending's, never a measurement of every sector left.
constexpr std::uint64_t kMostCommandsAfter = 60;

struct FaultScanRig : LoopRig {
    FaultScanRig(const char* drivePreset) : LoopRig(drivePreset, "dvd+r")
    {
        emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
        disc.capacityBlocks = kDiscSectors;
        disc.errors.seed = 3;
        disc.errors.piMean = 4;
        Insert(disc);
        ChooseDefaultScanChoices(scan);
        drive->ClearJournal();
    }
};

struct EngineCase {
    const char* drive;
    ScanEngine engine;
};

// clang-format off
const EngineCase kEngines[] = {
    {"liteon", ScanLiteon},
    {"liteon", ScanLiteonWithJitter},
    {"samsung", ScanSamsung},
    {"plextor", ScanPlextor},
    {"pioneer", ScanPioneer},
    {"benq", ScanBenqNew},
    {"benq-dw1620", ScanBenq},
    {"cyberdrive", ScanCyberdrive},
    {"generic-f3", ScanGeneric},
    {"btc", ScanBtc},
    {"nec", ScanNec},
    {"ihas", ScanIhas},
};
// clang-format on

// "Test Complete", or the newer BenQ's "Test Complete in mm:ss".
template <class Rig>
bool SaysComplete(const Rig& rig)
{
    return std::any_of(rig.sink.statuses.begin(), rig.sink.statuses.end(),
                       [](const std::string& status) { return status.starts_with("Test Complete"); });
}

TEST(ScanFaults, EveryEngineEndsSoonAfterTheDiscOrTheDriveGoes)
{
    for (const EngineCase& c : kEngines) {
        std::uint64_t clean = 0;
        {
            FaultScanRig rig(c.drive);
            const std::uint64_t before = rig.drive->SentCommands();
            c.engine(rig.scan);
            clean = rig.drive->SentCommands() - before;
            ASSERT_TRUE(SaysComplete(rig)) << c.drive;
        }
        for (const emu::MidRunFault fault : {emu::MidRunFault::DiscRemoved, emu::MidRunFault::DriveGone}) {
            SCOPED_TRACE(std::string(c.drive) + (fault == emu::MidRunFault::DriveGone ? " drive gone" : " disc gone"));
            FaultScanRig rig(c.drive);
            const std::uint64_t before = rig.drive->SentCommands();
            rig.drive->ScheduleFault(fault, clean / 2);
            c.engine(rig.scan);
            const std::uint64_t sent = rig.drive->SentCommands() - before;
            EXPECT_GT(sent, clean / 2);
            EXPECT_LE(sent, clean / 2 + kMostCommandsAfter) << "of " << clean << " in a clean run";
            EXPECT_FALSE(SaysComplete(rig));

            EXPECT_EQ(rig.running.load(), 0);
            EXPECT_GE(rig.sink.stops, 1);
        }
    }
}

}  // namespace
