#include "ScanLoopRig.h"
#include "core/drive/DriveLoss.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanLoop.h"
#include "emu/DrivePresets.h"
#include "support/ScanChoices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// Every scan engine against a disc pulled out, a drive unplugged and a drive
// hung not ready at each stage of the scan: its first command, the set-up,
// the pre-spin, the first measurement and half-way. Each ends soon after,
// never with "Test Complete" nor a message of its own, the status saying
// why it ended.

namespace {

constexpr std::uint64_t kDiscSectors = 160000;
// Commands an engine may still send once the fault came: the checks of the
// unit that confirm a hung drive (one a second for kNotReadySeconds) and its
// ending's, a wait for the unit among them; never a measurement of every
// sector left nor a retry of its own.
constexpr std::uint64_t kMostCommandsAfter = 2 * kNotReadySeconds + 40;

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
    {"aopen", ScanPioneer},
    {"benq", ScanBenqNew},
    {"benq-dw1620", ScanBenq},
    {"cyberdrive", ScanCyberdrive},
    {"generic-f3", ScanGeneric},
    {"btc", ScanBtc},
    {"nec", ScanNec},
    {"ihas", ScanIhas},
};
// clang-format on

struct FaultCase {
    emu::MidRunFault fault;
    DriveLoss loss;
};
const FaultCase kFaults[] = {
    {emu::MidRunFault::DiscRemoved, DriveLoss::DiscGone},
    {emu::MidRunFault::DriveGone, DriveLoss::DriveGone},
    {emu::MidRunFault::StuckNotReady, DriveLoss::NotReady},
};

// "Test Complete", or the newer BenQ's "Test Complete in mm:ss".
template <class Rig>
bool SaysComplete(const Rig& rig)
{
    return std::any_of(rig.sink.statuses.begin(), rig.sink.statuses.end(),
                       [](const std::string& status) { return status.starts_with("Test Complete"); });
}

// Where a clean run of the engine stands, in commands sent from its start.
struct Stage {
    const char* name;
    std::uint64_t commands;
};

// The stages of a clean run, found from the statuses it showed as it went:
// the pre-spin's "Pre-Spin up...", the running status of the measurement.
std::vector<Stage> StagesOf(const EngineCase& c)
{
    FaultScanRig rig(c.drive);
    const std::uint64_t before = rig.drive->SentCommands();
    std::vector<std::pair<std::string, std::uint64_t>> marks;
    rig.sink.onStatus = [&](const std::string& status) {
        marks.emplace_back(status, rig.drive->SentCommands() - before);
    };
    RunScanEngine(c.engine, rig.scan);
    const std::uint64_t clean = rig.drive->SentCommands() - before;
    EXPECT_TRUE(SaysComplete(rig)) << c.drive;
    const auto running = std::find_if(marks.begin(), marks.end(),
                                      [](const auto& mark) { return mark.first.ends_with("Running"); });
    const auto preSpin = std::find_if(marks.begin(), running,
                                      [](const auto& mark) { return mark.first == "Pre-Spin up..."; });
    EXPECT_NE(running, marks.end()) << c.drive;
    if (running == marks.end())
        return {};
    std::vector<Stage> stages = {{"first command", 0},
                                 {"set-up", (preSpin != running ? preSpin : running)->second / 2}};
    if (preSpin != running)
        stages.push_back({"pre-spin", (preSpin->second + std::next(preSpin)->second) / 2});
    stages.push_back({"first measurement", running->second});
    stages.push_back({"half-way", clean / 2});
    return stages;
}

TEST(ScanFaults, EveryEngineEndsAtTheFirstAnswerThatSaysTheDiscOrTheDriveWent)
{
    for (const EngineCase& c : kEngines) {
        for (const Stage& stage : StagesOf(c)) {
            for (const FaultCase& fault : kFaults) {
                SCOPED_TRACE(std::string(c.drive) + ", " + stage.name + ": " + DriveLossText(fault.loss));
                FaultScanRig rig(c.drive);
                const std::uint64_t before = rig.drive->SentCommands();
                rig.drive->ScheduleFault(fault.fault, stage.commands);
                RunScanEngine(c.engine, rig.scan);
                const std::uint64_t sent = rig.drive->SentCommands() - before;
                EXPECT_GT(sent, stage.commands);
                EXPECT_LE(sent, stage.commands + kMostCommandsAfter);
                EXPECT_FALSE(SaysComplete(rig));
                EXPECT_TRUE(rig.prompt.asked.empty()) << rig.prompt.asked.front().text;
                ASSERT_FALSE(rig.sink.statuses.empty());
                EXPECT_EQ(rig.sink.statuses.back(), std::string("Scan ended: ") + DriveLossText(fault.loss));

                EXPECT_EQ(rig.running.load(), 0);
                EXPECT_GE(rig.sink.stops, 1);
                EXPECT_GE(rig.sink.enables[scan_control::kAccuracy], 0) << "the box the engine disabled enabled again";
                if (fault.fault == emu::MidRunFault::DiscRemoved) {
                    EXPECT_FALSE(rig.drive->RemovalPrevented()) << "the tray unlocked on the way out";
                }
            }
        }
    }
}

}  // namespace
