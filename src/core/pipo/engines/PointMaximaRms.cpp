#include "core/pipo/engines/PointMaximaRms.h"

#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/ScanLoop.h"

#include <algorithm>

void PointMaximaRms::Accept(ScanContext& context, std::uint32_t pi, std::uint32_t pif)
{
    maxPI = std::max(maxPI, pi);
    maxPIF = std::max(maxPIF, pif);
    if (firstSample) {
        piTotal = maxPI;
        pifTotal = maxPIF;
        piSquares.Start(maxPI);
        pifSquares.Start(maxPIF);
        firstSample = false;
    }
    piAverage = static_cast<std::int32_t>(piSquares.Root(n));
    pifAverage = static_cast<std::int32_t>(pifSquares.Root(n));
    RaisePeak(context.state.m_nPIPeak, maxPI);
    RaisePeak(context.state.m_nPIFPeak, maxPIF);
}

void PointMaximaRms::ClosePoint()
{
    ++n;
    if (n > 1) {
        piSquares.Add(maxPI);
        pifSquares.Add(maxPIF);
    }
    maxPI = 0;
    maxPIF = 0;
}

void ShowRmsFigures(ScanContext& context, const PointMaximaRms& figures)
{
    SetCountDisplays(context, static_cast<std::int32_t>(figures.piTotal), figures.piAverage,
                     static_cast<std::int32_t>(figures.pifTotal), figures.pifAverage);
    ShowDisplays(context);
    context.sink.ShowQualityRating();
}
