#pragma once

#include "core/base/ColorRef.h"
#include "core/drive/DriveGuards.h"
#include "core/drive/MmcTypes.h"
#include "core/tools/speed/SpeedFamily.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class ChannelClaim;
class DriveContext;
class RateGraph;
class ReportText;
class TestPageEvents;
class WaitClock;

// What the speed page asks for.
struct SpeedTestSettings {
    int speedX = 0;  // the speed list's entry: its x, 0 for "MAX"
    int speedRequest = 0;  // m_nSpeedRequest: 0 "Request CLV", 1 "Request CAV"
    int preSpinSeconds = 4;  // the pre-spin list's index
    COLORREF markerColor = 0xFFFFFF;  // the end-of-disc and layer-break lines
    std::uint64_t startMs = 0;  // when the page was set up, on the drive's wait clock
};

// How a run ended.
enum class SpeedTestEnd {
    Complete,  // read to the last block
    Stopped,  // Stop, with the results kept
    Failed,  // before the measuring began: the buffer, READ CAPACITY, the test read
    Blank,
    Encrypted,
    TooManyErrors,
    Declined,  // the read error at the start was not gone on with
    Fault,  // the disc or the drive went, or the drive hung: the graph so far kept
};

// The read speed test: reads the disc from block 0 to its last block in
// large sequential reads and shows the current and average speed, the data
// rate, blocks read and left, read errors and the elapsed time, and draws
// the speed and rotation curves on the rate graph. Three bodies on one
// pattern: CD and DVD, HD DVD, BD. It runs on a worker thread with the
// drive's channel claimed (the claim's busy flag, g_bSpeedTestRunning, is
// its stop token), tells the page through the events (their message box is
// its question to the user) and times itself on the drive's wait clock.
// A read that says the disc or the drive has gone ends it there. The tray lock, the volume lock and the media-change
// notification are given back on every way out.
class SpeedTest {
public:
    // report: where a failed read is told (the sense report).
    SpeedTest(DriveContext& drives, ReportText& report, TestPageEvents& events, RateGraph& graph, ChannelClaim& claim,
              SpeedTestSettings settings);

    SpeedTestEnd DoSpeedTest();
    SpeedTestEnd DoHDDVDSpeedTest();
    SpeedTestEnd DoBDSpeedTest();
    // Spins the disc up before the measured reads: reads from block 0 on
    // until `seconds` have passed, at least one.
    void PreSpin(int seconds, std::uint8_t opcode);

private:
    struct Run;
    enum class Body { CdDvd, HdDvd, Bd };

    SpeedTestEnd RunBody(Body body);
    // Set-up up to the measuring: nullopt when the run goes on.
    std::optional<SpeedTestEnd> SetUp(Run& run, Body body);
    void ReadDiscStructure(Run& run);
    void ShowFamily(Run& run);
    bool TestRead(Run& run, Body body);
    void RequestSpeed(const Run& run);
    SpeedTestEnd Measure(Run& run);
    SpeedTestEnd MeasureBd(Run& run);
    // One read of count blocks at lba into the run's buffer; the sense when it failed.
    std::optional<SenseCode> Read(Run& run, std::uint8_t opcode, std::uint32_t lba, int count, std::uint8_t byte1);
    // After a failed read (or pass): the ending it leads to, if any.
    std::optional<SpeedTestEnd> CountReadError(Run& run, const SenseCode& sense, int failedReads);
    void Sample(Run& run, std::uint64_t tick);
    std::optional<SpeedTestEnd> GraphPoint(Run& run, int speedY);
    void HalveSpeedScale(Run& run);
    void ShowElapsedAndProgress(const Run& run);

    SpeedTestEnd EndNormally(Run& run);
    SpeedTestEnd EndAfterReadFailure(Run& run, const char* message, const char* status, SpeedTestEnd end);
    SpeedTestEnd EndDeclined(Run& run);
    SpeedTestEnd EndByFault(Run& run);
    // Before the measuring: nothing posted, the page usable again.
    SpeedTestEnd EndEarly(const char* status);
    void RestorePage();
    void StopRunning();

    std::uint64_t Now() const;

    DriveContext& m_drives;
    ReportText& m_report;
    TestPageEvents& m_events;
    RateGraph& m_graph;
    ChannelClaim& m_claim;
    SpeedTestSettings m_settings;
    WaitClock& m_clock;
    std::uint32_t m_lastBlock = 0;  // the disc's, once read: pre-spin reads stay on the disc
};
