#include "ScanRig.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/QualityRating.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanFigures.h"
#include "core/pipo/engines/ScanLoop.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "emu/MediumGeometry.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "support/ScanChoices.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Cdb = std::vector<std::uint8_t>;

constexpr std::uint8_t kTestUnitReady = 0x00;
constexpr std::uint8_t kPreventAllow = 0x1E;
constexpr std::uint8_t kModeSelect = 0x55;
constexpr std::uint8_t kF8 = 0xF8;
constexpr std::uint8_t kF9 = 0xF9;
constexpr std::uint8_t kService = 0xFD;

// A scan rig with both graphs, a range ending at `end` and the tray locked as
// Start leaves it.
struct EngineRig : ScanRig {
    EngineRig(emu::DriveIdentity identity, const char* medium, std::int64_t end) : ScanRig(std::move(identity), medium)
    {
        Setup(end);
    }
    EngineRig(const char* drivePreset, const char* medium, std::int64_t end) : ScanRig(drivePreset, medium)
    {
        Setup(end);
    }
    void Setup(std::int64_t end)
    {
        Record().m_bDvdDrive = 1;
        scan.m_pUpperGraph = &upper;
        scan.m_pLowerGraph = &lower;
        scan.state.m_nGraphSlot = 1;
        scan.state.m_llEndLba = end;
        ChooseDefaultScanChoices(scan);
        LockTray(scan, true);
        drive->ClearJournal();
    }
    std::vector<std::uint8_t> Opcodes() const
    {
        std::vector<std::uint8_t> opcodes;
        for (const auto& entry : drive->Journal())
            opcodes.push_back(entry.Opcode());
        return opcodes;
    }
    // The last `count` opcodes the drive received.
    std::vector<std::uint8_t> Tail(std::size_t count) const
    {
        const auto all = Opcodes();
        return {all.end() - static_cast<long>(std::min(count, all.size())), all.end()};
    }
    bool Says(const std::string& status) const
    {
        return std::find(sink.statuses.begin(), sink.statuses.end(), status) != sink.statuses.end();
    }
    // The window idle, the tray free, the flag clear.
    void ExpectIdle()
    {
        EXPECT_FALSE(drive->RemovalPrevented());
        EXPECT_EQ(running.load(), 0);
        EXPECT_GE(sink.stops, 1);
    }
    // The newer BenQ models given back: statistics off at the data start,
    // service mode left, power management as the scan leaves it.
    void ExpectBenqRestored()
    {
        ExpectIdle();
        EXPECT_EQ(
            Tail(8),
            (std::vector<std::uint8_t>{kTestUnitReady, kF9, kF8, kF9, kF8, kService, kModeSelect, kPreventAllow}));
        const emu::BenqSettings benq = drive->VendorState().benq;
        EXPECT_EQ(benq.statisticsMode, 0);
        EXPECT_EQ(benq.statisticsPsn, 0x30000u);
        EXPECT_FALSE(benq.serviceMode);
    }

    PiPoUpperGraph upper;
    PiPoLowerGraph lower;
};

emu::DriveIdentity BenqWith(std::vector<emu::BenqStatisticsFault> faults)
{
    emu::DriveIdentity identity = *emu::FindDrivePreset("benq");
    identity.vendorSettings.benq.faults = std::move(faults);
    return identity;
}

// A sink that presses Stop when the n-th display update is shown.
struct StopAtDisplay : RecordingScanSink {
    StopAtDisplay(std::atomic<int>& flag, std::size_t at) : running(flag), when(at) {}
    void SetDisplays(const ScanDisplayTexts& texts) override
    {
        RecordingScanSink::SetDisplays(texts);
        if (displays.size() == when)
            running = 0;
    }
    std::atomic<int>& running;
    std::size_t when;
};

TEST(BenqScanTest, JitterFormulas)
{
    struct Case {
        std::uint32_t raw;
        int benq;
        int cyberdrive;
    };
    // clang-format off
    const Case cases[] = {
        {0,    0,   0},
        {45,   0,   66},   // below the BenQ drive's floor
        {46,   6,   67},
        {151,  80,  121},
        {1000, 241, 312},  // 31.2 %
        {1280, 274, 353},  // 0500h: 27.4 %
        {3000, 424, 541},
        {7000, 651, 826},  // above 80 %: the Cyberdrive loop takes its RMS instead
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.raw);
        EXPECT_EQ(BenqJitterTenths(test.raw), test.benq);
        EXPECT_EQ(CyberdriveJitterTenths(test.raw), test.cyberdrive);
    }
}

// A sink that notes the drive's time of each status.
struct TimedSink : RecordingScanSink {
    explicit TimedSink(std::shared_ptr<emu::ManualClock> driveClock) : clock(std::move(driveClock)) {}
    void SetStatus(const std::string& text) override
    {
        RecordingScanSink::SetStatus(text);
        times.push_back(clock->NowMs());
    }
    std::uint64_t TimeOf(const std::string& status) const
    {
        const auto at = std::find(statuses.begin(), statuses.end(), status);
        return at == statuses.end() ? 0 : times[static_cast<std::size_t>(at - statuses.begin())];
    }
    std::shared_ptr<emu::ManualClock> clock;
    std::vector<std::uint64_t> times;
};

emu::MediumDescription DiscWithBadZone(const char* preset, std::uint64_t first, emu::EccBlockErrors errors)
{
    emu::MediumDescription disc = *emu::FindMediumPreset(preset);
    disc.errors.badZones.push_back({first, 256, errors});
    return disc;
}

// A whole run: whole 16-bit counters (a bad zone of 150 PI an ECC block reads
// 1200 a sample), a point per 5242 sectors with the drive's speed, the end
// text with its time, and the drive given back; the scan saved reloads equal.
TEST(BenqScanTest, NewerScanReadsWholeCountersAndEndsWithTheDriveGivenBack)
{
    EngineRig rig(BenqWith({}), "dvd+r", 99999);
    rig.Insert(DiscWithBadZone("dvd+r", 40960, {150, 12, 30, 2, 80}));
    LockTray(rig.scan, true);
    ScanBenqNew(rig.scan);

    EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 1200);
    EXPECT_EQ(rig.scan.state.m_nPIFPeak.load(), 96);
    const PiPoUpperData upper = rig.upper.StoreRecord();
    EXPECT_EQ(upper.pi.size(), 99968u / 5242);
    EXPECT_NE(std::find(upper.pi.begin(), upper.pi.end(), 1200), upper.pi.end());
    EXPECT_TRUE(std::all_of(upper.speed.begin(), upper.speed.end(), [](int speed) { return speed > 20; }));
    EXPECT_EQ(rig.scan.displays.piPeak, "1200");
    EXPECT_EQ(rig.scan.displays.pofTotal, "32");
    EXPECT_EQ(rig.sink.statuses.back().rfind("Test Complete in 00:", 0), 0u) << rig.sink.statuses.back();
    EXPECT_FALSE(rig.Says("Switching to second layer L1"));
    EXPECT_EQ(rig.drive->VendorState().benq.speedCode, 5);  // "   8x CAV"
    rig.ExpectBenqRestored();
    EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);

    ScanFile saved;
    StoreScanGraphs(rig.upper, rig.lower, saved);
    ScanFile loaded;
    std::string error;
    ASSERT_TRUE(DecodeScanFile(EncodeScanFile(saved), loaded, error)) << error;
    EXPECT_EQ(loaded.upper.pi, upper.pi);
    EXPECT_EQ(loaded.lower.jitter, rig.lower.StoreRecord().jitter);

    // No choice in the CAV speed box sends speed code 0.
    EngineRig unchosen(BenqWith({}), "dvd+r", 20000);
    unchosen.scan.choices.cavSpeedIndex = -1;
    ScanBenqNew(unchosen.scan);
    EXPECT_EQ(unchosen.drive->VendorState().benq.speedCode, 0);
}

// Every way out of a running scan: its end text, shown before the status
// display gets back what it showed, the progress bar at 100 only for a run
// that reached its end, and the drive given back.
TEST(BenqScanTest, EveryWayOutOfTheNewerScanGivesTheDriveBack)
{
    struct Case {
        const char* name;
        std::vector<emu::BenqStatisticsFault> faults;
        bool unreadable;
        bool stop;
        const char* endText;
    };
    const Case cases[] = {
        {"status 02h", {{12800, 0x02, 1, 0}}, false, false, "Parameter(s) not valid for this command"},
        {"status 22h", {{12800, 0x22, 1, 0}}, false, false, "The system is not initialized"},
        {"status FFh", {{12800, 0xFF, 1, 0}}, false, false, "Execution of the ATAPI send command failed"},
        {"a failed read", {}, true, false, "Error reported reading Error Statistics, routine will now end."},
        {"Stop", {}, false, true, "Stopped as requested"},
        {"an overflow is read again", {{12800, 0x32, 1, 0}}, false, false, nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EngineRig rig(BenqWith(test.faults), "dvd+r", 39999);
        if (test.unreadable)
            rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(12800, 16));
        StopAtDisplay sink(rig.running, test.stop ? 1 : 0);
        ScanContext scan(rig.context, sink, rig.prompt, rig.running);
        scan.state.m_llEndLba = 39999;
        scan.state.m_nGraphSlot = 1;
        scan.m_pUpperGraph = &rig.upper;
        scan.m_pLowerGraph = &rig.lower;
        scan.state.m_strSavedStatus = "Ready.";
        ScanBenqNew(scan);
        ASSERT_GE(sink.screen.size(), 2u);
        EXPECT_EQ(sink.screen.back(), "restored Ready.");
        EXPECT_EQ(sink.screen[sink.screen.size() - 2], "status " + sink.statuses.back());
        const auto hundreds = std::count(sink.progress.begin(), sink.progress.end(), 100);
        if (test.endText) {
            EXPECT_EQ(sink.statuses.back(), test.endText);
            EXPECT_NE(std::find(sink.statuses.begin(), sink.statuses.end(), "Trying to stop please be patient..."),
                      sink.statuses.end());
            EXPECT_EQ(hundreds, 0) << "a stopped run";
        } else {
            EXPECT_NE(std::find(sink.statuses.begin(), sink.statuses.end(), "Overflow,  re-reading..."),
                      sink.statuses.end());
            EXPECT_EQ(sink.statuses.back().rfind("Test Complete in", 0), 0u);
            EXPECT_EQ(rig.upper.GetPointCount(), 39936u / 5242);
            ASSERT_FALSE(sink.progress.empty());
            EXPECT_EQ(sink.progress.back(), 100);
        }
        EXPECT_EQ(rig.running.load(), 0);
        EXPECT_GE(sink.stops, 1);
        EXPECT_FALSE(rig.drive->RemovalPrevented());
        EXPECT_EQ(
            rig.Tail(8),
            (std::vector<std::uint8_t>{kTestUnitReady, kF9, kF8, kF9, kF8, kService, kModeSelect, kPreventAllow}));
        EXPECT_FALSE(rig.drive->VendorState().benq.serviceMode);
        EXPECT_EQ(rig.drive->VendorState().benq.statisticsMode, 0);
    }
}

// A set-up step the drive refuses: its message, the ending of a disc without
// data, and what the set-up had changed given back.
TEST(BenqScanTest, AFailedSetUpGivesBackWhatItChanged)
{
    emu::DriveIdentity closed = *emu::FindDrivePreset("benq");
    closed.vendorSettings.benq.serviceModeAllowed = false;
    struct Case {
        const char* name;
        emu::DriveIdentity identity;
        std::uint8_t refusedOpcode;  // 0: none
        std::vector<std::string> messages;
        std::vector<std::uint8_t> tail;
    };
    const Case cases[] = {
        {"power management",
         *emu::FindDrivePreset("benq"),
         kModeSelect,
         {"Error disabling drive power management"},
         {kModeSelect, kPreventAllow}},
        {"service mode", closed, 0, {"Error enabling service mode"}, {kService, kModeSelect, kPreventAllow}},
        {"statistics mode",
         *emu::FindDrivePreset("benq"),
         kF9,
         {"Error setting speed", "Error setting statistics mode"},
         {kF9, kTestUnitReady, kF9, kF9, kService, kModeSelect, kPreventAllow}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EngineRig rig(test.identity, "dvd+r", 39999);
        if (test.refusedOpcode)
            rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(test.refusedOpcode, emu::sense::kInvalidFieldInCdb));
        ScanBenqNew(rig.scan);
        std::vector<std::string> asked;
        for (const auto& question : rig.prompt.asked)
            asked.push_back(question.text);
        EXPECT_EQ(asked, test.messages);
        EXPECT_EQ(rig.sink.statuses.back(), "Invalid media for command");
        EXPECT_EQ(rig.Tail(test.tail.size()), test.tail);
        EXPECT_FALSE(rig.drive->VendorState().benq.serviceMode);
        rig.ExpectIdle();
    }
}

// The data watch: a drive that stops sending data is left 30 seconds from
// the set-up, then restarted once; after the restart 20 seconds without data
// ask whether to abort, and No waits on.
TEST(BenqScanTest, DataWatchRestartsOnceThenAsksAfterTwentySeconds)
{
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        EngineRig rig(BenqWith({{6400, 0, -1, 0}, {25600, 0, -1, 26000}}), "dvd+r", 39999);
        TimedSink sink(rig.clock);
        ScanContext scan(rig.context, sink, rig.prompt, rig.running);
        scan.state.m_llEndLba = 39999;
        scan.state.m_nGraphSlot = 1;
        scan.m_pUpperGraph = &rig.upper;
        scan.m_pLowerGraph = &rig.lower;
        rig.prompt.Answer(answer);
        const std::uint64_t setUp = rig.clock->NowMs();
        ScanBenqNew(scan);

        const std::uint64_t restart = sink.TimeOf("Waiting for drive ...");
        EXPECT_GE(restart - setUp, 30000u);
        EXPECT_LT(restart - setUp, 32000u);
        EXPECT_EQ(sink.TimeOf("PIE/PIF/Jitter Test continuing") - restart, 4000u);
        for (const char* dots : {"Waiting for drive ....", "Waiting for drive .....", "Waiting for drive ......"})
            EXPECT_NE(sink.TimeOf(dots), 0u) << dots;
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text, "No valid data received for 20 seconds, do you want to abort..");
        EXPECT_EQ(rig.prompt.asked[0].caption, "Abort?");
        EXPECT_EQ(rig.prompt.asked[0].type, MB_YESNO | MB_ICONQUESTION);
        if (answer == IDNO)
            EXPECT_EQ(sink.statuses.back().rfind("Test Complete in 01:", 0), 0u) << sink.statuses.back();
        else
            EXPECT_EQ(sink.statuses.back(), "Aborted     ");
        EXPECT_FALSE(rig.drive->VendorState().benq.serviceMode);
        EXPECT_EQ(rig.Tail(3), (std::vector<std::uint8_t>{kService, kModeSelect, kPreventAllow}));
    }
}

// A two-layer disc switches once to the second layer, whose errors are then
// measured at their own LBAs.
TEST(BenqScanTest, DualLayerSwitchesOnceToTheSecondLayer)
{
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r-dl");
    const auto layerZero = static_cast<std::int64_t>(emu::LayerZeroBlocks(disc));
    disc.errors.badZones.push_back({static_cast<std::uint64_t>(layerZero) + 20480, 256, {200, 0, 0, 0, 80}});
    EngineRig rig(BenqWith({}), "dvd+r-dl", layerZero + 30000);
    rig.Insert(disc);
    LockTray(rig.scan, true);
    rig.scan.state.m_llStartLba = layerZero - 20000;
    ScanBenqNew(rig.scan);

    EXPECT_EQ(std::count(rig.sink.statuses.begin(), rig.sink.statuses.end(), "Switching to second layer L1"), 1);
    EXPECT_TRUE(rig.Says("L1 PIE/PIF/Jitter Test Running"));
    EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 1600);
    EXPECT_EQ(rig.sink.statuses.back().rfind("Test Complete in", 0), 0u) << rig.sink.statuses.back();
    EXPECT_NEAR(static_cast<double>(rig.upper.GetPointCount()), 50000.0 / 10484, 1.0);
    rig.ExpectBenqRestored();

    // A switch while the running position is still up to 128 sectors short
    // of the end of layer 0 goes on at the first sector of layer 1, not at
    // an address of layer 0.
    emu::MediumDescription atStart = *emu::FindMediumPreset("dvd+r-dl");
    atStart.errors.badZones.push_back({static_cast<std::uint64_t>(layerZero), 128, {200, 0, 0, 0, 80}});
    EngineRig early(BenqWith({}), "dvd+r-dl", layerZero + 20000);
    early.Insert(atStart);
    LockTray(early.scan, true);
    const std::int64_t start = (layerZero - 1 - 64 - 82 * 128) / 16 * 16;  // the first point 64 to 79 short
    early.scan.state.m_llStartLba = start;
    ScanBenqNew(early.scan);
    EXPECT_TRUE(early.Says("Switching to second layer L1"));
    EXPECT_EQ(early.scan.state.m_nPIPeak.load(), 1600);
    EXPECT_EQ(early.sink.statuses.back().rfind("Test Complete in", 0), 0u) << early.sink.statuses.back();
}

TEST(BenqScanTest, OlderScanReadsRangesInItsVendorModeAndLeavesItOnEveryWayOut)
{
    {
        EngineRig rig("benq-dw1620", "dvd+r", 99999);
        rig.Insert(DiscWithBadZone("dvd+r", 40960, {150, 12, 30, 2, 95}));
        LockTray(rig.scan, true);
        ScanBenq(rig.scan);
        EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 16 * 150);
        EXPECT_EQ(rig.scan.state.m_nPIFPeak.load(), 16 * 12);
        EXPECT_EQ(rig.upper.GetPointCount(), 100096u / 5243);
        EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
        EXPECT_EQ(rig.sink.shows[scan_control::kCavSpeed], -1);
        EXPECT_EQ(rig.Tail(2), (std::vector<std::uint8_t>{kService, kPreventAllow}));
        EXPECT_FALSE(rig.drive->VendorState().benq.vendorMode);
        rig.ExpectIdle();
    }
    {  // Stop.
        EngineRig rig("benq-dw1620", "dvd+r", 99999);
        StopAtDisplay sink(rig.running, 1);
        ScanContext scan(rig.context, sink, rig.prompt, rig.running);
        scan.state.m_llEndLba = 99999;
        scan.m_pUpperGraph = &rig.upper;
        ScanBenq(scan);
        EXPECT_EQ(sink.statuses.back(), "Ready");
        EXPECT_EQ(rig.Tail(2), (std::vector<std::uint8_t>{kService, kPreventAllow}));
        EXPECT_FALSE(rig.drive->VendorState().benq.vendorMode);
    }
    {  // A range the drive cannot measure is read again ten times, then the scan ends.
        EngineRig rig("benq-dw1620", "dvd+r", 99999);
        rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(20480, 16));
        ScanBenq(rig.scan);
        EXPECT_EQ(rig.sink.statuses.back(), "Error reported reading Error Statistics, routine will now end.");
        const auto opcodes = rig.Opcodes();
        EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), 0xF0), 2 * 80 + kMaxFailedReads);
        EXPECT_EQ(rig.Tail(2), (std::vector<std::uint8_t>{kService, kPreventAllow}));
        rig.ExpectIdle();
    }
}

TEST(CyberdriveScanTest, ScanFollowsTheDrivesPositionsAndPlotsPo)
{
    EngineRig rig("cyberdrive", "dvd+r", 99999);
    rig.Insert(DiscWithBadZone("dvd+r", 40960, {150, 12, 30, 2, 95}));
    LockTray(rig.scan, true);
    ScanCyberdrive(rig.scan);
    EXPECT_EQ(rig.sink.statuses.back(), "Test Complete");
    EXPECT_EQ(rig.scan.state.m_nPIPeak.load(), 8 * 150);
    EXPECT_EQ(rig.scan.state.m_nPOPeak.load(), 8 * 30);
    EXPECT_EQ(rig.scan.displays.pifPeak, "240");
    const PiPoLowerData lower = rig.lower.StoreRecord();
    EXPECT_EQ(lower.po.size(), 100000u / 5243);
    EXPECT_TRUE(std::all_of(lower.pif.begin(), lower.pif.end(), [](int pif) { return pif == 0; }));
    EXPECT_NE(std::find(lower.po.begin(), lower.po.end(), 240), lower.po.end());
    EXPECT_GT(rig.sink.ratings, 0);
    // Its lower displays hold the jitter it measured, and the rating counts it.
    EXPECT_TRUE(RatingCountsJitter(rig.scan.displays))
        << rig.scan.displays.jitterAvg << " " << rig.scan.displays.jitterPeak;
    EXPECT_EQ(rig.Tail(2), (std::vector<std::uint8_t>{0x33, kPreventAllow}));
    EXPECT_FALSE(rig.drive->VendorState().cyberdrive.measuringMode);
    rig.ExpectIdle();
}

// A read that keeps failing ends the scan instead of following the cleared
// answer's position 0 for ever; Stop ends it at the next read.
TEST(CyberdriveScanTest, FailedReadsAndStopEndTheScanWithTheMeasuringModeClosed)
{
    {
        EngineRig rig("cyberdrive", "dvd+r", 99999);
        rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(20480, 16));
        ScanCyberdrive(rig.scan);
        EXPECT_EQ(rig.sink.statuses.back(), "Error reported reading Error Statistics, routine will now end.");
        EXPECT_EQ(rig.scan.state.m_llStartLba, 20480);
        EXPECT_EQ(rig.Tail(kMaxFailedReads + 2).front(), 0x33);
        EXPECT_EQ(rig.Tail(2), (std::vector<std::uint8_t>{0x33, kPreventAllow}));
        EXPECT_FALSE(rig.drive->VendorState().cyberdrive.measuringMode);
        rig.ExpectIdle();
    }
    {
        EngineRig rig("cyberdrive", "dvd+r", 99999);
        StopAtDisplay sink(rig.running, 1);
        ScanContext scan(rig.context, sink, rig.prompt, rig.running);
        scan.state.m_llEndLba = 99999;
        scan.m_pUpperGraph = &rig.upper;
        ScanCyberdrive(scan);
        EXPECT_EQ(sink.statuses.back(), "Ready");
        EXPECT_EQ(rig.Tail(2), (std::vector<std::uint8_t>{0x33, kPreventAllow}));
        EXPECT_FALSE(rig.drive->VendorState().cyberdrive.measuringMode);
    }
}

}  // namespace
