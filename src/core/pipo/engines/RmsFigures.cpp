#include "core/pipo/engines/RmsFigures.h"

#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/ScanLoop.h"

#include <algorithm>
#include <cmath>

std::int32_t RootMeanSquare(std::int64_t squares, std::int64_t n)
{
    if (n <= 0)
        return 0;
    return static_cast<std::int32_t>(std::trunc(std::sqrt(static_cast<double>(squares / n))));
}

void RaisePeak(std::atomic<int>& peak, std::uint32_t value)
{
    if (value > static_cast<std::uint32_t>(peak.load()))
        peak = static_cast<int>(value);
}

void RmsFigures::Accept(ScanContext& context, std::uint32_t pi, std::uint32_t pif)
{
    maxPI = std::max(maxPI, pi);
    maxPIF = std::max(maxPIF, pif);
    if (firstSample) {
        piTotal = maxPI;
        pifTotal = maxPIF;
        piSquares = std::int64_t{maxPI} * maxPI;
        pifSquares = std::int64_t{maxPIF} * maxPIF;
        firstSample = false;
    }
    piAverage = RootMeanSquare(piSquares, n);
    pifAverage = RootMeanSquare(pifSquares, n);
    RaisePeak(context.state.m_nPIPeak, maxPI);
    RaisePeak(context.state.m_nPIFPeak, maxPIF);
}

void RmsFigures::ClosePoint()
{
    ++n;
    if (n > 1) {
        piSquares += std::int64_t{maxPI} * maxPI;
        pifSquares += std::int64_t{maxPIF} * maxPIF;
    }
    maxPI = 0;
    maxPIF = 0;
}

void ShowRmsFigures(ScanContext& context, const RmsFigures& figures)
{
    SetCountDisplays(context, static_cast<std::int32_t>(figures.piTotal), figures.piAverage,
                     static_cast<std::int32_t>(figures.pifTotal), figures.pifAverage);
    ShowDisplays(context);
    context.sink.ShowQualityRating(false);
}
