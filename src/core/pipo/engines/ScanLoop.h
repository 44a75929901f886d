#pragma once

#include "core/pipo/engines/ScanEngine.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class ScanContext;

// The pieces every scan engine's loop is made of: the running-flag protocol
// and the ways out (ScanRun), the set-up from the disc (SetUpScanMedium),
// the read speed, the sectors and speed between graph points (PointClock),
// the mean-of-maxima figures (MaximaAverages), the scale ladders, the end
// check, the progress and the displays. RunCommonScan is the loop itself as
// the Lite-On and Samsung engines run it.

// Sectors per graph point and layer, and the most points an upper graph
// takes before the loop ends.
constexpr std::uint64_t kSectorsPerPoint = 5243;
constexpr std::size_t kMaxUpperPoints = 450;
// Counts above this are replaced by the running average.
constexpr std::uint32_t kCountLimit = 2560;
// A loop gives up after this many reads without its running position
// moving on (a drive that keeps answering the same position, going back and
// forth, or failing).
constexpr int kMaxStalledReads = 4096;

// One scan's run on the drive: the running flag from the end of the set-up
// on, the stop poll, and every way out, each leaving the drive as it was
// found (the family's vendor mode left, the tray unlocked) and the window
// idle (`OnStop`). A run that is left without an ending (an exception)
// still gives the drive back.
class ScanRun {
public:
    // leaveVendorMode: what takes the drive out of the family's mode and
    // gives back what else the engine took (a control it disabled); it runs
    // first on every way out.
    explicit ScanRun(ScanContext& context, std::function<void()> leaveVendorMode = {});
    ~ScanRun();
    ScanRun(const ScanRun&) = delete;
    ScanRun& operator=(const ScanRun&) = delete;

    // The set-up is done: the running flag is set and the status shown.
    void Begin(const std::string& status);
    bool Began() const { return m_began; }
    // Stop was pressed (the flag cleared) since Begin.
    bool StopRequested() const;
    // Stop, or a scan that cannot go on: the drive given back, the status,
    // the flag cleared, the window idle.
    void EndStopped(const std::string& status = "Ready");
    // The normal end: the drive given back, the window idle, progress 100,
    // the slot marked not saved, Start enabled, the rating, the saved status
    // display back. The status says "Test Complete" only when the scan ran
    // to its end; a run stopped meanwhile or never begun says "Ready" and
    // leaves the progress bar where it was.
    void Complete();
    // The same end with the engine's own end text as the status, before the
    // saved status display comes back; a run that did not reach its end
    // (`reachedEnd` false: Stop or a failure) leaves the progress bar.
    void Complete(const std::string& endText, bool reachedEnd);
    bool Ended() const { return m_ended; }

    ScanContext& context;

private:
    void GiveDriveBack();
    void Finish(const std::optional<std::string>& endText, bool reachedEnd);

    std::function<void()> m_leaveVendorMode;
    bool m_began = false;
    bool m_ended = false;
    bool m_driveGivenBack = false;
};

// The body of every scan thread: the engine with its commands watched
// (DriveLossWatch). The first answer that says the disc or the drive has
// gone, or that the drive stays not ready, ends the scan there, before any
// retry or message of the engine's: the drive given back as on every way
// out, the status saying why ("Scan ended: the disc was removed").
void RunScanEngine(ScanEngine engine, ScanContext& context);

// What the set-up read from the disc.
struct ScanMedium {
    std::uint16_t profile = 0;  // 0 when GET CONFIGURATION failed
    int layerField = 0;  // layers minus one, from READ DVD STRUCTURE
    int factor = 1;  // 2 on a dual-layer DVD: a graph point per two layers' sectors; a BD's fits the disc
    std::uint32_t layer0End = 0;  // the end of layer 0 as a sector number
    bool capacityRead = false;
    std::uint32_t lastLba = 0;

    std::uint64_t PointSectors() const { return kSectorsPerPoint * static_cast<std::uint64_t>(factor); }
};

// The current drive is a DVD drive: a scan measures only there.
bool OnDvdDrive(const ScanContext& context);

// GET CONFIGURATION: the current profile, 0 when it failed.
std::uint16_t ReadScanProfile(ScanContext& context);
// The set-up from the disc: profile, layers, capacity, the x-axis captions
// and both graphs' markers. A disc without recorded data ends the run
// ("Error, media must be used before it can be scanned") and gives none.
std::optional<ScanMedium> SetUpScanMedium(ScanRun& run);

// The read-speed box's choice as SET CD SPEED sends it.
struct ScanSpeed {
    std::uint8_t high = 0xFF;
    std::uint8_t low = 0xFF;
    std::uint8_t rotation = 0;
};
// Selections outside the box's seven entries are taken as the first.
ScanSpeed ScanSpeedFor(int selection);
// Sends SET CD SPEED for the read-speed box's choice: the speed sent.
ScanSpeed SetScanSpeed(ScanContext& context, int selection);

// The sectors measured since the last graph point, and the read speed over
// them on the context's clock.
class PointClock {
public:
    PointClock(ScanContext& context, std::uint64_t pointSectors);

    // The interval's start time is now.
    void Start();
    void Advance(std::int64_t distance);
    bool PointDue() const;
    // Closes a due point: the speed over it (times ten, for the upper graph;
    // a speed above 32x counts as 0), the speed axis fitted to the fastest
    // so far, the point's sectors taken off the interval.
    int TakePoint();
    // The same in two steps, for a loop that may draw several points (or
    // none) at once: the speed, then each point's sectors.
    int TakeSpeed();
    bool PointExceeded() const;
    void TakeSectors();

private:
    ScanContext& m_context;
    std::uint64_t m_pointSectors;
    std::uint64_t m_startMs = 0;
    std::int64_t m_intervalDistance = 0;
    std::int64_t m_speedDistance = 0;
    std::int64_t m_previousSpeedDistance = 0;
    std::int64_t m_olderSpeedDistance = 0;
    float m_maxSpeed = 0.0F;
};

// The figures of the engines that average the interval maxima: a sample is
// a group of reads (PI summed over them, PIF of the last), a point keeps the
// largest sample, and the averages are the mean of the points' maxima.
struct MaximaAverages {
    std::uint32_t samplePI = 0;
    std::uint32_t samplePIF = 0;
    std::uint32_t maxPI = 0;  // of the interval
    std::uint32_t maxPIF = 0;
    std::uint32_t piTotal = 0;
    std::uint32_t pifTotal = 0;
    std::int64_t piSum = 0;
    std::int64_t pifSum = 0;
    std::int64_t n = 1;
    bool firstSample = true;
    std::int32_t piAverage = 0;
    std::int32_t pifAverage = 0;

    // One read's counts; sums above kCountLimit fall back to the average.
    void AddRead(std::uint32_t pi, std::uint32_t pif);
    // The group is a sample: interval maxima, averages, the scan's peaks.
    void CloseSample(ScanContext& context);
    // A graph point was drawn: its maxima join the averages.
    void ClosePoint();
};

// The scale ladders of an automatic axis whose scan peak outgrew its full
// scale. `averageValue` is what the "Auto Avg" mode fits (such as twice the
// average); "Auto Peak" fits the peak.
void ApplyUpperLadder(ScanContext& context, std::int64_t averageValue);
void ApplyLowerLadder(ScanContext& context, std::int64_t averageValue);
// The jitter axis, in tenths of a percent (up to 80 %).
void ApplyJitterLadder(ScanContext& context, std::int64_t peak, std::int64_t averageValue);

// The end check at a graph point: the running position at most 1023 sectors
// short of the end and the drive already 1 to 511 sectors past it; the
// running position is then set to the end.
bool ReachedEnd(ScanContext& context, std::uint64_t reportedPosition);
// The progress bar at the running position, 0 to 100.
int ProgressAt(std::uint64_t position, std::uint64_t endLba);
void ShowProgress(ScanContext& context);
// The upper graph holds more points than it shows.
bool UpperGraphFull(const ScanContext& context);

// The count displays ("%d", C locale) of the mean-of-maxima figures.
void SetCountDisplays(ScanContext& context, const MaximaAverages& figures);
// The same of any figures, with the scan's peaks.
void SetCountDisplays(ScanContext& context, std::int32_t piTotal, std::int32_t piAverage, std::int32_t pifTotal,
                      std::int32_t pifAverage);
// The displays a set-up starts with: the PIF average's text, "---" for the
// jitter ones.
void ShowSetUpDisplays(ScanContext& context, const char* pifAverage);
// A point on both graphs (PI and speed above; PIF, PO and jitter below).
void AddGraphPoint(ScanContext& context, int pi, int speedTenths, int pif, int jitter);
// The jitter displays ("%.1f%%" of tenths of a percent).
void SetJitterDisplays(ScanContext& context, double peak, double average, double last);
// Sends the displays to the window.
void ShowDisplays(ScanContext& context);
// Both graphs painted again.
void RedrawGraphs(ScanContext& context);

// What the engines of the common loop do their own way.
struct CommonScanSteps {
    // One error read into the reply buffer: the channel's result.
    std::function<int(std::uint8_t* reply, std::uint32_t length)> readErrors;
    std::uint32_t replyLength = 16;  // the transfer the read's CDB asks for
    int countedReadsPerGroup = 8;
    int preSpins = 2;
    bool jitter = false;  // the Lite-On jitter read every 4096 sectors
    // The waits after the set-up and after the SEEK are for the unit with a
    // time limit (else the scan's own wait before the reads).
    bool waitsAfterSeek = false;
};
// The common loop: set-up from the disc, the speed and pre-spin, the SEEK to
// the start, groups of reads into samples, graph points, the end checks and
// the completion; every way out gives the drive back.
void RunCommonScan(ScanContext& context, const CommonScanSteps& steps);

// The sampling factor of the speed/accuracy box ("Accuracy", "Balanced",
// "Faster", "Fastest"): one group read in every 1, 2, 4 or 8; without a
// choice every group is read.
std::uint64_t SamplingFactor(int accuracyIndex);
// SET CD SPEED of one read and write speed in kB/s, the rotation the drive's own.
void SetReadSpeed(ScanContext& context, std::uint16_t kbps);
// SET STREAMING of one performance descriptor up to endLba: kbps read and
// written per second.
void SetScanStreaming(ScanContext& context, std::uint32_t endLba, std::uint32_t kbps);
