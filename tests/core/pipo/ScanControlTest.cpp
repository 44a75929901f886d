#include "ScanRig.h"
#include "core/app/DeviceBroadcast.h"
#include "core/base/MessageIds.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanControl.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanDriveClassification.h"
#include "core/pipo/ScanWindowPort.h"
#include "core/pipo/engines/ScanEngine.h"
#include "emu/ErrorRule.h"
#include "emu/MediaPresets.h"
#include "scsi/Opcodes.h"
#include "support/ScanChoices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <thread>

using namespace scan_control;

namespace {

// What the window was asked to do, in order.
struct RecordingWindowPort : ScanWindowPort {
    void UpdateControls() override { ++updates; }
    ScanDisplayTexts ReadDisplays() override { return shown; }
    void ApplyDriveSetup(const ScanDriveDetection& detection) override { setups.push_back(detection.code); }
    void LoadColoursAndScales() override { calls.push_back("colours"); }
    void ReapplyProgressiveColouring() override { calls.push_back("progressive"); }
    void ShowDriveName() override { calls.push_back("drive name"); }
    void Beep(unsigned type) override { beeps.push_back(type); }
    const PiPoUpperGraph& UpperGraphOfSlot(int slot) override { return slot == 1 ? upper1 : upper2; }
    std::optional<std::pair<std::string, std::string>> RunRangeDialog(int lowest, int highest) override
    {
        dialogRanges.emplace_back(lowest, highest);
        return dialogAnswer;
    }
    void RefreshMedia() override { calls.push_back("refresh"); }
    void SelectGraph(int slot) override { calls.push_back("graph " + std::to_string(slot)); }
    void LoadScan(const std::string& path) override { calls.push_back("load " + path); }

    int updates = 0;
    ScanDisplayTexts shown;
    std::vector<int> setups;
    std::vector<std::string> calls;
    std::vector<unsigned> beeps;
    std::vector<std::pair<int, int>> dialogRanges;
    std::optional<std::pair<std::string, std::string>> dialogAnswer;
    PiPoUpperGraph upper1;
    PiPoUpperGraph upper2;
};

// The stand-in engine: runs until Stop, as an engine polls its flag on
// every read, then ends as engines do.
std::atomic<int> g_engineRuns{0};
void EngineUntilStop(ScanContext& context)
{
    ++g_engineRuns;
    context.g_bErrorTestRunning = 1;
    while (context.g_bErrorTestRunning == 1)
        std::this_thread::yield();
    context.sink.OnStop();
}

ScanThreadTable TableWith(ScanEngine engine)
{
    ScanThreadTable table = ScanThreads();
    for (ScanThreadRow& row : table.rows)
        row.engine = engine;
    return table;
}

// Scan control on an emulated drive with the window's graphs of slot 1 as
// the current pair, and the stand-in engine for every family.
struct ControlRig : ScanRig {
    ControlRig(const char* drivePreset, const char* mediumPreset, ScanEngine engine = EngineUntilStop) :
        ScanRig(drivePreset, mediumPreset), control(scan, window, TableWith(engine))
    {
        scan.m_pUpperGraph = &window.upper1;
        scan.m_pLowerGraph = &lower1;
        scan.state.m_nGraphSlot = 1;
        g_engineRuns = 0;
    }
    ~ControlRig()
    {
        running = 0;
        control.JoinScanThread();
    }
    // Starts and waits until the engine runs.
    void StartScan()
    {
        control.OnStart();
        while (control.ScanThreadRunning() && running == 0)
            std::this_thread::yield();
    }
    bool HasStatus(const std::string& status) const
    {
        return std::find(sink.statuses.begin(), sink.statuses.end(), status) != sink.statuses.end();
    }
    int Sent(std::uint8_t opcode) { return static_cast<int>(CdbsOf(opcode).size()); }
    // The tray free, in the drive and in the program's record.
    void ExpectTrayFree()
    {
        EXPECT_FALSE(drive->RemovalPrevented());
        EXPECT_EQ(context.mmc.m_bTrayLocked, 0);
    }
    // Whether the notification is off now: the log's last word on it.
    bool NotificationOff() const
    {
        const std::string text = log.Text();
        const std::size_t off = text.rfind("DisableMCN(TRUE)");
        const std::size_t on = text.rfind("DisableMCN(FALSE)");
        return off != std::string::npos && (on == std::string::npos || on < off);
    }

    RecordingWindowPort window;
    PiPoLowerGraph lower1;
    ScanControl control;
};

constexpr std::int64_t kDvdPlusRLastLba = 2099999;

}  // namespace

TEST(ScanControl, RangeTextsAreParsedAsStrtolReadsThemIntoSigned32Bits)
{
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"23101F", 0x23101F},
        {"ccc4", 52420},
        {"7FFFFFFF", 0x7FFFFFFF},
        {"80000000", 0x7FFFFFFF},
        {"FFFFFFFFFF", 0x7FFFFFFF},
        {"-10", -16},
        {"-80000001", -0x80000000LL},
        {"", 0},
        {"zz", 0},
        {" 1G", 1},
        {"0x1A", 26},
    };
    for (const Case& test : cases)
        EXPECT_EQ(ParseLbaText(test.text), test.value) << test.text;
    EXPECT_EQ(FormatLbaText(2297887), "23101F");
    EXPECT_EQ(FormatLbaText(0), "0");
}

TEST(ScanControl, EachFamilyAndModelHasItsThread)
{
    struct Case {
        int code;
        bool newerBenq;
        bool jitter;
        const char* thread;
    };
    const Case cases[] = {
        {kDriveGenericF3, false, false, "PIPOThread"},
        {kDriveBenq, true, false, "PIPOBenqNewThread"},
        {kDriveBenq, false, true, "PIPOBenqThread"},
        {kDriveBtc, false, false, "PIPOBTCThread"},
        {kDriveLiteon, false, true, "PIPOLiteonWithJitterThread"},
        {kDriveLiteon, true, false, "PIPOLiteonThread"},
        {kDriveCyberdrive, false, false, "PIPOCyberdriveThread"},
        {kDrivePioneer, false, false, "PIPOPioneereThread"},
        {kDriveAopen, false, false, "PIPOPioneereThread"},
        {kDriveNec, false, false, "PIPONECThread"},
        {kDrivePlextor, false, false, "PIPOPlextordriveThread"},
        {kDriveSamsung, false, false, "PIPOSamsungThread"},
        {kDriveIhas, false, false, "PIPOIHASThread"},
    };
    const ScanThreadTable table = ScanThreads();
    for (const Case& test : cases) {
        const ScanThreadRow* row = FindScanThread(table, test.code, test.newerBenq, test.jitter);
        ASSERT_NE(row, nullptr) << test.thread;
        EXPECT_STREQ(row->threadName, test.thread);
        EXPECT_EQ(std::string(row->startLine), std::string("Start THREAD ") + test.thread + "()");
    }
    EXPECT_EQ(FindScanThread(table, kDriveUnsuitable, false, false), nullptr);
    EXPECT_EQ(FindScanThread(table, kDriveNotClassified, false, false), nullptr);

    ScanRig rig("liteon", "dvd+r");
    const ScanThreadRow& samsung = *FindScanThread(table, kDriveSamsung, false, false);
    const ScanThreadRow& cyber = *FindScanThread(table, kDriveCyberdrive, false, false);
    EXPECT_EQ(RunScanThread(samsung, nullptr), 1);
    EXPECT_EQ(RunScanThread(cyber, nullptr), 1);
    EXPECT_EQ(RunScanThread(samsung, &rig.scan), 0);
    const std::string log = rig.log.Text();
    EXPECT_NE(log.find("PIPOSamsungThread() - THREAD - InternetThread isn't valid"), std::string::npos);
    EXPECT_NE(log.find("PIPOThread() - THREAD - InternetThread isn't valid"), std::string::npos);
    EXPECT_NE(log.find("Start THREAD PIPOSamsungThread()"), std::string::npos);
}

// Start reads the range, prepares the window and the drive, and runs the
// family's thread with the tray locked and the notification off; Stop gives
// everything back.
TEST(ScanControl, StartRunsTheFamilysThreadAndStopGivesTheWindowAndTheDriveBack)
{
    ControlRig rig("liteon", "dvd+r");
    rig.window.shown.piTotal = "123456789012345678901234";
    rig.StartScan();
    ASSERT_EQ(rig.running, 1);
    EXPECT_EQ(g_engineRuns, 1);
    EXPECT_EQ(rig.scan.state.m_nDriveCode, kDriveLiteon);
    EXPECT_EQ(rig.control.range.strStartLba, "0");
    EXPECT_EQ(rig.control.range.strEndLba, "200B1F");
    EXPECT_EQ(rig.scan.state.m_llEndLba, kDvdPlusRLastLba);
    EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);
    EXPECT_EQ(rig.scan.state.m_strSavedStatus, "Ready." + std::string(34, ' '));
    for (const char* status : {"Ready.", "Please Wait...", "Starting PI PO Test..."})
        EXPECT_TRUE(rig.HasStatus(status)) << status;
    EXPECT_TRUE(rig.drive->RemovalPrevented());
    EXPECT_TRUE(rig.NotificationOff());
    EXPECT_EQ(rig.scan.media.mediaName, "DVD+R");
    EXPECT_EQ(rig.scan.displays.piTotal, "---");
    EXPECT_TRUE(rig.log.Text().find("Start THREAD PIPOLiteonWithJitterThread()") != std::string::npos);
    EXPECT_EQ(std::count(rig.sink.captions.begin(), rig.sink.captions.end(),
                         std::pair<int, std::string>(kQualityRating, "Quality Rating")),
              1);
    rig.sink.enables.clear();

    rig.control.OnStop();
    rig.control.JoinScanThread();
    EXPECT_EQ(rig.running, 0);
    EXPECT_EQ(rig.sink.stops, 1);
    rig.ExpectTrayFree();
    EXPECT_FALSE(rig.NotificationOff());
    for (int id : {kStart, kSave, kLoad, kGraph1, kGraph2, kEject, kSetLba, kProgressiveUpper, kProgressiveLower})
        EXPECT_EQ(rig.sink.enables[id], 1) << id;
    EXPECT_EQ(rig.sink.enables[kCompare], -1) << "slot 2 holds no scan";

    // Both slots hold a scan: Compare comes back.
    rig.window.upper1.AddPoint(3, 40);
    rig.window.upper2.AddPoint(5, 40);
    rig.sink.enables.clear();
    rig.control.OnStop();
    EXPECT_EQ(rig.sink.enables[kCompare], 1);
    EXPECT_EQ(rig.scan.displays.piTotal, "12345678901234567890") << "read back from the displays";
}

// A negative start would have the pre-fill append points without end.
TEST(ScanControl, AUserRangeEndingBelowItsStartOrStartingBelowZeroIsReadAgainFromTheDrive)
{
    for (const char* start : {"2000", "-10", "80000000"}) {
        SCOPED_TRACE(start);
        ControlRig rig("liteon", "dvd+r");
        rig.control.SetRangeTexts(start, "1000");
        EXPECT_NE(rig.scan.state.m_llStartLba, 0);
        rig.StartScan();
        EXPECT_TRUE(rig.HasStatus("Waiting for Drive to become ready."));
        EXPECT_EQ(rig.scan.state.m_llStartLba, 0);
        EXPECT_EQ(rig.scan.state.m_llEndLba, kDvdPlusRLastLba);
        EXPECT_EQ(rig.control.range.strStartLba, "0");
        EXPECT_EQ(rig.control.range.strEndLba, "200B1F");
        EXPECT_EQ(rig.window.upper1.GetPointCount(), 0u);
        EXPECT_EQ(g_engineRuns, 1);
    }
}

TEST(ScanControl, AStartBeyondZeroIsPrefilledWithEmptyPointsPerLayerCount)
{
    struct Case {
        const char* medium;
        const char* start;
        std::size_t points;
    };
    const Case cases[] = {
        {"dvd+r", "0", 0},
        {"dvd+r", "CCC4", 10},  // 52,420
        {"dvd+r-dl", "CCC4", 5},
        {"dvd+r", "CCC3", 9},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.medium) + " from " + test.start);
        ControlRig rig("liteon", test.medium);
        ASSERT_EQ(rig.control.ReadCapacityRange(), 0);
        rig.control.SetRangeTexts(test.start, rig.control.range.strEndLba);
        rig.drive->ClearJournal();
        rig.StartScan();
        EXPECT_EQ(rig.window.upper1.GetPointCount(), test.points);
        EXPECT_EQ(rig.lower1.GetPointCount(), test.points);
        EXPECT_EQ(rig.Sent(mmc::kReadDiscStructure) > 0, true);
        EXPECT_EQ(g_engineRuns, 1);
    }
}

// Every way out of Start leaves the tray free; the notification stays off
// only where the scan had got as far as turning it off.
TEST(ScanControl, EveryEndOfStartLeavesTheTrayFree)
{
    struct Case {
        const char* name;
        const char* drive;
        const char* medium;
        ScanEngine engine;
        std::function<void(ControlRig&)> arrange;
        const char* status;
        bool notificationOff;
        bool runs;
    };
    const auto nothing = [](ControlRig&) {};
    const Case cases[] = {
        {"scan", "liteon", "dvd+r", EngineUntilStop, nothing, "Starting PI PO Test...", true, true},
        {"unsaved, No", "liteon", "dvd+r", EngineUntilStop,
         [](ControlRig& rig) {
             rig.scan.state.m_bNotSaved1 = 1;
             rig.prompt.Answer(IDNO);
         },
         "Ready.", false, false},
        {"no medium after the range was set", "liteon", "dvd+r", EngineUntilStop,
         [](ControlRig& rig) {
             rig.control.SetRangeTexts("0", "100");
             rig.drive->RemoveMedium();
         },
         "No Media loaded", true, false},
        {"READ CAPACITY keeps failing", "liteon", "dvd+r", EngineUntilStop,
         [](ControlRig& rig) {
             rig.drive->AddErrorRule(
                 emu::ErrorRule::CheckCondition(mmc::kReadCapacity, emu::sense::kInvalidFieldInCdb));
         },
         "Timeout waiting for unit", false, false},
        {"no medium at all", "liteon", "none", EngineUntilStop, nothing, "No Media loaded", false, false},
        {"blank medium", "liteon", "dvd+r-blank", EngineUntilStop, nothing, "Invalid media for command", false, false},
        // Named when classified, and nothing waits at "Starting PI PO Test...".
        {"unsuitable drive", "dvd-writer", "dvd+r", EngineUntilStop, nothing, "Ready.", false, false},
        {"family without an engine", "liteon", "dvd+r", nullptr, nothing, "Starting PI PO Test...", true, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ControlRig rig(test.drive, test.medium, test.engine);
        test.arrange(rig);
        rig.StartScan();
        EXPECT_EQ(rig.sink.statuses.back(), test.status);
        EXPECT_EQ(g_engineRuns, test.runs ? 1 : 0);
        if (test.runs)
            rig.control.OnStop();
        rig.control.JoinScanThread();
        rig.ExpectTrayFree();
        EXPECT_EQ(rig.NotificationOff(), test.notificationOff && !test.runs);
        rig.control.OnStop();
        EXPECT_FALSE(rig.NotificationOff()) << "Stop turns it on again";
        EXPECT_EQ(rig.sink.enables[kStart] > 0, std::string(test.drive) != "dvd-writer");
    }
}

// A drive of no scanning family: Start says so once (the classification's
// own message when it just found out, else the refusal's) and disables,
// locks and marks nothing.
TEST(ScanControl, StartOnADriveOfNoScanningFamilyIsRefusedBeforeAnythingIsDisabled)
{
    for (const bool classifiedAtOpening : {true, false}) {
        SCOPED_TRACE(classifiedAtOpening ? "classified when the window opened" : "first classified at Start");
        ControlRig rig("dvd-writer", "dvd+r");
        if (classifiedAtOpening) {
            DetectScanDrive(rig.scan);
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            rig.prompt.asked.clear();
        }
        rig.StartScan();
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text, kUnsuitableDriveMessage);
        EXPECT_EQ(rig.window.setups, std::vector<int>{kDriveUnsuitable});
        EXPECT_EQ(rig.sink.statuses.back(), "Ready.");
        EXPECT_FALSE(rig.HasStatus("Starting PI PO Test..."));
        for (const auto& [id, count] : rig.sink.enables)
            EXPECT_GE(count, 0) << "control " << id << " disabled";
        EXPECT_EQ(rig.scan.state.m_bNotSaved1, 0);
        EXPECT_EQ(g_engineRuns, 0);
        EXPECT_FALSE(rig.control.ScanThreadRunning());
        EXPECT_FALSE(rig.NotificationOff());
        rig.ExpectTrayFree();
    }
}

TEST(ScanControl, TheQuestionsAndMessagesOfStart)
{
    {
        ControlRig rig("liteon", "dvd+r");
        rig.scan.state.m_bNotSaved1 = 1;
        rig.prompt.Answer(IDNO);
        rig.control.OnStart();
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text, "Previous graph not saved,  are you sure you want to start?");
        EXPECT_EQ(rig.prompt.asked[0].caption, "Graph not saved!");
        EXPECT_EQ(rig.prompt.asked[0].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);
    }
    {
        ControlRig rig("liteon", "dvd+r-blank");
        rig.control.OnStart();
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text, "Error, media must be used before it can be scanned");
        EXPECT_EQ(rig.sink.stops, 0);
        EXPECT_EQ(rig.sink.enables[kStart], 1) << "Stop gave the window back";
        EXPECT_EQ(rig.control.ReadCapacityRange(), 1) << "and the window's thread goes on";
    }
    {
        ControlRig rig("liteon", "none");
        rig.control.OnStart();
        EXPECT_EQ(rig.window.beeps, std::vector<unsigned>{0xFFFFFFFFu});
        EXPECT_LE(rig.Sent(mmc::kReadCapacity), 3);
    }
}

TEST(ScanControl, CloseAndEjectAreRefusedWhileAScanRuns)
{
    ControlRig rig("liteon", "dvd+r");
    rig.StartScan();
    rig.context.m_ScsiCommand.LockAndDismountVolume();
    rig.window.upper1.AddPoint(1, 1);
    EXPECT_FALSE(rig.control.OnClose());
    EXPECT_EQ(rig.context.m_ScsiCommand.UnlockVolume(), 1) << "the volume stays locked while the scan runs";
    rig.context.m_ScsiCommand.LockAndDismountVolume();
    rig.control.OnEject();
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must click 'Stop' first");
    EXPECT_EQ(rig.prompt.asked[0].caption, "");
    EXPECT_EQ(rig.prompt.asked[1].text, "You must stop the test first");
    EXPECT_EQ(rig.prompt.asked[1].caption, "Error Test Running!");
    EXPECT_EQ(rig.prompt.asked[1].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(rig.Sent(mmc::kStartStopUnit), 0);
    EXPECT_EQ(rig.running, 1);

    rig.control.OnStop();
    EXPECT_TRUE(rig.control.OnClose());
    EXPECT_FALSE(rig.control.ScanThreadRunning());
    EXPECT_EQ(rig.context.m_ScsiCommand.UnlockVolume(), 0) << "unlocked by the close";
    EXPECT_EQ(rig.window.upper1.GetPointCount(), 0u);
    rig.control.OnEject();
    EXPECT_TRUE(rig.drive->TrayOpen());
    rig.ExpectTrayFree();
}

TEST(ScanControl, ARemovalResetsTheRangeAndAnArrivalReadsIt)
{
    ControlRig rig("liteon", "dvd+r");
    const DeviceBroadcast media{DBT_DEVTYP_VOLUME, "emu0", DBTF_MEDIA};
    rig.control.OnDeviceChange(DBT_DEVICEARRIVAL, media);
    EXPECT_EQ(rig.control.range.strEndLba, "200B1F");
    EXPECT_EQ(rig.control.range.nEndLba, kDvdPlusRLastLba);

    rig.control.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, {DBT_DEVTYP_VOLUME, "emu0", 0});
    EXPECT_EQ(rig.control.range.strEndLba, "200B1F") << "not a medium";
    rig.running = 1;
    rig.control.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, media);
    EXPECT_EQ(rig.control.range.strEndLba, "200B1F") << "ignored while a scan runs";
    rig.running = 0;
    rig.control.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, media);
    EXPECT_EQ(rig.control.range.strStartLba, "0");
    EXPECT_EQ(rig.control.range.strEndLba, "0");
    EXPECT_EQ(rig.control.range.nEndLba, 0);
    rig.ExpectTrayFree();
}

TEST(ScanControl, TheRangeDialogOpensOnTheDrivesRangeAndCancelKeepsTheRange)
{
    ControlRig rig("liteon", "dvd+r");
    rig.control.ReadCapacityRange();
    rig.control.OnSetLba();
    EXPECT_EQ(rig.control.range.strEndLba, "200B1F");
    rig.window.dialogAnswer = std::pair<std::string, std::string>("CCC4", "100000");
    rig.control.OnSetLba();
    EXPECT_EQ(rig.window.dialogRanges,
              (std::vector<std::pair<int, int>>{{0, kDvdPlusRLastLba}, {0, kDvdPlusRLastLba}}));
    EXPECT_EQ(rig.scan.state.m_llStartLba, 52420);
    EXPECT_EQ(rig.scan.state.m_llEndLba, 0x100000);
    EXPECT_EQ(rig.control.range.nEndLba, kDvdPlusRLastLba);
}

TEST(ScanControl, DroppedScanFiles)
{
    struct Case {
        std::vector<std::string> paths;
        std::vector<std::string> calls;
        bool refused;
    };
    const Case cases[] = {
        {{"/d/a.qnzx"}, {"refresh", "load /d/a.qnzx"}, false},
        {{"/d/a.QNZ", "/d/b.qnzx", "/d/c.qnz"},
         {"refresh", "graph 1", "load /d/a.QNZ", "graph 2", "load /d/b.qnzx", "graph 1"},
         false},
        {{"/d/a.qnz", "/d/b.ibg"}, {}, true},
        {{"/d.qnz/a"}, {}, true},
        {{"/d/a.qnz", "/d/b.qnz", "/d/c.txt"},
         {"refresh", "graph 1", "load /d/a.qnz", "graph 2", "load /d/b.qnz", "graph 1"},
         false},
    };
    for (const Case& test : cases) {
        ControlRig rig("liteon", "dvd+r");
        rig.control.OnDropFiles(test.paths);
        EXPECT_EQ(rig.window.calls, test.calls) << test.paths[0];
        EXPECT_EQ(rig.prompt.asked.size(), test.refused ? 1u : 0u);
        if (test.refused) {
            EXPECT_EQ(rig.prompt.asked[0].text, "Non-QNZ file, Quenzario only supports its own 'QNZ' or 'QNZX' files");
        }
    }
}

namespace {

// A clock that clears the running flag after a number of waits, as Stop
// does while a scan waits for its drive.
class StopAfterWaits : public WaitClock {
public:
    StopAfterWaits(std::atomic<int>& running, int waits) : m_running(running), m_waits(waits) {}
    std::uint64_t NowMs() const override { return m_now; }
    void SleepMs(std::uint32_t milliseconds) override
    {
        m_now += milliseconds;
        if (--m_waits == 0)
            m_running = 0;
    }

private:
    std::atomic<int>& m_running;
    int m_waits;
    std::uint64_t m_now = 0;
};

}  // namespace

TEST(ScanControl, WaitForUnitReadyGivesUpAfterTwiceItsSecondsAndEndsAtStop)
{
    ControlRig rig("liteon", "dvd+r");
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(mmc::kTestUnitReady, emu::sense::kNotReadyBecomingReady));
    rig.drive->ClearJournal();
    EXPECT_EQ(rig.control.WaitForUnitReady(10), 1);
    EXPECT_EQ(rig.Sent(mmc::kTestUnitReady), 20);
    ASSERT_EQ(rig.sink.statuses.size(), 1u);
    EXPECT_EQ(rig.sink.statuses[0], "Timeout waiting for unit") << "a timed-out wait is not ready";

    rig.drive->ClearJournal();
    rig.running = 1;
    rig.context.mmc.SetWaitClock(std::make_shared<StopAfterWaits>(rig.running, 3));
    EXPECT_EQ(WaitForUnitReady(rig.scan, 10), 1) << "an engine's wait";
    EXPECT_EQ(rig.Sent(mmc::kTestUnitReady), 3);

    rig.drive->ClearErrorRules();
    EXPECT_EQ(rig.control.WaitForUnitReady(10), 0);
}

// Every end of a scan allows removal again: the engine's way out sends the
// Allow (as far as the drive answers: nothing reaches a drive that went),
// and the window's Stop that follows sends nothing more to a drive that may
// no longer answer.
TEST(ScanControl, EveryEndOfAScanAllowsRemovalOnce)
{
    struct Case {
        const char* name;
        std::optional<emu::MidRunFault> fault;
        bool stop;
    };
    const Case cases[] = {
        {"complete", std::nullopt, false},
        {"stopped", std::nullopt, true},
        {"disc removed", emu::MidRunFault::DiscRemoved, false},
        {"drive lost", emu::MidRunFault::DriveGone, false},
        {"stuck not ready", emu::MidRunFault::StuckNotReady, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ControlRig rig("liteon", "dvd+r", ScanLiteon);
        emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
        disc.capacityBlocks = 160000;
        rig.Insert(disc);
        ChooseDefaultScanChoices(rig.scan);
        rig.Record().m_bDvdDrive = 1;
        bool running = false;
        rig.sink.onStatus = [&](const std::string& status) {
            if (running || !status.ends_with("Running"))
                return;
            running = true;
            rig.drive->ClearJournal();  // the tray is locked by now
            if (c.fault)
                rig.drive->ScheduleFault(*c.fault, 20);
            else if (c.stop)
                rig.running = 0;  // Stop pressed
        };
        rig.control.OnStart();
        rig.control.JoinScanThread();
        ASSERT_TRUE(running);
        EXPECT_EQ(rig.sink.stops, 1);
        const std::uint64_t before = rig.drive->SentCommands();
        rig.control.OnStop();  // the window's answer to the engine's end
        EXPECT_EQ(rig.drive->SentCommands(), before) << "Stop sent a command after the engine's end";

        std::vector<std::uint8_t> removals;  // byte 4 of each PREVENT ALLOW MEDIUM REMOVAL since then
        for (const emu::JournalEntry& entry : rig.drive->Journal())
            if (entry.Opcode() == 0x1E)
                removals.push_back(entry.cdb[4]);
        if (c.fault == emu::MidRunFault::DriveGone) {
            EXPECT_TRUE(removals.empty());
        } else {
            EXPECT_EQ(removals, std::vector<std::uint8_t>{0}) << "one Allow, on the engine's way out";
        }
        if (!c.fault || c.fault == emu::MidRunFault::DiscRemoved) {
            rig.ExpectTrayFree();
        }
    }
}
