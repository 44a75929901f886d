#include "core/graphs/PiPoBands.h"

#include <algorithm>

namespace {

constexpr COLORREF kYellow = RGB(0xFF, 0xFF, 0);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);

// Band k of width w holds the values above w(k-1) up to wk; the first band
// also takes everything below it and the last everything above.
int BandOf(int value, int width, int bands)
{
    if (value <= width)
        return 1;
    if (value > width * (bands - 1))
        return bands;
    return (value + width - 1) / width;
}

}  // namespace

int UpperBand(int value)
{
    return BandOf(value, 8, 32);
}

COLORREF UpperBandColor(int band)
{
    band = std::clamp(band, 1, 32);
    if (band <= 14)
        return RGB(0x10u * unsigned(band - 1), 0xFF, 0);
    if (band == 15)
        return RGB(0xF0, 0xFF, 0);
    if (band <= 17)
        return kYellow;
    if (band == 18)
        return RGB(0xFF, 0xF0, 0);
    if (band <= 31)
        return RGB(0xFF, 0xD0u - 0x10u * unsigned(band - 19), 0);
    return kRed;
}

int LowerBand(int value)
{
    return BandOf(value, 2, 17);
}

COLORREF LowerBandColor(int band)
{
    band = std::clamp(band, 1, 17);
    if (band <= 8)
        return RGB(0x20u * unsigned(band - 1), 0xFF, 0);
    if (band == 9)
        return kYellow;
    if (band <= 16)
        return RGB(0xFF, 0xE0u - 0x20u * unsigned(band - 10), 0);
    return kRed;
}
