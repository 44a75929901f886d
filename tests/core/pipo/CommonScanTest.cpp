#include "ScanRig.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanLoop.h"
#include "emu/ErrorProfile.h"
#include "emu/MediaPresets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <tuple>

namespace {

using Cdb = std::vector<std::uint8_t>;

const Cdb kTrayUnlock = {0x1E, 0, 0, 0, 0x00, 0};
constexpr std::uint8_t kErrorReadOpcode = 0xF3;

// The series a scan should draw, worked out from the disc's error profile as
// the drive reports it: ECC blocks one after another from the start's block,
// grouped into samples of distinct positions, a point per `pointSectors`.
struct Series {
    std::vector<std::int32_t> pi;
    std::vector<std::int32_t> pif;
    std::vector<std::int32_t> jitter;
    std::int64_t piTotal = 0;
};

Series ExpectedSeries(const emu::ErrorProfile& profile, std::uint64_t start, std::uint64_t end, int perGroup,
                      std::uint64_t pointSectors, bool jitter)
{
    Series series;
    std::uint64_t measuring = start - start % emu::kEccBlockSectors;
    std::uint64_t running = start;
    std::uint64_t previous = 0;
    std::int64_t interval = 0;
    std::uint32_t maxPI = 0;
    std::uint32_t maxPIF = 0;
    std::int64_t piSum = 0;
    std::int64_t pifSum = 0;
    std::int64_t n = 1;
    bool first = true;
    std::int64_t piAverage = 0;
    std::int64_t pifAverage = 0;
    std::uint64_t jitterDistance = 0;
    std::uint32_t lastJitter = 0;
    while (running < end) {
        if (jitter && jitterDistance >= 4096) {
            jitterDistance = 0;
            lastJitter = emu::MeasureSectors(profile, running, 4096).total.jitter;
        }
        std::uint32_t samplePI = 0;
        std::uint32_t samplePIF = 0;
        std::int64_t distance = 0;
        for (int counted = 0; counted < perGroup;) {
            const emu::EccBlockErrors block = emu::MeasureSectors(profile, measuring, emu::kEccBlockSectors).total;
            const std::uint64_t position = measuring;
            measuring += emu::kEccBlockSectors;
            std::uint32_t pi = block.pi;
            std::uint32_t pif = block.pif;
            if (running < 16) {
                pi = pi > 120 ? pi / 4 : pi;
                pif /= 4;
            }
            series.piTotal += pi;
            samplePI += pi;
            if (samplePI > 2560)
                samplePI = static_cast<std::uint32_t>(piAverage);
            samplePIF = pif > 2560 ? static_cast<std::uint32_t>(pifAverage) : pif;
            if (position != 0 && previous != 0 && position != previous) {
                ++counted;
                distance += static_cast<std::int64_t>(position - previous);
            }
            previous = position;
        }
        maxPI = std::max(maxPI, samplePI);
        maxPIF = std::max(maxPIF, samplePIF);
        if (first) {
            piSum = maxPI;
            pifSum = maxPIF;
            first = false;
        }
        piAverage = piSum / n;
        pifAverage = pifSum / n;
        running += static_cast<std::uint64_t>(distance);
        interval += distance;
        jitterDistance += static_cast<std::uint64_t>(distance);
        if (series.pi.size() > kMaxUpperPoints)
            break;
        if (interval >= static_cast<std::int64_t>(pointSectors)) {
            series.pi.push_back(static_cast<std::int32_t>(maxPI));
            series.pif.push_back(static_cast<std::int32_t>(maxPIF));
            series.jitter.push_back(static_cast<std::int32_t>(lastJitter));
            interval -= static_cast<std::int64_t>(pointSectors);
            ++n;
            piSum += maxPI;
            pifSum += maxPIF;
            maxPI = maxPIF = 0;
        }
    }
    return series;
}

// A scan rig with both graphs, the range of the whole disc and the tray
// locked as Start leaves it.
struct EngineRig : ScanRig {
    EngineRig(const char* drivePreset, const char* mediumPreset) : ScanRig(drivePreset, mediumPreset)
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

struct EngineCase {
    const char* name;
    const char* drive;
    const char* medium;
    ScanEngine engine;
    int perGroup;
    bool jitter;
};

class ScanSeriesTest : public ::testing::TestWithParam<EngineCase> {};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Engines, ScanSeriesTest, ::testing::Values(
    EngineCase{"LiteonSingleLayer", "liteon", "dvd+r", ScanLiteon, 8, false},
    EngineCase{"LiteonDualLayer", "liteon", "dvd+r-dl", ScanLiteon, 8, false},
    EngineCase{"LiteonJitterSingleLayer", "liteon", "dvd+r", ScanLiteonWithJitter, 4, true},
    EngineCase{"LiteonJitterDualLayer", "liteon", "dvd+r-dl", ScanLiteonWithJitter, 4, true},
    EngineCase{"SamsungSingleLayer", "samsung", "dvd+r", ScanSamsung, 8, false},
    EngineCase{"SamsungDualLayer", "samsung", "dvd+r-dl", ScanSamsung, 8, false}),
    [](const auto& test) { return std::string(test.param.name); });
// clang-format on

// A whole disc end to end: the series are the disc's errors aggregated per
// sample and point, the run ends complete and gives the drive back.
TEST_P(ScanSeriesTest, WholeDiscSeriesFollowTheErrorProfile)
{
    const EngineCase& param = GetParam();
    EngineRig rig(param.drive, param.medium);
    emu::MediumDescription disc = *emu::FindMediumPreset(param.medium);
    // A worse stretch at the start: the near-start rule and the 2560 limit.
    disc.errors.badZones.push_back({0, 4096, {400, 3, 0, 0, 120}});
    rig.Insert(disc);
    const bool dual = disc.layers > 1;

    param.engine(rig.scan);

    const Series expected = ExpectedSeries(disc.errors, 0, disc.capacityBlocks - 1, param.perGroup,
                                           dual ? 2 * kSectorsPerPoint : kSectorsPerPoint, param.jitter);
    const PiPoUpperData upper = rig.upper.StoreRecord();
    const PiPoLowerData lower = rig.lower.StoreRecord();
    ASSERT_GT(expected.pi.size(), 300U);
    EXPECT_EQ(upper.pi, expected.pi);
    EXPECT_EQ(lower.pif, expected.pif);
    if (param.jitter) {
        EXPECT_EQ(lower.jitter, expected.jitter);
    }
    EXPECT_EQ(upper.speed.size(), expected.pi.size());
    EXPECT_TRUE(std::all_of(upper.speed.begin(), upper.speed.end(), [](int speed) { return speed >= 0; }));
    EXPECT_GT(*std::max_element(upper.speed.begin(), upper.speed.end()), 0);
    EXPECT_EQ(rig.sink.displays.back().piTotal, std::to_string(expected.piTotal));

    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    EXPECT_EQ(rig.sink.progress.back(), 100);
    EXPECT_EQ(rig.sink.restored.back(), "before");
    EXPECT_EQ(rig.sink.enables[1275], 1);
    EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);
    rig.ExpectRestored();

    // The disc's extent on the x axis: the capacity and, on two layers, the
    // layer break.
    EXPECT_GT(upper.frame.endMarkerX, 0);
    EXPECT_EQ(upper.frame.layerBreakX, dual ? static_cast<int>(2086912.0 / 524288.0 * 50) : 0);
    EXPECT_EQ(lower.frame.layerBreakX, upper.frame.layerBreakX);
    const std::pair<int, std::string> lastCaption{1340, dual ? "8GB" : "4GB"};
    EXPECT_NE(std::find(rig.sink.captions.begin(), rig.sink.captions.end(), lastCaption), rig.sink.captions.end());
}

// The first group of a scan from LBA 0 takes a quarter of its PIF and of
// the PI counts above 120; from there on counts are as read. Two groups:
// ten reads (the first two count no step), then eight.
TEST(CommonScanTest, NearStartGroupDividesItsCounts)
{
    EngineRig rig("liteon", "dvd+r");
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
    disc.errors.badZones.push_back({0, 1024, {200, 8, 0, 0, 80}});
    rig.Insert(disc);
    rig.scan.state.m_llEndLba = 200;

    ScanLiteon(rig.scan);

    const ScanDisplayTexts& shown = rig.sink.displays.back();
    EXPECT_EQ(shown.piTotal, "2100");  // 10 x 200/4 + 8 x 200
    EXPECT_EQ(shown.pifTotal, "84");  // 10 x 8/4 + 8 x 8
    EXPECT_EQ(shown.piPeak, "1600");
    EXPECT_EQ(shown.pifPeak, "8");
    EXPECT_EQ(rig.ErrorReads(), 18U);
    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
}

// A group whose PI sum passes 2560 goes on from the average (0 in the first
// group), so the sample is the average plus the PI read after it.
TEST(CommonScanTest, PiSumAbove2560ContinuesFromTheAverage)
{
    EngineRig rig("liteon", "dvd+r");
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
    disc.errors.badZones.push_back({0, 8192, {400, 0, 0, 0, 80}});
    rig.Insert(disc);
    rig.scan.state.m_llStartLba = 1024;
    rig.scan.state.m_llEndLba = 1024 + 200;

    ScanLiteon(rig.scan);

    // First group, nine reads (the first counts no step): 400 ... 2400, then
    // 0 + 400 + 400. Second, eight reads: 400 ... 2400, then the average 800
    // + 400.
    EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 1200);
    EXPECT_EQ(rig.sink.displays.back().piTotal, "6800");
    EXPECT_EQ(rig.sink.displays.back().piAvg, "800");
}

// A position reported again does not count: its group takes more reads,
// and the samples stay those of distinct positions.
TEST(CommonScanTest, RepeatedPositionsDoNotCount)
{
    EngineRig rig("liteon", "dvd+r");
    rig.scan.state.m_llEndLba = 200;
    rig.drive->AddStuckPosition({64, 3, false});
    ScanLiteon(rig.scan);
    EXPECT_EQ(rig.ErrorReads(), 21U);  // 10 + 3 repeats, then 8
    EXPECT_EQ(rig.scan.state.m_llStartLba, 256);
    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
}

// A range that reaches past what the drive reports still ends, at 451
// points of the upper graph.
TEST(CommonScanTest, ScanEndsAfter450Points)
{
    EngineRig rig("liteon", "dvd+r");
    rig.scan.state.m_llEndLba = 2600000;
    ScanLiteon(rig.scan);
    EXPECT_EQ(rig.upper.GetPointCount(), kMaxUpperPoints + 1);
    EXPECT_LT(rig.scan.state.m_llStartLba, 2600000);
    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    rig.ExpectRestored();
}

// The automatic scales climb the ladders as the peaks outgrow them: "Auto
// Peak" fits the peak, "Auto Avg" three times the jitter average and twice
// the PI average; a fixed choice stays. The first group of five reads sums
// 500 PI, the others 400; the jitter is 12 % throughout.
TEST(CommonScanTest, AutomaticScalesClimbTheLadders)
{
    struct Case {
        int choice;  // the scale boxes' position
        int piCode;
        int jitterCode;
    };
    // clang-format off
    const Case cases[] = {
        {0, 8, 4},  // peak 500 in 321-640; 120 up to 200
        {1, 9, 5},  // 2 x 500 in 641-1280; 3 x 120 up to 400
        {5, 5, 5},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        EngineRig rig("liteon", "dvd+r");
        emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
        disc.errors.badZones.push_back({0, 100000, {100, 2, 0, 0, 120}});
        rig.Insert(disc);
        rig.scan.state.m_llStartLba = 1024;
        rig.scan.state.m_llEndLba = 60000;
        rig.scan.scales.With([&](ScanScales& scales) {
            scales.OnSelchangePIScale(c.choice, 0, &rig.upper);
            scales.OnSelchangePIFScale(c.choice, 0, &rig.lower);
            scales.ApplyJitterScaleChoice(c.choice, &rig.lower);
        });
        ScanLiteonWithJitter(rig.scan);
        EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 500);
        EXPECT_EQ(rig.upper.GetPIScaleCode(), c.piCode);
        EXPECT_EQ(rig.scan.scales.With([](ScanScales& scales) { return scales.Upper().code; }), c.piCode);
        EXPECT_EQ(rig.lower.GetJitterScaleCode(), c.jitterCode);
        // PIF peaks of 2 stay within the first scale.
        EXPECT_EQ(rig.scan.scales.With([](ScanScales& scales) { return scales.Lower().code; }),
                  c.choice == 0 ? 2 : c.choice);
    }
}

// The Samsung engine waits for the unit after the SEEK, before its first
// error read; the Lite-On reads at once.
TEST(CommonScanTest, SamsungWaitsForTheUnitAfterTheSeek)
{
    for (const auto& [preset, engine, waits] :
         {std::tuple<const char*, ScanEngine, bool>{"samsung", ScanSamsung, true},
          std::tuple<const char*, ScanEngine, bool>{"liteon", ScanLiteon, false}}) {
        SCOPED_TRACE(preset);
        EngineRig rig(preset, "dvd+r");
        rig.scan.state.m_llStartLba = 0x1000;
        rig.scan.state.m_llEndLba = 0x1000 + 200;
        engine(rig.scan);
        const auto cdbs = rig.Cdbs();
        const Cdb seek = {0x2B, 0, 0x00, 0x00, 0x10, 0x00, 0, 0, 0, 0};
        const auto found = std::find(cdbs.begin(), cdbs.end(), seek);
        ASSERT_NE(found, cdbs.end());
        ASSERT_LT(found + 1, cdbs.end());
        EXPECT_EQ((*(found + 1))[0], waits ? 0x00 : kErrorReadOpcode);
        EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    }
}

// The end check at a graph point needs the running position at most 1023
// short of the end and a reported position 1 to 511 past it.
TEST(CommonScanTest, EndCheckNeedsBothConditions)
{
    struct Case {
        std::int64_t running;
        std::uint64_t reported;
        bool ends;
    };
    constexpr std::int64_t kEnd = 100000;
    // clang-format off
    const Case cases[] = {
        {kEnd - 1023, kEnd + 1, true},
        {kEnd - 1023, kEnd + 511, true},
        {kEnd, kEnd + 16, true},
        {kEnd - 1024, kEnd + 16, false},
        {kEnd - 16, kEnd, false},
        {kEnd - 16, kEnd + 512, false},
        {kEnd + 1, kEnd + 16, false},
    };
    // clang-format on
    EngineRig rig("liteon", "dvd+r");
    for (const Case& c : cases) {
        rig.scan.state.m_llStartLba = c.running;
        rig.scan.state.m_llEndLba = kEnd;
        EXPECT_EQ(ReachedEnd(rig.scan, c.reported), c.ends) << c.running << " " << c.reported;
        EXPECT_EQ(rig.scan.state.m_llStartLba, c.ends ? kEnd : c.running);
    }
}

TEST(CommonScanTest, ProgressIsGuardedForTinyRanges)
{
    EXPECT_EQ(ProgressAt(0, 0), 100);
    EXPECT_EQ(ProgressAt(10, 50), 0);
    EXPECT_EQ(ProgressAt(50, 50), 100);
    EXPECT_EQ(ProgressAt(1050000, 2099999), 50);
    EXPECT_EQ(ProgressAt(2200000, 2099999), 100);
}

// Stop pressed while the engine reads on its own thread: at most one more
// read, then "Ready", never "Test Complete", and the drive given back.
TEST(CommonScanTest, StopEndsWithinOneRead)
{
    EngineRig rig("liteon", "dvd+r");
    std::thread engine([&] { ScanLiteon(rig.scan); });
    while (rig.ErrorReads() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    rig.running = 0;
    const std::size_t readsAtStop = rig.ErrorReads();
    engine.join();

    EXPECT_LE(rig.ErrorReads(), readsAtStop + 1);
    EXPECT_EQ(rig.sink.statuses.back(), "Ready");
    EXPECT_FALSE(rig.Says("Test Complete"));
    rig.ExpectRestored();
}

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

// Every way out leaves the drive as it was found: the journal ends with the
// tray unlocked, the flag is clear and the window idle; only the scan that
// ran to its end says "Test Complete".
TEST(CommonScanTest, EveryWayOutGivesTheDriveBack)
{
    {  // Stop seen at the end of a group: no read after it.
        EngineRig rig("liteon", "dvd+r");
        StopAtFirstPoint sink(rig.running);
        ScanContext scan(rig.context, sink, rig.prompt, rig.running);
        scan.state.m_llEndLba = 2099999;
        scan.m_pUpperGraph = &rig.upper;
        ScanLiteon(scan);
        const auto journal = rig.drive->Journal();
        EXPECT_EQ(journal.back().Bytes(), kTrayUnlock);
        EXPECT_EQ(journal[journal.size() - 2].Opcode(), kErrorReadOpcode);
        EXPECT_EQ(sink.statuses.back(), "Ready");
        EXPECT_EQ(rig.upper.GetPointCount(), 1U);
        EXPECT_EQ(sink.stops, 1);
    }
    {  // A blank disc: the message, no reads.
        EngineRig rig("liteon", "dvd+r-blank");
        rig.scan.state.m_llEndLba = 0;
        ScanLiteon(rig.scan);
        ASSERT_EQ(rig.prompt.asked.size(), 1U);
        EXPECT_EQ(rig.prompt.asked[0].text, "Error, media must be used before it can be scanned");
        EXPECT_EQ(rig.sink.statuses.back(), "Invalid media for command");
        EXPECT_EQ(rig.ErrorReads(), 0U);
        rig.ExpectRestored();
    }
    {  // A drive that keeps answering position 0: the scan gives up.
        EngineRig rig("samsung", "dvd+r");
        rig.drive->AddStuckPosition({0, -1, true});
        ScanSamsung(rig.scan);
        EXPECT_EQ(rig.sink.statuses.back(), "Read Error, scan aborted");
        EXPECT_FALSE(rig.Says("Test Complete"));
        EXPECT_LE(rig.ErrorReads(), static_cast<std::size_t>(kMaxStalledReads) + 1);
        rig.ExpectRestored();
    }
    {  // Not a DVD drive: nothing measured, nothing complete.
        EngineRig rig("liteon", "dvd+r");
        rig.Record().m_bDvdDrive = 0;
        ScanLiteonWithJitter(rig.scan);
        EXPECT_EQ(rig.ErrorReads(), 0U);
        EXPECT_EQ(rig.sink.statuses.back(), "Ready");
        rig.ExpectRestored();
    }
}

// The jitter is read every 4096 sectors at the running position.
TEST(CommonScanTest, JitterReadsFollowTheRunningPosition)
{
    EngineRig rig("liteon", "dvd+r");
    rig.scan.state.m_llEndLba = 13000;
    ScanLiteonWithJitter(rig.scan);
    std::vector<Cdb> jitterReads;
    for (const Cdb& cdb : rig.Cdbs())
        if (cdb.size() > 2 && cdb[0] == 0xDF && cdb[1] == 0x1B && cdb[2] == 0x82)
            jitterReads.push_back(cdb);
    const std::vector<Cdb> expected = {
        {0xDF, 0x1B, 0x82, 0x01, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x00},
        {0xDF, 0x1B, 0x82, 0x01, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x10, 0x00},
        {0xDF, 0x1B, 0x82, 0x01, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x10, 0x00},
    };
    EXPECT_EQ(jitterReads, expected);
    EXPECT_EQ(rig.lower.GetJitterCount(), rig.lower.GetPointCount());
}

// A drive that refuses the jitter read (a model run as jitter-capable
// although its probe was refused) shows no jitter it did not measure.
TEST(CommonScanTest, RefusedJitterReadsShowNoJitter)
{
    EngineRig rig("liteon-sohw812", "dvd+r");
    rig.scan.state.m_llEndLba = 30000;
    ScanLiteonWithJitter(rig.scan);
    EXPECT_GE(rig.lower.GetPointCount(), 5U);
    EXPECT_EQ(rig.lower.GetJitterCount(), 0U);
    EXPECT_EQ(rig.sink.displays.back().jitterPeak, "---");
    EXPECT_EQ(rig.sink.displays.back().jitterInst, "---");
    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
}

// The displays are written in the C locale whatever the user's is.
TEST(CommonScanTest, DisplaysUseTheCLocale)
{
    ScopedCommaLocale comma;
    if (!comma.Ok())
        GTEST_SKIP() << "no locale with a decimal comma";
    EngineRig rig("liteon", "dvd+r");
    rig.scan.state.m_llEndLba = 30000;
    ScanLiteonWithJitter(rig.scan);
    const ScanDisplayTexts& shown = rig.sink.displays.back();
    for (const std::string* text : {&shown.jitterPeak, &shown.jitterAvg, &shown.jitterInst}) {
        EXPECT_NE(text->find('.'), std::string::npos) << *text;
        EXPECT_EQ(text->find(','), std::string::npos) << *text;
    }
}

// A wait that runs out says so and never "Ready.".
TEST(CommonScanTest, TimedOutWaitSaysSo)
{
    EngineRig rig("samsung", "none");
    ASSERT_TRUE(rig.drive->LoadMedium(*emu::FindMediumPreset("dvd+r")));
    EXPECT_EQ(WaitForUnitReady(rig.scan, 1), 1);
    EXPECT_EQ(rig.sink.statuses.back(), "Timeout waiting for unit");
    EXPECT_FALSE(rig.Says("Ready."));
    EXPECT_EQ(WaitForUnitReady(rig.scan, 5), 0);
}

}  // namespace
