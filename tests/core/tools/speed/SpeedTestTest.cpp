#include "core/app/BusyFlags.h"
#include "core/app/MainDialogCore.h"
#include "core/app/MessageIds.h"
#include "core/app/TestPageControls.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/graphs/RateGraph.h"
#include "core/tools/speed/SpeedFamily.h"
#include "core/tools/speed/SpeedTest.h"
#include "core/tools/speed/SpeedTestValues.h"
#include "core/tools/speed/SpeedThread.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/RecordingEvents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
        SpeedTest test(core, events, graph, *claim, settings);
        if (SpeedThreadFor(profile) == SpeedThreadBD)
            return test.DoBDSpeedTest();
        if (SpeedThreadFor(profile) == SpeedThreadHDDVD)
            return test.DoHDDVDSpeedTest();
        return test.DoSpeedTest();
    }
    std::vector<std::vector<std::uint8_t>> Sent(std::uint8_t opcode) const
    {
        std::vector<std::vector<std::uint8_t>> sent;
        for (const auto& cdb : Cdbs())
            if (cdb[0] == opcode)
                sent.push_back(cdb);
        return sent;
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
        return {std::uint64_t(x * kGigabyte * layerFactor / 100), std::uint64_t((x + 1) * kGigabyte * layerFactor / 100)};
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
    };
    const Case cases[] = {
        {"cd-reader", "cd-rom", 0, 0, SpeedFamily::Cd},
        {"cd-reader", "cd-r", 16, 0, SpeedFamily::Cd},
        {"dvd-writer", "dvd+r", 0, 0, SpeedFamily::Dvd},
        {"dvd-writer", "dvd-rom", 8, 1, SpeedFamily::Dvd},
        {"bd-writer", "hddvd-rom", 0, 0, SpeedFamily::HdDvd},
        {"bd-writer", "bd-r", 0, 0, SpeedFamily::Bd},
        {"bd-writer", "bd-re", 4, 0, SpeedFamily::Bd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.drive) + " " + c.medium + " " + std::to_string(c.speedX) + "x");
        SpeedRig rig(c.drive, c.medium);
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

        const int speedYPerX = c.family == SpeedFamily::HdDvd && rig.Text(kSpeedAxisLabels[0]) == "18x" ? 20
                                                                                                        : facts.speedYPerX;
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
