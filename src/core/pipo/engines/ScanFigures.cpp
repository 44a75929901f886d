#include "core/pipo/engines/ScanFigures.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/engines/ScanLoop.h"

#include <cmath>

std::uint32_t RootMeanSquare(std::uint64_t sumOfSquares, std::int64_t n)
{
    if (n < 1)
        return 0;
    return static_cast<std::uint32_t>(std::sqrt(static_cast<double>(sumOfSquares / static_cast<std::uint64_t>(n))));
}

int BenqJitterTenths(std::uint32_t raw)
{
    const double term = (raw * 0.0625 - 2.83) / 1024;
    return term > 0 ? static_cast<int>(1000 * std::sqrt(term)) : 0;
}

int CyberdriveJitterTenths(std::uint32_t raw)
{
    return static_cast<int>(1000 * std::sqrt(raw / 10.0 / 1024));
}

void RmsFigures::Update()
{
    rmsPI = piSquares.Root(n);
    rmsPIF = pifSquares.Root(n);
    rmsJitter = jitterSquares.Root(n);
}

void RmsFigures::Show(ScanContext& context, int piPeak, int pifPeak, int shownJitterPeak) const
{
    ScanDisplayTexts& texts = context.displays;
    texts.piTotal = Format("%d", static_cast<int>(piTotal));
    texts.piAvg = Format("%d", static_cast<int>(rmsPI));
    texts.piPeak = Format("%d", piPeak);
    texts.pifTotal = Format("%d", static_cast<int>(pifTotal));
    texts.pifAvg = Format("%d", static_cast<int>(rmsPIF));
    texts.pifPeak = Format("%d", pifPeak);
    SetJitterDisplays(context, shownJitterPeak, rmsJitter, jitter);
    ShowDisplays(context);
}

void RaisePeak(std::atomic<int>& peak, std::uint32_t value)
{
    if (value > static_cast<std::uint32_t>(peak.load()))
        peak = static_cast<int>(value);
}

bool ReadAgain(ScanRun& run, int result, int& failedInRow, bool& ended, const char* command, std::uint8_t opcode)
{
    ended = false;
    if (result == 0) {
        failedInRow = 0;
        return false;
    }
    if (++failedInRow < kMaxFailedReads)
        return true;
    LogEntry(DescribeLastFailure(run.context.drive.m_ScsiCommand, command, opcode));
    run.EndStopped("Error reported reading Error Statistics, routine will now end.");
    ended = true;
    return false;
}
