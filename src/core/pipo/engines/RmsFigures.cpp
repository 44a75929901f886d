#include "core/pipo/engines/RmsFigures.h"

#include "core/app/Format.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanSink.h"

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
    ScanDisplayTexts& texts = context.displays;
    texts.piTotal = Format("%d", static_cast<std::int32_t>(figures.piTotal));
    texts.piAvg = Format("%d", figures.piAverage);
    texts.piPeak = Format("%d", context.state.m_nPIPeak.load());
    texts.pifTotal = Format("%d", static_cast<std::int32_t>(figures.pifTotal));
    texts.pifAvg = Format("%d", figures.pifAverage);
    texts.pifPeak = Format("%d", context.state.m_nPIFPeak.load());
    context.sink.SetDisplays(texts);
    context.sink.ShowQualityRating(false);
}
