#pragma once

#include "core/pipo/engines/ScanFigures.h"

#include <cstdint>

class ScanContext;

// The figures of the engines that show root-mean-square averages of their
// points' maxima (BTC, NEC, iHAS): each accepted reading raises the interval
// maxima, a graph point adds their squares, and the averages are the root of
// the mean square.
struct PointMaximaRms {
    std::uint32_t maxPI = 0;  // of the interval
    std::uint32_t maxPIF = 0;
    std::uint32_t piTotal = 0;
    std::uint32_t pifTotal = 0;
    RmsSum piSquares;
    RmsSum pifSquares;
    std::int64_t n = 1;
    bool firstSample = true;
    std::int32_t piAverage = 0;
    std::int32_t pifAverage = 0;

    // An accepted reading: the maxima (the first one also starts the totals
    // and the squares), the averages and the scan's peaks.
    void Accept(ScanContext& context, std::uint32_t pi, std::uint32_t pif);
    // A graph point was drawn: its maxima join the squares.
    void ClosePoint();
};

// The six count displays ("%d") with the scan's peaks, then the rating.
void ShowRmsFigures(ScanContext& context, const PointMaximaRms& figures);
