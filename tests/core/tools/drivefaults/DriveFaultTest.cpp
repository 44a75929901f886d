#include "core/app/MainDialogCore.h"
#include "core/base/BusyFlags.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/graphs/RateGraph.h"
#include "core/info/MediaInfoReport.h"
#include "core/tools/errortest/ErrorTest.h"
#include "core/tools/hash/MediaHash.h"
#include "core/tools/iso/DiscCompare.h"
#include "core/tools/iso/DriveBlockReader.h"
#include "core/tools/iso/IsoCreation.h"
#include "core/tools/speed/SpeedTest.h"
#include "emu/MediaPresets.h"
#include "support/EmulatedDriveRig.h"
#include "support/HashToolSupport.h"
#include "support/RecordingEvents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

// Every drive tool against a disc pulled out, a drive unplugged and a drive
// hung not ready in the middle of its run: each ends soon after, never as a
// success.

namespace {

constexpr std::uint64_t kDiscBlocks = 3000;
// Commands a tool may still send once the fault came: its ending's (the
// tray, the speed, the checks of the unit a hung drive gets for
// kNotReadySeconds), never a read of every block left.
constexpr std::uint64_t kMostCommandsAfter = 40;

struct FaultRig : EmulatedDriveRig {
    explicit FaultRig(const char* drivePreset, const char* mediumPreset) : EmulatedDriveRig(drivePreset, "none")
    {
        image = dir.File("disc.iso");
        std::string bytes(kDiscBlocks * kBlockBytes, '\0');
        std::mt19937 random(7);
        for (char& byte : bytes)
            byte = static_cast<char>(random());
        WriteFileText(image, bytes);
        emu::MediumDescription disc = *emu::FindMediumPreset(mediumPreset);
        disc.imagePath = image;
        EXPECT_TRUE(drive->InsertMedium(disc));
        MakeCurrent(core.m_Drives);
        core.m_Drives.mmc.SetWaitClock(waitClock);
    }
    ~FaultRig()
    {
        g_bErrorTestRunning = 0;
        g_bSpeedTestRunning = 0;
    }
    ChannelClaim Claim(ChannelUse use)
    {
        std::optional<ChannelClaim> claim = core.m_Drives.coordinator.TryClaim(use);
        EXPECT_TRUE(claim);
        return std::move(*claim);
    }

    ScopedProgramLog log;
    ScriptedPrompt prompt;
    TempDir dir;
    std::string image;
    MainDialogCore core{Sources()};
    DriveBlockReader reader{core.m_Drives, core.m_Report};
    RecordingEvents events;
    RecordingHashEvents hashEvents;
    std::atomic<int> running{0};
};

// How a run ended: whether it said it succeeded, and the status it left.
struct ToolEnd {
    bool success = false;
    std::string status;
};

struct ToolCase {
    const char* name;
    const char* drive;
    const char* medium;
    std::function<ToolEnd(FaultRig&)> run;
    bool verdict;  // the run ends with a verdict, never a success after the fault
    bool saysWhy;  // the status line names the loss
};

ToolEnd RunErrorTest(FaultRig& rig)
{
    ChannelClaim claim = rig.Claim(ChannelUse::ErrorTest);
    ErrorTest test(rig.core.m_Drives, rig.core.m_Report, rig.events, claim);
    int profile = 0;
    rig.core.m_Drives.media.GetDriveProfile(profile);
    const ErrorTestEnd end = ErrorThreadFor(profile) == BDErrorThread ? test.DoBDErrorTest() : test.DoErrorTest();
    return {end == ErrorTestEnd::Complete, rig.events.Status()};
}

ToolEnd RunSpeedTest(FaultRig& rig)
{
    ChannelClaim claim = rig.Claim(ChannelUse::SpeedTest);
    RateGraph graph;
    SpeedTestSettings settings;
    settings.preSpinSeconds = 0;
    settings.startMs = rig.clock->NowMs();
    SpeedTest test(rig.core.m_Drives, rig.core.m_Report, rig.events, graph, claim, settings);
    int profile = 0;
    rig.core.m_Drives.media.GetDriveProfile(profile);
    const SpeedTestEnd end = profile >= 0x40 && profile <= 0x43 ? test.DoBDSpeedTest() : test.DoSpeedTest();
    return {end == SpeedTestEnd::Complete, rig.events.Status()};
}

ToolEnd RunIsoCreation(FaultRig& rig)
{
    IsoCreation creation(rig.reader, rig.events, rig.running);
    const std::string path = rig.dir.File("copy.iso");
    const IsoCreationEnd end = creation.DoCreateISO({path, [](const std::string&) { return UINT64_MAX / 2; }});
    EXPECT_EQ(end == IsoCreationEnd::Complete, std::filesystem::exists(path));
    return {end == IsoCreationEnd::Complete, rig.events.Status()};
}

ToolEnd RunCompare(FaultRig& rig, bool bluRay)
{
    DiscCompare compare(rig.reader, rig.events, rig.running);
    const CompareEnd end = compare.DoISOCompare(rig.image, bluRay);
    return {end == CompareEnd::Identical || end == CompareEnd::Different, rig.events.Status()};
}

ToolEnd RunDiscHash(FaultRig& rig)
{
    MediaHash hash(rig.core.m_Drives, rig.core.m_Report, rig.hashEvents, HashChoice{true, true});
    const HashOutcome end = hash.HashMedia(0, kDiscBlocks - 1, [] { return true; });
    return {end == HashOutcome::Done, rig.core.m_Report.GetStatusText()};
}

ToolEnd RunMediaInfo(FaultRig& rig)
{
    ReportText view;
    MediaInfoReport report(rig.core.m_Drives, rig.core.m_Report, view);
    const MediaInfoOutcome end = report.GeneralInfo(false);
    // The report is short: only its end is bounded, a partial one may show.
    return {end.show, rig.core.m_Report.GetStatusText()};
}

// clang-format off
const ToolCase kTools[] = {
    {"ErrorTestDvd", "dvd-writer", "dvd-rom", RunErrorTest, true, true},
    {"ErrorTestBd", "bd-writer", "bd-rom", RunErrorTest, true, true},
    {"SpeedTestDvd", "dvd-writer", "dvd-rom", RunSpeedTest, true, true},
    {"SpeedTestBd", "bd-writer", "bd-rom", RunSpeedTest, true, true},
    {"IsoCreation", "dvd-writer", "dvd-rom", RunIsoCreation, true, false},
    {"DiscCompare", "dvd-writer", "dvd-rom", [](FaultRig& rig) { return RunCompare(rig, false); }, true, true},
    {"DiscCompareBd", "bd-writer", "bd-rom", [](FaultRig& rig) { return RunCompare(rig, true); }, true, true},
    {"DiscHash", "dvd-writer", "dvd-rom", RunDiscHash, true, false},
    {"MediaInfo", "bd-writer", "dvd-rom", RunMediaInfo, false, false},
};
// clang-format on

struct FaultCase {
    const char* name;
    emu::MidRunFault fault;
    const char* says;
};
const FaultCase kFaults[] = {
    {"DiscRemoved", emu::MidRunFault::DiscRemoved, "the disc was removed"},
    {"DriveGone", emu::MidRunFault::DriveGone, "the drive was lost"},
    {"StuckNotReady", emu::MidRunFault::StuckNotReady, "the drive stays not ready"},
};

TEST(DriveFaults, EveryToolEndsSoonAfterTheDiscOrTheDriveGoesOrHangs)
{
    for (const ToolCase& tool : kTools) {
        std::uint64_t clean = 0;
        {
            FaultRig rig(tool.drive, tool.medium);
            const std::uint64_t before = rig.drive->SentCommands();
            const ToolEnd end = tool.run(rig);
            clean = rig.drive->SentCommands() - before;
            ASSERT_TRUE(end.success) << tool.name << ": " << end.status;
        }
        for (const FaultCase& fault : kFaults) {
            SCOPED_TRACE(std::string(tool.name) + " " + fault.name);
            FaultRig rig(tool.drive, tool.medium);
            const std::uint64_t before = rig.drive->SentCommands();
            rig.drive->ScheduleFault(fault.fault, clean / 2);
            const ToolEnd end = tool.run(rig);
            const std::uint64_t sent = rig.drive->SentCommands() - before;
            EXPECT_GT(sent, clean / 2);  // the fault came
            EXPECT_LE(sent, clean / 2 + kMostCommandsAfter) << "of " << clean << " in a clean run";
            if (tool.verdict) {
                EXPECT_FALSE(end.success) << end.status;
            }
            if (tool.saysWhy) {
                EXPECT_NE(end.status.find(fault.says), std::string::npos) << end.status;
            }
            if (fault.fault == emu::MidRunFault::DiscRemoved) {
                EXPECT_FALSE(rig.drive->RemovalPrevented());
            }
        }
    }
}

}  // namespace
