#include "core/base/BusyFlags.h"
#include "core/app/MainDialogCore.h"
#include "core/base/MessageIds.h"
#include "core/app/TestPageControls.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/graphs/RateGraph.h"
#include "core/tools/speed/RotationModel.h"
#include "core/tools/speed/SpeedFamily.h"
#include "core/tools/speed/SpeedTest.h"
#include "core/tools/speed/SpeedTestValues.h"
#include "core/tools/speed/SpeedThread.h"
#include "emu/DrivePresets.h"
#include "platform/devices/BlockDevices.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/RecordingEvents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

using namespace testpage;

namespace {

// The read speed test on an emulated drive, in virtual time: the drive
// spends its reads' time on the clock the test's waits and ticks read.
struct SpeedRig : EmulatedDriveRig {
    SpeedRig(const char* drivePreset, const char* mediumPreset) : EmulatedDriveRig(drivePreset, mediumPreset)
    {
        Prepare();
    }
    SpeedRig(const char* drivePreset, const emu::MediumDescription& disc) : EmulatedDriveRig(drivePreset, "none")
    {
        EXPECT_TRUE(drive->InsertMedium(disc));
        Prepare();
    }
    SpeedRig(emu::DriveIdentity identity, const char* mediumPreset) :
        EmulatedDriveRig(std::move(identity), mediumPreset)
    {
        Prepare();
    }
    ~SpeedRig() { g_bSpeedTestRunning = 0; }

    void Prepare()
    {
        drive->SetStrictCdbLength(true);
        MakeCurrent(core.m_Drives);
    }
    // One run as the page starts it: the body the profile picks.
    SpeedTestEnd Run(SpeedTestSettings settings = {})
    {
        std::optional<ChannelClaim> claim = core.m_Drives.coordinator.TryClaim(ChannelUse::SpeedTest);
        EXPECT_TRUE(claim);
        int profile = 0;
        core.m_Drives.media.GetDriveProfile(profile);
        drive->ClearJournal();
        settings.startMs = clock->NowMs();
        SpeedTest test(core.m_Drives, core.m_Report, events, graph, *claim, settings);
        if (SpeedThreadFor(profile) == SpeedThreadBD)
            return test.DoBDSpeedTest();
        if (SpeedThreadFor(profile) == SpeedThreadHDDVD)
            return test.DoHDDVDSpeedTest();
        return test.DoSpeedTest();
    }
    std::string Text(int id) { return events.texts[id]; }

    ScopedProgramLog log;
    ScriptedPrompt prompt;
    MainDialogCore core{Sources()};
    RecordingEvents events;
    RateGraph graph;
};

// Where a graph x lies on the disc: the blocks it spans.
struct Span {
    std::uint64_t first;
    std::uint64_t end;
};

Span BlocksOfX(SpeedFamily family, int x, double layerFactor)
{
    constexpr double kGigabyte = 524288;
    switch (family) {
    case SpeedFamily::Cd: return {std::uint64_t(x) * 930, std::uint64_t(x + 1) * 930};
    case SpeedFamily::Ddcd: return {std::uint64_t(x) * 1860, std::uint64_t(x + 1) * 1860};
    case SpeedFamily::Dvd:
        return {std::uint64_t(x * kGigabyte * layerFactor / 100),
                std::uint64_t((x + 1) * kGigabyte * layerFactor / 100)};
    case SpeedFamily::HdDvd:
        return {std::uint64_t(x * kGigabyte * layerFactor / 25), std::uint64_t((x + 1) * kGigabyte * layerFactor / 25)};
    case SpeedFamily::Bd: return {std::uint64_t(x / 16) << 19, std::uint64_t(x / 16 + 1) << 19};
    }
    return {};
}

// The model's speed over a span of blocks, in the x the page shows (its kB
// of 1024 bytes over the family's 1x) and in RPM.
struct Range {
    double low = 1e9;
    double high = 0;
    void Take(double value)
    {
        low = std::min(low, value);
        high = std::max(high, value);
    }
};

}  // namespace

// The graph's speed and rotation curves follow the emulated drive's closed
// form for every family of media: CAV, CLV and zoned CLV, as the drive reads
// at its fastest or at the speed and rotation asked for.
TEST(SpeedTest, TheCurvesFollowTheDrivesClosedFormForEachFamily)
{
    struct Case {
        const char* drive;
        const char* medium;
        int speedX;
        int request;  // 0 CLV, 1 CAV
        SpeedFamily family;
        bool audio = false;  // a CD of sound, read with READ CD
    };
    const Case cases[] = {
        {"cd-reader", "cd-rom", 0, 0, SpeedFamily::Cd},       {"cd-reader", "cd-r", 16, 0, SpeedFamily::Cd},
        {"dvd-writer", "dvd+r", 0, 0, SpeedFamily::Dvd},      {"dvd-writer", "dvd-rom", 8, 1, SpeedFamily::Dvd},
        {"bd-writer", "hddvd-rom", 0, 0, SpeedFamily::HdDvd}, {"bd-writer", "bd-r", 0, 0, SpeedFamily::Bd},
        {"bd-writer", "bd-re", 4, 0, SpeedFamily::Bd},        {"dvd-reader-strict", "dvd-rom", 0, 0, SpeedFamily::Dvd},
        {"usb-dvd-reader", "cd-rom", 0, 0, SpeedFamily::Cd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.drive) + " " + c.medium + " " + std::to_string(c.speedX) + "x");
        emu::MediumDescription disc = *emu::FindMediumPreset(c.medium);
        if (c.audio)
            disc.tracks.front().control = 0;
        SpeedRig rig(c.drive, disc);
        ASSERT_EQ(rig.Run({.speedX = c.speedX, .speedRequest = c.request}), SpeedTestEnd::Complete);

        const emu::SpinPlan plan = rig.drive->ReadPlan();
        const SpeedFamilyFacts& facts = FactsOf(c.family);
        // The page's x: kB of 1024 bytes a second over the family's 1x.
        const double shownPerModelX = plan.geometry.blocksPerSecond1x * 2 / facts.kBpsPerX;
        const RateGraphState graph = rig.graph.Snapshot();
        const auto blocks = emu::FindMediumPreset(c.medium)->capacityBlocks;
        ASSERT_GT(graph.speed.Count(), 20u);
        // The curves reach the end of the disc.
        EXPECT_GE(BlocksOfX(c.family, graph.speed.x.back(), 1).end, blocks - blocks / 50);
        EXPECT_EQ(graph.endMarkerX, static_cast<int>(CapacityLineX(c.family, std::int64_t(blocks - 1), 1)));

        // HD DVD and BD above 9x are drawn on their second scale.
        const bool secondScale = c.family == SpeedFamily::HdDvd || c.family == SpeedFamily::Bd;
        const int speedYPerX = secondScale && rig.Text(kSpeedAxisLabels[0]) == "18x" ? 20 : facts.speedYPerX;
        for (std::size_t i = 1; i < graph.speed.Count(); ++i) {
            const Span span = BlocksOfX(c.family, graph.speed.x[i], 1);
            // A point averages the samples of the last 12.5 MB (6 MB on BD).
            const std::uint64_t from = span.first > 8000 ? span.first - 8000 : 0;
            Range speed;
            Range rpm;
            for (std::uint64_t lba = from; lba < std::min<std::uint64_t>(span.end, blocks); lba += 256) {
                speed.Take(plan.SpeedAt(lba) * shownPerModelX);
                rpm.Take(plan.RpmAt(lba));
            }
            // Where the rotation steps up (a zone of zoned CLV) the spindle
            // takes its time to speed up, and the sample around it is slower.
            const double stepping = speed.high > speed.low * 1.05 ? (rpm.high - rpm.low) / 8000 : 0;
            const double shown = double(399 - graph.speed.y[i]) / speedYPerX;
            EXPECT_GE(shown, speed.low * 0.97 * (1 - stepping) - 1.0 / speedYPerX)
                << "point " << i << " x " << graph.speed.x[i];
            EXPECT_LE(shown, speed.high * 1.03 + 1.0 / speedYPerX) << "point " << i << " x " << graph.speed.x[i];
        }
        for (std::size_t i = 1; i < graph.rpm.Count(); ++i) {
            const Span span = BlocksOfX(c.family, graph.rpm.x[i], 1);
            const std::uint64_t from = span.first > 8000 ? span.first - 8000 : 0;
            Range rpm;
            for (std::uint64_t lba = from; lba < std::min<std::uint64_t>(span.end, blocks); lba += 256)
                rpm.Take(plan.RpmAt(lba));
            const double shown = double(399 - graph.rpm.y[i]) * facts.rpmDivisor;
            EXPECT_GE(shown, rpm.low * 0.96 - facts.rpmDivisor) << "point " << i << " x " << graph.rpm.x[i];
            EXPECT_LE(shown, rpm.high * 1.04 + facts.rpmDivisor) << "point " << i << " x " << graph.rpm.x[i];
        }

        // The run's end: results kept, everything given back.
        EXPECT_EQ(rig.events.Status(), "Ready");
        EXPECT_EQ(rig.events.progress.back(), 100);
        EXPECT_EQ(rig.events.posted, std::vector<UINT>{WM_TESTENDED});
        EXPECT_FALSE(rig.drive->RemovalPrevented());
        EXPECT_EQ(g_bSpeedTestRunning, 0);
        EXPECT_NE(rig.Text(kFieldAverageSpeed), "");
        if (c.audio) {
            const auto reads = rig.drive->Journal();
            EXPECT_TRUE(std::all_of(reads.end() - 100, reads.end(), [](const emu::JournalEntry& read) {
                return read.Opcode() != mmc::kReadCd || read.dataLength == 32 * 2352;
            }));
            EXPECT_TRUE(rig.CdbsOf(mmc::kRead10).empty()) << "the measuring reads whole sectors";
        }
        // Every read left with its command's whole length.
        for (const auto& cdb : rig.Cdbs()) {
            if (cdb[0] == mmc::kRead10) {
                ASSERT_EQ(cdb.size(), 10u);
            } else if (cdb[0] == mmc::kReadCd || cdb[0] == mmc::kSetCdSpeed) {
                ASSERT_EQ(cdb.size(), 12u);
            }
        }
    }
}

namespace {

// A speed test as the running program makes it: the drive on a paced clock
// (its wall clock and sleep the test's own, the wall moving only by the
// sleeps), and the program's waits and times on the drive context's own
// clock, which follows the current drive.
struct PacedSpeedRun {
    PacedSpeedRun(double speedup, const emu::MediumDescription& disc)
    {
        clock = std::make_shared<emu::PacedClock>(
            speedup, [this] { return wallUs; }, [this](std::uint64_t us) { wallUs += us; });
        std::string error;
        auto drive = emu::MakeEmulatedDrive("dvd-writer", "none", clock, &error);
        EXPECT_TRUE(drive && drive->InsertMedium(disc)) << error;
        DriveSources sources;
        sources.sysBlockRoot = sources.devRoot = machine.Path();
        sources.emulated = {{"emu0", drive}};
        core.emplace(std::move(sources));
        DriveContext& drives = core->m_Drives;
        EXPECT_TRUE(drives.list.FillDeviceComboList());
        drives.list.SetDeviceComboSel(0);
        EXPECT_EQ(drives.list.OnSelchangeDevicescombo().outcome, SelectionOutcome::Selected);
        std::optional<ChannelClaim> claim = drives.coordinator.TryClaim(ChannelUse::SpeedTest);
        EXPECT_TRUE(claim);
        const std::uint64_t wallBefore = wallUs;
        const std::uint64_t modelBefore = clock->NowMs();
        SpeedTest test(drives, core->m_Report, events, graph, *claim, {.startMs = drives.mmc.GetWaitClock().NowMs()});
        end = test.DoSpeedTest();
        wallSpentUs = wallUs - wallBefore;
        modelSpentMs = clock->NowMs() - modelBefore;
    }
    ~PacedSpeedRun() { g_bSpeedTestRunning = 0; }

    std::uint64_t wallUs = 5'000'000;
    std::shared_ptr<emu::PacedClock> clock;
    TempDir machine;
    ScopedProgramLog log;
    ScriptedPrompt prompt;
    std::optional<MainDialogCore> core;
    RecordingEvents events;
    RateGraph graph;
    SpeedTestEnd end = SpeedTestEnd::Failed;
    std::uint64_t wallSpentUs = 0;
    std::uint64_t modelSpentMs = 0;
};

}  // namespace

// On a paced drive the program times its reads by the drive's clock: the
// speeds, curves and times it shows are the model's, as in virtual time,
// whatever the speedup, and the wall time the run takes shrinks by it.
TEST(SpeedTest, APacedDriveShowsTheModelsSpeedsInShortenedWallTime)
{
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
    disc.capacityBlocks = 300000;
    SpeedRig virtualRun("dvd-writer", disc);
    const std::uint64_t virtualStartMs = virtualRun.clock->NowMs();
    ASSERT_EQ(virtualRun.Run(), SpeedTestEnd::Complete);
    const std::uint64_t virtualSpentMs = virtualRun.clock->NowMs() - virtualStartMs;
    const RateGraphState expected = virtualRun.graph.Snapshot();
    ASSERT_GT(expected.speed.Count(), 5u);

    // The model's average over the measured reads, in the page's x.
    const emu::SpinPlan plan = virtualRun.drive->ReadPlan();
    double readUs = 0;
    for (std::uint64_t lba = 0; lba < disc.capacityBlocks; lba += 32)
        readUs += double(plan.TransferMicroseconds(lba, std::min<std::uint64_t>(32, disc.capacityBlocks - lba)));
    const double modelX = double(disc.capacityBlocks) * 2 / (readUs / 1e6) / FactsOf(SpeedFamily::Dvd).kBpsPerX;

    std::uint64_t wallAtOne = 0;
    for (const double speedup : {1.0, 50.0}) {
        SCOPED_TRACE(speedup);
        PacedSpeedRun run(speedup, disc);
        ASSERT_EQ(run.end, SpeedTestEnd::Complete);
        EXPECT_FALSE(run.core->m_Drives.DriveClock().FollowsSystemClock());
        const RateGraphState shown = run.graph.Snapshot();
        EXPECT_EQ(shown.speed.x, expected.speed.x);
        EXPECT_EQ(shown.speed.y, expected.speed.y);
        EXPECT_EQ(shown.rpm.y, expected.rpm.y);
        for (const int field : {kFieldAverageSpeed, kFieldAverageDataRate, kFieldElapsedTime})
            EXPECT_EQ(run.events.texts[field], virtualRun.Text(field)) << field;
        EXPECT_NEAR(std::stod(run.events.texts[kFieldAverageSpeed]), modelX, modelX * 0.03);

        // The drive's time as in virtual time; the wall's shorter by the speedup.
        EXPECT_NEAR(double(run.modelSpentMs), double(virtualSpentMs), 2.0);
        EXPECT_NEAR(double(run.wallSpentUs) * speedup / 1000, double(run.modelSpentMs), 1.0 * speedup);
        if (speedup == 1)
            wallAtOne = run.wallSpentUs;
        else
            EXPECT_NEAR(double(run.wallSpentUs), double(wallAtOne) / speedup, 1000.0);
    }
}

// One SET CD SPEED before the first measured read, with the list entry's own
// speed in the family's unit (FFFFh for "MAX") and the rotation asked for.
TEST(SpeedTest, OneSetCdSpeedWithTheChosenSpeedAndRotationGoesBeforeTheMeasuredReads)
{
    struct Case {
        const char* drive;
        const char* medium;
        int speedX;
        int request;
        std::uint16_t kBps;
        emu::Rotation rotation;  // how the drive reads then
    };
    using enum emu::Rotation;
    const Case cases[] = {
        {"cd-reader", "cd-rom", 0, 0, 0xFFFF, Cav},      {"cd-reader", "cd-rom", 40, 0, 40 * 176, Cav},
        {"cd-reader", "cd-rom", 9, 0, 9 * 176, Clv},     {"cd-reader", "cd-rom", 9, 1, 9 * 176, Cav},
        {"dvd-writer", "dvd+r", 16, 1, 16 * 1385, Cav},  {"dvd-writer", "dvd+r", 0, 1, 0xFFFF, Cav},
        {"bd-writer", "hddvd-rom", 2, 0, 2 * 4568, Clv}, {"bd-writer", "bd-r", 0, 0, 0xFFFF, ZonedClv},
        {"bd-writer", "bd-r", 6, 1, 6 * 4496, Cav},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.medium) + " " + std::to_string(c.speedX));
        // A short disc: the drive's journal keeps its whole run.
        emu::MediumDescription disc = *emu::FindMediumPreset(c.medium);
        disc.capacityBlocks = 40000;
        SpeedRig rig(c.drive, disc);
        ASSERT_EQ(rig.Run({.speedX = c.speedX, .speedRequest = c.request, .preSpinSeconds = 1}),
                  SpeedTestEnd::Complete);
        const auto cdbs = rig.Cdbs();
        const auto speed = std::find_if(cdbs.begin(), cdbs.end(), [](const auto& cdb) { return cdb[0] == 0xBB; });
        ASSERT_NE(speed, cdbs.end());
        EXPECT_EQ(rig.CdbsOf(0xBB).size(), 1u);
        std::vector<std::uint8_t> expected(12, 0);
        expected[0] = 0xBB;
        expected[1] = static_cast<std::uint8_t>(c.request);
        scsi::PutBe16(&expected[2], c.kBps);
        scsi::PutBe16(&expected[4], c.kBps);
        EXPECT_EQ(*speed, expected);
        // Before the tray is locked for the measuring, or right after it.
        const auto lock = std::find_if(cdbs.begin(), cdbs.end(), [](const auto& cdb) {
            return cdb[0] == mmc::kPreventAllowMediumRemoval && cdb[4] == 1;
        });
        ASSERT_NE(lock, cdbs.end());
        EXPECT_LT(speed - cdbs.begin(), lock - cdbs.begin() + 2);
        // The drive reads as asked.
        const emu::SpinPlan plan = rig.drive->ReadPlan();
        EXPECT_EQ(plan.rotation, c.rotation);
        if (c.speedX > 0) {
            EXPECT_NEAR(plan.targetX, c.speedX, c.speedX * 0.01);
        }
    }
}

// Each way a run ends gives the tray back: the end of the disc, Stop, a
// read failure, too many errors, an encrypted disc, the disc taken out.
TEST(SpeedTest, TheTrayIsUnlockedAtEveryEnd)
{
    struct Case {
        const char* name;
        std::function<void(SpeedRig&)> arrange;
        SpeedTestEnd end;
        const char* status;
        bool posts;
    };
    const auto whenRunning = [](SpeedRig& rig, std::function<void()> act) {
        rig.events.onStatus = [&rig, act](const std::string& status) {
            if (status == "Running Speed Test...") {
                EXPECT_TRUE(rig.drive->RemovalPrevented()) << "locked while measuring";
                act();
            }
        };
    };
    const Case cases[] = {
        {"complete", [](SpeedRig&) {}, SpeedTestEnd::Complete, "Ready", true},
        {"stop", [&](SpeedRig& rig) { whenRunning(rig, [] { g_bSpeedTestRunning = 0; }); }, SpeedTestEnd::Stopped,
         "Ready", true},
        {"unreadable disc",
         [](SpeedRig& rig) {
             rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(mmc::kRead10, emu::sense::kUnrecoveredReadError));
             rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(mmc::kReadCd, emu::sense::kUnrecoveredReadError));
         },
         SpeedTestEnd::Failed, "Ready", false},
        {"too many errors",
         [&](SpeedRig& rig) {
             whenRunning(rig, [&rig] { rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(0, 2000000)); });
         },
         SpeedTestEnd::TooManyErrors, "Read Error", true},
        {"encrypted",
         [](SpeedRig& rig) {
             emu::ErrorRule locked = emu::ErrorRule::UnreadableBlocks(900000, 1);
             locked.sense = {5, 0x6F, 0x03};
             rig.drive->AddErrorRule(locked);
         },
         SpeedTestEnd::Encrypted, "Media is encrypted & locked", true},
        {"disc taken out", [&](SpeedRig& rig) { whenRunning(rig, [&rig] { rig.drive->RemoveMedium(); }); },
         SpeedTestEnd::Fault, "Test ended at LBA 1900h: the disc was removed", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpeedRig rig("dvd-writer", "dvd+r");
        c.arrange(rig);
        EXPECT_EQ(rig.Run({.preSpinSeconds = 1}), c.end);
        EXPECT_FALSE(rig.drive->RemovalPrevented());
        EXPECT_EQ(rig.core.m_Drives.mmc.m_bTrayLocked, 0);
        EXPECT_EQ(g_bSpeedTestRunning, 0);
        EXPECT_EQ(rig.events.Status(), c.status);
        EXPECT_EQ(rig.events.posted, c.posts ? std::vector<UINT>{WM_TESTENDED} : std::vector<UINT>{});
        EXPECT_TRUE(rig.events.enabled[kStart]);
        EXPECT_FALSE(rig.events.enabled[kStop]);
        EXPECT_NE(rig.log.Text().find("DisableMCN - MCN enabled"), std::string::npos) << "notification on again";
    }
}

// A read error before the first graph point asks whether to go on: No ends
// the run with an empty graph, Yes measures on.
TEST(SpeedTest, AReadErrorAtTheStartAsksWhetherToGoOn)
{
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        SpeedRig rig("dvd-writer", "dvd+r");
        rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(3000, 1));
        rig.events.answers.push_back(answer);
        const SpeedTestEnd end = rig.Run({.preSpinSeconds = 0});
        ASSERT_EQ(rig.events.boxes.size(), 1u);
        EXPECT_EQ(rig.events.boxes[0].text, "Test started with a read error, do you want to continue?");
        EXPECT_EQ(rig.events.boxes[0].caption, "Read Error?");
        EXPECT_EQ(rig.events.boxes[0].type, unsigned{MB_YESNO | MB_ICONQUESTION});
        EXPECT_FALSE(rig.drive->RemovalPrevented());
        EXPECT_EQ(rig.events.posted, std::vector<UINT>{WM_TESTENDED});
        if (answer == IDNO) {
            EXPECT_EQ(end, SpeedTestEnd::Declined);
            EXPECT_EQ(rig.events.Status(), "An error was encountered");
            EXPECT_EQ(rig.graph.Snapshot().speed.Count(), 0u);
            EXPECT_EQ(rig.Text(kFieldReadErrors), "0") << "the results reset";
        } else {
            EXPECT_EQ(end, SpeedTestEnd::Complete);
            EXPECT_EQ(rig.Text(kFieldReadErrors), "1");
            EXPECT_GT(rig.graph.Snapshot().speed.Count(), 100u);
        }
    }
}

// Blank and tiny discs: the blank one ends before any read; one of fewer
// than 100 blocks is read to its end without dividing by zero, its last read
// asking only for the blocks left and moving only their bytes.
TEST(SpeedTest, BlankAndTinyDiscs)
{
    emu::MediumDescription blank = *emu::FindMediumPreset("dvd+r");
    blank.capacityBlocks = 1;  // READ CAPACITY: last block 0
    SpeedRig empty("dvd-writer", blank);
    EXPECT_EQ(empty.Run(), SpeedTestEnd::Blank);
    EXPECT_EQ(empty.events.BoxTexts(), std::vector<std::string>{"Media seems to be blank!"});
    EXPECT_EQ(empty.events.Status(), "Error - Media is blank");
    EXPECT_EQ(empty.events.posted, std::vector<UINT>{WM_TESTENDED});
    EXPECT_TRUE(empty.CdbsOf(mmc::kRead10).empty());

    emu::MediumDescription tiny = *emu::FindMediumPreset("dvd+r");
    tiny.capacityBlocks = 71;  // last block 70
    SpeedRig small("dvd-writer", tiny);
    EXPECT_EQ(small.Run({.preSpinSeconds = 2}), SpeedTestEnd::Complete);
    EXPECT_EQ(small.events.progress.back(), 100);
    EXPECT_TRUE(small.events.BoxTexts().empty());
    std::vector<std::pair<std::uint32_t, std::size_t>> measured;  // blocks and transfer length
    bool measuring = false;
    for (const emu::JournalEntry& entry : small.drive->Journal()) {
        if (entry.Opcode() == mmc::kPreventAllowMediumRemoval)
            measuring = entry.cdb[4] == 1;
        if (measuring && entry.Opcode() == mmc::kRead10 && entry.cdb[1] == 0)
            measured.emplace_back(scsi::GetBe16(&entry.cdb[7]), entry.dataLength);
    }
    EXPECT_EQ(measured, (std::vector<std::pair<std::uint32_t, std::size_t>>{{32, 65536}, {32, 65536}, {6, 6 * 2048}}));
    // The pre-spin stays on the disc, reading it again from its start.
    for (const auto& cdb : small.CdbsOf(mmc::kRead10))
        EXPECT_LE(scsi::GetBe32(&cdb[2]) + scsi::GetBe16(&cdb[7]), 71u);
}

// Pre-spin reads from block 0 on, one at least, until its seconds have
// passed on the drive's clock.
TEST(SpeedTest, PreSpinReadsUntilItsSecondsHavePassed)
{
    for (const int seconds : {0, 3}) {
        SCOPED_TRACE(seconds);
        emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
        disc.capacityBlocks = 20000;
        SpeedRig rig("dvd-writer", disc);
        std::uint64_t preSpinStart = 0;
        std::uint64_t preSpinEnd = 0;
        rig.events.onStatus = [&](const std::string& status) {
            if (status.rfind("Pre-Spin", 0) == 0 && preSpinStart == 0)
                preSpinStart = rig.clock->NowMs();
            if (status == "Preparing...")
                preSpinEnd = rig.clock->NowMs();
        };
        ASSERT_EQ(rig.Run({.preSpinSeconds = seconds}), SpeedTestEnd::Complete);
        std::vector<std::uint32_t> blocks;
        bool locked = false;
        for (const auto& cdb : rig.Cdbs()) {
            if (cdb[0] == mmc::kPreventAllowMediumRemoval)
                locked = cdb[4] == 1;
            if (locked && cdb[0] == mmc::kRead10 && cdb[1] == 0x08)
                blocks.push_back(scsi::GetBe32(&cdb[2]));
        }
        ASSERT_FALSE(blocks.empty());
        for (std::size_t i = 0; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i], 32u * i);
        if (seconds == 0) {
            EXPECT_EQ(blocks.size(), 1u);
        } else {
            EXPECT_GE(preSpinEnd - preSpinStart, 3000u);
            EXPECT_LT(preSpinEnd - preSpinStart, 3100u);
            const auto& statuses = rig.events.statuses;
            EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Pre-Spin 3 Seconds"), statuses.end());
            EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Pre-Spin 1 Seconds"), statuses.end());
            // Hundreds of reads, each second's status once (and once in the log).
            EXPECT_GT(blocks.size(), 100u);
            EXPECT_EQ(std::count_if(statuses.begin(), statuses.end(),
                                    [](const std::string& s) { return s.find(" Seconds") != std::string::npos; }),
                      3);
        }
    }
}

// A DVD read faster than 20x switches the axis to "36x" ... "4x" and the
// whole curve to 10 pixels an x; the next run starts at 20 again.
TEST(SpeedTest, AFastDvdSwitchesTheSpeedAxisAndTheNextRunStartsAgain)
{
    emu::DriveIdentity fastDvd = *emu::FindDrivePreset("bd-writer");
    fastDvd.capabilities.dvd.readKBps = 24 * 1385;
    SpeedRig rig(std::move(fastDvd), "dvd+r");
    ASSERT_EQ(rig.Run({.preSpinSeconds = 1}), SpeedTestEnd::Complete);
    EXPECT_EQ(rig.Text(kSpeedAxisLabels[0]), "36x");
    EXPECT_EQ(rig.Text(kSpeedAxisLabels[8]), "4x");
    EXPECT_EQ(g_bDvdSpeedScale20, 0);
    // Every point of the curve reads against the new labels: at most 24x at
    // 10 pixels an x, and never less than the inside speed.
    const RateGraphState graph = rig.graph.Snapshot();
    const double insideX = rig.drive->ReadPlan().SpeedAt(0) * 1385000 / 1024 / 1385;
    for (int y : graph.speed.y) {
        EXPECT_LE((399 - y) / 10.0, 24.5);
        EXPECT_GE((399 - y) / 10.0, insideX * 0.95);
    }
    rig.events.texts.clear();
    rig.events.onStatus = [&](const std::string& status) {
        if (status == "Preparing...") {
            EXPECT_EQ(g_bDvdSpeedScale20, 1);
            EXPECT_EQ(rig.Text(kSpeedAxisLabels[0]), "18x");
        }
    };
    rig.graph.ClearGraph();
    ASSERT_EQ(rig.Run({.preSpinSeconds = 1}), SpeedTestEnd::Complete);
}

// DVD and BD speeds are multiples of their true 1x (1,385,000 and 4,500,000
// bytes a second): the last speed shown is what the drive reads at the end
// of the disc. A BD read above 9x switches to a second scale, "18x" ... "2x"
// at 20 pixels an x, so a 12x drive's outer zones stay on the graph.
TEST(SpeedTest, DvdAndBdSpeedsAreMultiplesOfTheTrue1xAndFastBdKeepsOnTheGraph)
{
    struct Case {
        const char* drive;
        const char* medium;
        double bytesPer1x;
        const char* topLabel;
    };
    const Case cases[] = {
        {"dvd-writer", "dvd+r", 1385000, "18x"},
        {"bd-writer", "bd-r", 4500000, "18x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.medium);
        SpeedRig rig(c.drive, c.medium);
        ASSERT_EQ(rig.Run({.preSpinSeconds = 1}), SpeedTestEnd::Complete);
        const emu::SpinPlan plan = rig.drive->ReadPlan();
        const auto blocks = emu::FindMediumPreset(c.medium)->capacityBlocks;
        const double bytesPerSecond = plan.SpeedAt(blocks - 1000) * plan.geometry.blocksPerSecond1x * 2048;
        const double expected = bytesPerSecond / c.bytesPer1x;
        EXPECT_NEAR(std::stod(rig.Text(kFieldCurrentSpeed)), expected, expected * 0.005);
        EXPECT_EQ(rig.Text(kSpeedAxisLabels[0]), c.topLabel);
        const RateGraphState graph = rig.graph.Snapshot();
        ASSERT_GT(graph.speed.Count(), 20u);
        constexpr int speedYPerX = 20;  // DVD up to 20x; BD on its second scale
        for (std::size_t i = 0; i < graph.speed.Count(); ++i) {
            EXPECT_GT(graph.speed.y[i], 0) << "point " << i << " is on the graph";
            EXPECT_LT(graph.speed.y[i], 399) << "point " << i;
        }
        // The curve's last point reads against the labels.
        const double lastShown = double(399 - graph.speed.y.back()) / speedYPerX;
        EXPECT_NEAR(lastShown, expected, expected * 0.02 + 1.0 / speedYPerX);
    }
}

// On the machine's first optical drive (a real kernel's SG_IO; most build
// machines have none): a readable disc reads to its end without a read
// error, its last short read included.
TEST(SpeedTest, ARealDriveReadsItsDiscToTheEndWithoutReadErrors)
{
    if (ListOpticalDrives("/sys/block").empty())
        GTEST_SKIP() << "no optical drive on this machine (no /sys/block/srN)";
    ScopedProgramLog log;
    DriveSources sources;
    sources.watchIntervalMs = 0;
    MainDialogCore core{sources};
    ASSERT_TRUE(core.m_Drives.list.FillDeviceComboList());
    core.m_Drives.list.SetDeviceComboSel(0);
    ASSERT_EQ(core.m_Drives.list.OnSelchangeDevicescombo().outcome, SelectionOutcome::Selected);
    if (core.m_Drives.mmc.TestMediaPresent() != 1)
        GTEST_SKIP() << "no disc in the drive";
    std::optional<ChannelClaim> claim = core.m_Drives.coordinator.TryClaim(ChannelUse::SpeedTest);
    ASSERT_TRUE(claim);
    int profile = 0;
    core.m_Drives.media.GetDriveProfile(profile);
    RecordingEvents events;
    RateGraph graph;
    SpeedTest test(core.m_Drives, core.m_Report, events, graph, *claim, {.preSpinSeconds = 0});
    const SpeedTestEnd end = SpeedThreadFor(profile) == SpeedThreadBD ? test.DoBDSpeedTest()
        : SpeedThreadFor(profile) == SpeedThreadHDDVD                 ? test.DoHDDVDSpeedTest()
                                                                      : test.DoSpeedTest();
    EXPECT_EQ(end, SpeedTestEnd::Complete);
    EXPECT_EQ(std::count(events.statuses.begin(), events.statuses.end(), "Read Error"), 0);
    EXPECT_EQ(events.texts[kFieldReadErrors], "");
    EXPECT_EQ(events.Status(), "Ready");
}

TEST(SpeedTest, TheRotationModelFoldsTheSecondLayerOfAnOppositeTrackPath)
{
    // DVD at 1x (1,385,000 bytes a second) at the inside: 3.49 m/s on a
    // 24 mm radius.
    EXPECT_NEAR(CalcRpm(0, 1385000.0 / 1024, 3.49, 1, 2000000, 7.4e-7, 0), 3.49 * 60 / (2 * M_PI * 0.024), 0.5);
    // CD 1x (75 sectors) at 25 mm; BD 1x at 24 mm.
    EXPECT_NEAR(CalcRpm(0, 150, 1.2, 1, 300000, 1.6e-6, 0), 1.2 * 60 / (2 * M_PI * 0.025), 0.5);
    EXPECT_NEAR(CalcBdRpm(0, 4496, 4.92, 0, 3.2e-7, 0, 0), 4.92 * 60 / (2 * M_PI * 0.024), 0.5);
    // Opposite path: the second layer runs back in; parallel: it goes on.
    const unsigned layerBreak = 2000000;
    for (unsigned k : {1000u, 500000u, 1900000u}) {
        EXPECT_DOUBLE_EQ(CalcRpm(layerBreak + k, 10000, 3.84, 0, 4000000, 8e-7, layerBreak),
                         CalcRpm(layerBreak - k, 10000, 3.84, 0, 4000000, 8e-7, layerBreak));
        EXPECT_LT(CalcRpm(layerBreak + k, 10000, 3.84, 1, 4000000, 8e-7, layerBreak),
                  CalcRpm(layerBreak - k, 10000, 3.84, 1, 4000000, 8e-7, layerBreak));
    }
    // Beyond twice the break it stays at the inside rather than failing.
    EXPECT_TRUE(std::isfinite(CalcRpm(4100000, 10000, 3.49, 0, 4200000, 7.4e-7, 2000000)));
}

TEST(SpeedTest, TheSpeedListsFollowTheProfile)
{
    const auto list = [](int profile) {
        std::string joined;
        for (const std::string& entry : SpeedListFor(profile))
            joined += entry + " ";
        return joined;
    };
    const std::string cd = "MAX 80x 70x 60x 50x 40x 30x 20x 10x 9x 8x 7x 6x 5x 4x 3x 2x 1x ";
    EXPECT_EQ(list(0x08), cd);
    EXPECT_EQ(list(0x0A), cd);
    EXPECT_EQ(list(0x21), cd);
    EXPECT_EQ(list(0x81), cd);
    const std::string hdDvd = "18x 17x 16x 15x 14x 13x 12x 11x 10x 9x 8x 7x 6x 5x 4x 3x 2x 1x ";
    EXPECT_EQ(list(0x51), "MAX " + hdDvd);
    EXPECT_EQ(list(0x1B), "MAX 20x 19x " + hdDvd);
    EXPECT_EQ(list(0x10), "MAX 20x 19x " + hdDvd);
    for (int bd : {0x40, 0x41, 0x42, 0x43})
        EXPECT_EQ(list(bd), "MAX 9x 8x 7x 6x 5x 4x 3x 2x 1x ");
    // Each entry asks for its own speed.
    for (int profile : {0x08, 0x1B, 0x51, 0x41}) {
        const auto entries = SpeedListFor(profile);
        EXPECT_EQ(SpeedOfEntry(entries[0]), 0);
        for (std::size_t i = 1; i < entries.size(); ++i)
            EXPECT_EQ(std::to_string(SpeedOfEntry(entries[i])) + "x", entries[i]);
    }
    const auto preSpin = PreSpinList();
    ASSERT_EQ(preSpin.size(), 11u);
    EXPECT_EQ(preSpin[0], "No Prespin");
    EXPECT_EQ(preSpin[1], "1 Second");
    EXPECT_EQ(preSpin[10], "10 Seconds");
    EXPECT_EQ(PageCapacityLabels(0x51)[3], std::string("16GB"));
    EXPECT_EQ(PageCapacityLabels(0x43)[0], std::string("6GB"));
    EXPECT_EQ(PageCapacityLabels(0x1B)[1], std::string("2GB"));
}

TEST(SpeedTest, AThreadWithoutItsTestSaysSoAndEnds)
{
    ScopedProgramLog log;
    EXPECT_EQ(SpeedThread(nullptr), 1);
    EXPECT_EQ(SpeedThreadHDDVD(nullptr), 1);
    EXPECT_EQ(SpeedThreadBD(nullptr), 1);
    EXPECT_NE(log.Text().find("SpeedThread() - THREAD - InternetThread isn't valid"), std::string::npos);
    EXPECT_NE(log.Text().find("SpeedThread() - BD THREAD - InternetThread isn't valid"), std::string::npos);
    EXPECT_EQ(SpeedThreadFor(0x08), SpeedThread);
    EXPECT_EQ(SpeedThreadFor(0x2B), SpeedThread);
    EXPECT_EQ(SpeedThreadFor(0x50), SpeedThreadHDDVD);
    EXPECT_EQ(SpeedThreadFor(0x5A), SpeedThreadHDDVD);
    EXPECT_EQ(SpeedThreadFor(0x43), SpeedThreadBD);
}

TEST(SpeedTest, AStopBeforeTheTestBeganReadsNothing)
{
    SpeedRig rig("dvd-writer", "dvd+r");
    std::optional<ChannelClaim> claim = rig.core.m_Drives.coordinator.TryClaim(ChannelUse::SpeedTest);
    ASSERT_TRUE(claim);
    rig.core.m_Drives.coordinator.RequestStop(ChannelUse::SpeedTest);
    SpeedTest test(rig.core.m_Drives, rig.core.m_Report, rig.events, rig.graph, *claim, {});
    EXPECT_EQ(test.DoSpeedTest(), SpeedTestEnd::Stopped);
    EXPECT_TRUE(rig.CdbsOf(mmc::kRead10).empty());
    EXPECT_EQ(g_bSpeedTestRunning, 0);
    EXPECT_EQ(rig.events.Status(), "Ready");
    EXPECT_TRUE(rig.events.enabled[kStart]);
}

// The BD body asks for the unit to be ready before every pass of 16 reads:
// a drive that recalibrates half-way is waited for, its refused reads counted.
TEST(SpeedTest, TheBdBodyWaitsOutADriveThatIsBecomingReady)
{
    SpeedRig rig("bd-writer", "bd-r");
    rig.drive->AddNotReadyWindow({6000000, 3000});
    ASSERT_EQ(rig.Run({.preSpinSeconds = 1}), SpeedTestEnd::Complete);
    // The reads of that pass from the window on: all refused at once.
    const int errors = std::stoi(rig.Text(kFieldReadErrors));
    EXPECT_GE(errors, 1);
    EXPECT_LE(errors, 16);
    EXPECT_GE(rig.waitClock->SleptMs(), 3000u);
    EXPECT_TRUE(rig.events.boxes.empty()) << "the graph had started";
    EXPECT_FALSE(rig.drive->RemovalPrevented());
}
