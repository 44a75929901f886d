#include "ScanLoopRig.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/engines/F3SessionScan.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanLoop.h"
#include "emu/DrivePresets.h"
#include "emu/ErrorProfile.h"
#include "scsi/Bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

// The NEC, iHAS, BTC and generic F3 engines on their emulated families.

namespace {

using Cdb = std::vector<std::uint8_t>;

constexpr std::uint8_t kSeekOpcode = 0x2B;

// What each family sends to leave its measuring mode.
bool IsSessionEnd(const Cdb& cdb)
{
    return cdb.size() == 12 && cdb[0] == 0xF3 && (cdb[1] == 0x0F || (cdb[1] == 0x0C && cdb[2] == 0x01));
}

std::size_t CountCdbs(const std::vector<Cdb>& cdbs, const std::function<bool(const Cdb&)>& matches)
{
    return static_cast<std::size_t>(std::count_if(cdbs.begin(), cdbs.end(), matches));
}

// A disc whose every ECC block reads the same but for a few zones (the first
// zone that holds a block gives its counts).
emu::MediumDescription EvenDisc(const char* preset, std::uint32_t piPerBlock, std::vector<emu::BadZone> zones = {})
{
    emu::MediumDescription disc = *emu::FindMediumPreset(preset);
    disc.errors.piMean = 0;
    disc.errors.pifPerMille = 0;
    disc.errors.badZones = std::move(zones);
    disc.errors.badZones.push_back({0, disc.capacityBlocks, {piPerBlock, 0, 0, 0, 80}});
    return disc;
}

// The PI points of the NEC and iHAS loop, from the profile as the drive
// measures it: 128 sectors a read from the start, ten counted reads a group
// (a read counts once it and the one before report non-zero positions), a
// point after the group that fills an interval, the end check at it.
std::vector<std::int32_t> ExpectedSessionPoints(const emu::ErrorProfile& profile, std::uint64_t end,
                                                std::uint64_t pointSectors)
{
    std::vector<std::int32_t> points;
    std::uint64_t measuring = 0;
    std::uint64_t running = 0;
    std::uint64_t previous = 0;
    std::uint64_t position = 0;
    std::int64_t interval = 0;
    std::uint32_t maxPI = 0;
    while (running < end) {
        for (int counted = 0; counted < 10;) {
            position = measuring;
            maxPI = std::max(maxPI, emu::MeasureSectors(profile, measuring, 128).total.pi);
            measuring += 128;
            if (position != 0 && previous != 0 && position >= previous && position - previous < 2048)
                ++counted;
            previous = position;
        }
        running += 1280;
        interval += 1280;
        if (interval >= static_cast<std::int64_t>(pointSectors)) {
            points.push_back(static_cast<std::int32_t>(maxPI));
            interval -= static_cast<std::int64_t>(pointSectors);
            maxPI = 0;
            if (running <= end && end - running <= 1023 && position > end && position - end <= 511)
                break;
        }
    }
    return points;
}

struct FamilyCase {
    const char* name;
    const char* drive;
    const char* medium;
    ScanEngine engine;
    bool endsSession;  // sends a command that ends its measuring mode
};

class FamilyScanTest : public ::testing::TestWithParam<FamilyCase> {};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Engines, FamilyScanTest, ::testing::Values(
    FamilyCase{"NecSingleLayer", "nec", "dvd+r", ScanNec, true},
    FamilyCase{"NecDualLayer", "optiarc", "dvd+r-dl", ScanNec, true},
    FamilyCase{"IhasSingleLayer", "ihas", "dvd+r", ScanIhas, true},
    FamilyCase{"BtcSingleLayer", "btc", "dvd+r", ScanBtc, false},
    FamilyCase{"GenericSingleLayer", "generic-f3", "dvd+r", ScanGeneric, true}),
    [](const auto& test) { return std::string(test.param.name); });
// clang-format on

// A whole disc: a point per interval, the figures shown, the end reached
// with "Test Complete", the drive given back; the scan saved as a file reads
// back as it was drawn.
TEST_P(FamilyScanTest, WholeDiscEndsCompleteAndItsSavedScanReloadsEqual)
{
    const FamilyCase& param = GetParam();
    LoopRig rig(param.drive, param.medium);
    emu::MediumDescription disc = *emu::FindMediumPreset(param.medium);
    disc.errors.seed = 11;
    disc.errors.jitterMean = 75;
    disc.errors.badZones.push_back({600000, 20000, {2, 1, 1, 1, 95}});
    rig.Insert(disc);
    const std::uint64_t pointSectors = kSectorsPerPoint * (disc.layers > 1 ? 2 : 1);

    param.engine(rig.scan);

    const PiPoUpperData upper = rig.upper.StoreRecord();
    const PiPoLowerData lower = rig.lower.StoreRecord();
    const double expectedPoints = static_cast<double>(disc.capacityBlocks) / static_cast<double>(pointSectors);
    EXPECT_NEAR(static_cast<double>(upper.pi.size()), expectedPoints, 2.0);
    EXPECT_EQ(lower.pif.size(), upper.pi.size());
    if (param.engine == ScanNec || param.engine == ScanIhas) {
        EXPECT_EQ(upper.pi, ExpectedSessionPoints(disc.errors, disc.capacityBlocks - 1, pointSectors));
    }
    EXPECT_EQ(*std::max_element(upper.pi.begin(), upper.pi.end()), rig.scan.state.m_nPIPeak.load());
    EXPECT_GT(*std::max_element(upper.speed.begin(), upper.speed.end()), 0);
    if (param.engine == ScanGeneric) {
        EXPECT_GT(*std::min_element(lower.jitter.begin(), lower.jitter.end()), 0);
        EXPECT_NE(rig.sink.displays.back().jitterAvg, "---");
        EXPECT_NE(rig.sink.displays.back().pofTotal, "0");
    }

    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    EXPECT_EQ(rig.sink.progress.back(), 100);
    EXPECT_EQ(rig.sink.restored.back(), "before");
    EXPECT_EQ(rig.sink.enables[1275], 1);
    EXPECT_GT(rig.sink.ratings, 0);
    EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);
    const auto cdbs = rig.Cdbs();
    EXPECT_EQ(CountCdbs(cdbs, IsSessionEnd), param.endsSession ? 1U : 0U);
    rig.ExpectRestored();

    ScanFile live;
    live.displays = DisplayValuesFromTexts(rig.sink.displays.back());
    live.status = rig.sink.statuses.back();
    live.driveDisplay = param.drive;
    StoreScanGraphs(rig.upper, rig.lower, live);
    TempDir dir;
    ScanFile saved = live;
    ASSERT_TRUE(SaveScanFile(dir.File("scan.qnzx"), saved));
    ScanFile loaded;
    std::string error;
    ASSERT_TRUE(LoadScanFile(dir.File("scan.qnzx"), loaded, &error)) << error;
    EXPECT_EQ(loaded.upper, live.upper);
    EXPECT_EQ(loaded.lower, live.lower);
    EXPECT_EQ(loaded.displays, live.displays);
}

// Stop while the scan runs: the measuring mode is left, the drive given
// back, and the status says the scan did not complete.
TEST_P(FamilyScanTest, StopIsReportedAsStoppedAndGivesTheDriveBack)
{
    const FamilyCase& param = GetParam();
    LoopRig rig(param.drive, param.medium);
    StopAtFirstPoint sink(rig.running);
    ScanContext scan(rig.context, sink, rig.prompt, rig.running);
    scan.state.m_llEndLba = rig.scan.state.m_llEndLba;
    scan.m_pUpperGraph = &rig.upper;
    scan.m_pLowerGraph = &rig.lower;
    param.engine(scan);

    EXPECT_EQ(sink.statuses.back(), "Ready");
    EXPECT_EQ(std::count(sink.statuses.begin(), sink.statuses.end(), "Test Complete"), 0);
    EXPECT_LE(rig.upper.GetPointCount(), 2U);
    EXPECT_EQ(CountCdbs(rig.Cdbs(), IsSessionEnd), param.endsSession ? 1U : 0U);
    const auto journal = rig.drive->Journal();
    EXPECT_EQ(journal.back().Bytes(), kTrayUnlock);
    EXPECT_EQ(rig.running.load(), 0);
    EXPECT_GE(sink.stops, 1);
}

// A drive that answers position 0 for ever: the scan gives up instead of
// reading on, and still gives the drive back.
TEST_P(FamilyScanTest, PositionZeroForEverEndsTheScan)
{
    const FamilyCase& param = GetParam();
    LoopRig rig(param.drive, param.medium);
    rig.drive->AddStuckPosition({0, -1, true});
    param.engine(rig.scan);

    EXPECT_EQ(rig.sink.statuses.back(), "Read Error, scan aborted");
    EXPECT_FALSE(rig.Says("Test Complete"));
    EXPECT_LE(rig.ErrorReads(), static_cast<std::size_t>(kMaxStalledReads) + 30);
    EXPECT_EQ(CountCdbs(rig.Cdbs(), IsSessionEnd), param.endsSession ? 1U : 0U);
    rig.ExpectRestored();
}

// --- NEC and iHAS ---

// A first read refused at the start of the disc is old firmware: each
// family's message, and no claim of a complete scan.
TEST(SessionScanTest, FirstReadRefusedShowsTheFamilysFirmwareMessage)
{
    emu::DriveIdentity olderNec = *emu::FindDrivePreset("nec");
    olderNec.vendorSettings.nec.errorRateCommands = false;
    struct Case {
        emu::DriveIdentity drive;
        ScanEngine engine;
        const char* message;
    };
    const Case cases[] = {
        {olderNec, ScanNec, "Check your firmware. Revision 2R8 at least is required."},
        {*emu::FindDrivePreset("ihas"), ScanIhas, "Check your firmware revision."},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.message);
        LoopRig rig(test.drive, "dvd+r");
        rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xF3, emu::sense::kInvalidOpcode));
        test.engine(rig.scan);
        ASSERT_EQ(rig.prompt.asked.size(), 1U);
        EXPECT_EQ(rig.prompt.asked[0].text, test.message);
        EXPECT_EQ(rig.sink.statuses.back(), "Ready");
        EXPECT_EQ(rig.upper.GetPointCount(), 0U);
        rig.ExpectRestored();
    }

    // Later, a read refused twice ends the scan as a read error, unannounced.
    LoopRig rig("nec", "dvd+r");
    rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(40000, 16));
    ScanNec(rig.scan);
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.sink.statuses.back(), "Read Error, scan aborted");
    rig.ExpectRestored();
}

// SET STREAMING from the NEC speed box: the box's read time, the drive's
// own speed (restore defaults) for the first entry and unknown ones.
TEST(SessionScanTest, SpeedBoxGoesOutAsSetStreaming)
{
    EXPECT_EQ(NecStreamingTime(0), 0xFFFF);
    EXPECT_EQ(NecStreamingTime(3), 528);
    EXPECT_EQ(NecStreamingTime(7), 108);
    EXPECT_EQ(NecStreamingTime(8), 0xFFFF);
    EXPECT_EQ(NecStreamingTime(-1), 0xFFFF);
    for (const int selection : {0, 3}) {
        SCOPED_TRACE(selection);
        LoopRig rig("nec", "dvd+r");
        rig.scan.choices.necSpeedIndex = selection;
        rig.scan.state.m_llEndLba = 3000;
        ScanNec(rig.scan);
        const auto journal = rig.drive->Journal();
        const auto streaming = std::find_if(journal.begin(), journal.end(),
                                            [](const auto& entry) { return entry.Opcode() == 0xB6; });
        ASSERT_NE(streaming, journal.end());
        EXPECT_EQ(streaming->Bytes(), (Cdb{0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x1C, 0}));
        EXPECT_EQ(streaming->dataLength, 28U) << "the descriptor the CDB names, no more";
        EXPECT_EQ(streaming->direction, DataDirection::Out);
        // 7718 kB per 528 ms: about 10.6x; the first entry leaves the drive at its own.
        const double expected = selection == 0 ? EmulatedDriveRig("nec", "dvd+r").drive->ReadPlan().targetX
                                               : 7718.0 / 0.528 / 1385.0;
        EXPECT_NEAR(rig.drive->ReadPlan().targetX, expected, 0.05);
    }
}

// Readings far above the scale are spikes once there is an average; above
// 2560 the reading is taken again twice, then the average stands in.
TEST(SessionScanTest, SpikesAndCountsAbove2560GiveWayToTheAverage)
{
    {  // 32 against a scale of 10: passes as the first reading, filtered later.
        LoopRig rig("nec", "dvd+r");
        rig.Insert(EvenDisc("dvd+r", 1, {{0, 128, {4, 0, 0, 0, 80}}, {12800, 128, {5, 0, 0, 0, 80}}}));
        rig.scan.state.m_llEndLba = 20000;
        ScanNec(rig.scan);
        EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 32);  // the 40 at 12800 never shows
        EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    }
    {  // 3200 at the start, average 0: two retries back to LBA 0, then 0.
        LoopRig rig("nec", "dvd+r");
        rig.Insert(EvenDisc("dvd+r", 1, {{0, 128, {400, 0, 0, 0, 80}}}));
        rig.scan.state.m_llEndLba = 6000;
        ScanNec(rig.scan);
        const auto cdbs = rig.Cdbs();
        const Cdb retry = {0xF3, 0x02, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0};
        EXPECT_EQ(CountCdbs(cdbs, [&](const Cdb& cdb) { return cdb == retry; }), 3U);  // the start's and two
        EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 8);
    }
}

// A drive that repeats its position still moves the scan on by 128 sectors
// a counted read, to the end.
TEST(SessionScanTest, RepeatedPositionsStillAdvanceTheScan)
{
    LoopRig rig("ihas", "dvd+r");
    rig.drive->AddStuckPosition({2048, -1, false});
    rig.scan.state.m_llEndLba = 20000;
    ScanIhas(rig.scan);
    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    EXPECT_GE(rig.scan.state.m_llStartLba, 20000);
    EXPECT_LE(rig.ErrorReads(), 20000U / 128 + 10);

    // Without a DVD drive the session is still ended.
    LoopRig other("nec", "dvd+r");
    other.Record().m_bDvdDrive = 0;
    ScanNec(other.scan);
    EXPECT_EQ(other.ErrorReads(), 1U);
    EXPECT_EQ(CountCdbs(other.Cdbs(), IsSessionEnd), 1U);
    other.ExpectRestored();
}

// --- BTC ---

// Counts come four times over: 2560 is taken, 2561 seeks back nine times
// and is then held at 2560; a misreading is gone after one seek back.
TEST(BtcScanTest, ReadingsAbove2560SeekBackAndAreReadAgain)
{
    struct Case {
        const char* name;
        std::uint32_t lastBlockPI;  // of the eight blocks at 1024 (320 each before it)
        bool misread;
        std::size_t seeksBack;
        int peak;
    };
    const Case cases[] = {
        {"2560", 320, false, 0, 2560},
        {"2561", 321, false, 9, 2560},
        {"misread", 0, true, 1, 8},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        emu::DriveIdentity btc = *emu::FindDrivePreset("btc");
        if (test.misread)
            btc.vendorSettings.btc.spikeSectors = {1030};
        LoopRig rig(btc, "dvd+r");
        std::vector<emu::BadZone> zones;
        if (!test.misread)
            zones = {{1024, 112, {320, 0, 0, 0, 80}}, {1136, 16, {test.lastBlockPI, 0, 0, 0, 80}}};
        rig.Insert(EvenDisc("dvd+r", 1, zones));
        rig.scan.state.m_llEndLba = 3000;
        ScanBtc(rig.scan);
        const auto cdbs = rig.Cdbs();
        EXPECT_EQ(rig.CdbsOf(kSeekOpcode).size(), 1 + test.seeksBack);
        // Back to where the last good reading ended: the block at 1024 again.
        const Cdb backTo1024 = {kSeekOpcode, 0, 0, 0, 0x04, 0x00, 0, 0, 0, 0};
        if (test.seeksBack > 0) {
            EXPECT_EQ(CountCdbs(cdbs, [&](const Cdb& cdb) { return cdb == backTo1024; }), test.seeksBack);
        }
        EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), test.peak);
        EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    }
}

// Root-mean-square averages: a first reading of 10 and an interval maximum
// of 20 give trunc(sqrt((100 + 400) / 2)) = 15 from the first point on.
TEST(BtcScanTest, AverageIsTheRootMeanSquareOfTheMaxima)
{
    LoopRig rig("btc", "dvd+r");
    rig.Insert(EvenDisc("dvd+r", 0, {{0, 32, {5, 0, 0, 0, 80}}, {128, 32, {10, 0, 0, 0, 80}}}));
    rig.scan.state.m_llEndLba = 6000;
    ScanBtc(rig.scan);
    ASSERT_EQ(rig.upper.GetPointCount(), 1U);
    EXPECT_EQ(rig.upper.StoreRecord().pi[0], 20);
    EXPECT_EQ(rig.sink.displays.back().piAvg, "15");
}

// --- generic F3 ---

// The drive starts where the scan does, also from a start the user set.
TEST(GenericScanTest, StartsAtTheScansStartAndHoldsCountsAt2560)
{
    LoopRig rig("generic-f3", "dvd+r");
    rig.Insert(EvenDisc("dvd+r", 1, {{100000, 256, {188, 0, 0, 0, 80}}}));  // 3008 a read
    rig.scan.state.m_llStartLba = 100000;
    rig.scan.state.m_llEndLba = 110000;
    ScanGeneric(rig.scan);

    const auto journal = rig.drive->Journal();
    const auto start = std::find_if(journal.begin(), journal.end(), [](const auto& entry) {
        return entry.Opcode() == 0xF3 && entry.cdb[1] == 0x0C && entry.cdb[2] == 0x07;
    });
    ASSERT_NE(start, journal.end());
    EXPECT_EQ(scsi::GetBe32(&start->cdb[3]) >> 8, 0x30000U + 100000U);
    EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 2560);
    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    // Its first read counts no step: 19 steps of 256, 20, 20 to the end.
    EXPECT_EQ(rig.upper.GetPointCount(), 2U);
}

TEST(GenericScanTest, RefusalsEndTheScanWithTheirMessages)
{
    {  // Not a generic F3 drive: its measurement cannot be opened.
        LoopRig rig("samsung", "dvd+r");
        ScanGeneric(rig.scan);
        EXPECT_EQ(rig.sink.statuses.back(), "No suitable drive found");
        EXPECT_EQ(rig.running.load(), 0);
        EXPECT_GE(rig.sink.stops, 1);
        EXPECT_EQ(rig.Cdbs().back(), kTrayUnlock);
    }
    {  // A measurement that fails.
        LoopRig rig("generic-f3", "dvd+r");
        rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(8000, 16));
        ScanGeneric(rig.scan);
        ASSERT_EQ(rig.prompt.asked.size(), 1U);
        EXPECT_EQ(rig.prompt.asked[0].text, "Unrecoverable read error, the scan cannot continue");
        EXPECT_EQ(rig.sink.statuses.back(), "Read Error, scan aborted");
        EXPECT_EQ(CountCdbs(rig.Cdbs(), IsSessionEnd), 1U);
        rig.ExpectRestored();
    }
}

}  // namespace
