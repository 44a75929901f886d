#pragma once

#include <atomic>
#include <cstdint>

class ScanContext;
class ScanRun;

// Figures of the engines that show root-mean-square averages and read a
// raw jitter from the drive.

// The integer part of sqrt(sumOfSquares / n); 0 for n below 1.
std::uint32_t RootMeanSquare(std::uint64_t sumOfSquares, std::int64_t n);

// The sum of squares behind a root-mean-square average, the one way every
// scan engine keeps it.
struct RmsSum {
    std::uint64_t squares = 0;

    // The first value: the sum starts again from its square.
    void Start(std::uint64_t value) { squares = value * value; }
    // A value read once for `groupFactor` groups (the sampling factor of the
    // engines that read one group in so many, whose count grows by the
    // factor): its square counts that many times.
    void Add(std::uint64_t value, std::uint64_t groupFactor = 1) { squares += groupFactor * value * value; }
    // The average over n values: RootMeanSquare(squares, n).
    std::uint32_t Root(std::int64_t n) const { return RootMeanSquare(squares, n); }
};

// The newer BenQ models' raw jitter word in tenths of a percent:
// 1000 x sqrt((raw / 16 - 2.83) / 1024); a raw word of 45 or less (below
// the drive's floor) gives 0.
int BenqJitterTenths(std::uint32_t raw);

// The Cyberdrive raw jitter in tenths of a percent: 1000 x sqrt(raw / 10 / 1024).
int CyberdriveJitterTenths(std::uint32_t raw);

// The running figures of those engines: n samples, sums of squares, totals,
// the RMS values shown as averages, the current jitter and its peak (tenths
// of a percent). "PIF" is what the lower graph counts (PO on a Cyberdrive).
struct RmsFigures {
    std::int64_t n = 1;
    RmsSum piSquares;
    RmsSum pifSquares;
    RmsSum jitterSquares;
    std::int64_t piTotal = 0;
    std::int64_t pifTotal = 0;
    std::uint32_t rmsPI = 0;
    std::uint32_t rmsPIF = 0;
    std::uint32_t rmsJitter = 0;
    int jitter = 0;
    int jitterPeak = 0;

    // The RMS values from the sums.
    void Update();
    // The count and jitter displays ("%d"; jitter "%.1f%%") with the peaks
    // given, sent to the window.
    void Show(ScanContext& context, int piPeak, int pifPeak, int shownJitterPeak) const;
};

// A scan peak of the window's state raised to the value when it is larger.
void RaisePeak(std::atomic<int>& peak, std::uint32_t value);

// Failed measurements in a row after which the engines that read again give up.
constexpr int kMaxFailedReads = 10;

// After a measurement: true when it failed and is to be read again. The
// kMaxFailedReads-th failure in a row logs the failure and ends the run
// ("Error reported reading Error Statistics, routine will now end.");
// `ended` tells it apart.
bool ReadAgain(ScanRun& run, int result, int& failedInRow, bool& ended, const char* command, std::uint8_t opcode);
