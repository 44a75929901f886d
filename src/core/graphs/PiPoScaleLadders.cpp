#include "core/graphs/PiPoScaleLadders.h"

#include <cmath>

namespace {

constexpr int kSmallestLadderCode = 2;
constexpr int kLargestLadderCode = 10;
constexpr int kPIFOnlyCode = 11;
constexpr float kPIFOnlyFactor = 10.0f;

// Code 2 is 16 pixels per unit; every further code halves it.
float LadderFactor(int code)
{
    return std::ldexp(16.0f, -(code - kSmallestLadderCode));
}

// The factor times 10000, truncated, as the codes are matched; -1 when that
// does not fit an int (a factor read from a foreign file).
long FactorKey(float factor)
{
    const float scaled = factor * 10000.0f;
    if (!(scaled > -1.0f && scaled < 1.0e9f))
        return -1;
    return static_cast<long>(scaled);
}

}  // namespace

std::optional<float> PIScaleFactor(int code)
{
    if (code > kLargestLadderCode)
        return std::nullopt;
    return LadderFactor(code < kSmallestLadderCode ? kSmallestLadderCode : code);
}

std::optional<float> PIFScaleFactor(int code)
{
    if (code == kPIFOnlyCode)
        return kPIFOnlyFactor;
    return PIScaleFactor(code);
}

std::optional<float> SpeedScaleFactor(int band)
{
    if (band < 0 || band > 3)
        return std::nullopt;
    return std::ldexp(4.0f, -band);
}

std::optional<float> JitterScaleFactor(int code)
{
    static constexpr float kFactors[] = {4.0f, 1.6f, 0.8f, 0.4f, 0.2f};
    if (code > 6)
        return std::nullopt;
    return kFactors[code < 2 ? 0 : code - 2];
}

int PIScaleCode(float factor)
{
    const long key = FactorKey(factor);
    for (int code = kSmallestLadderCode; code <= kLargestLadderCode; ++code) {
        if (key == FactorKey(LadderFactor(code)))
            return code;
    }
    return 0;
}

int PIFScaleCode(float factor)
{
    if (FactorKey(factor) == FactorKey(kPIFOnlyFactor))
        return kPIFOnlyCode;
    return PIScaleCode(factor);
}

int JitterScaleCode(float factor)
{
    for (int code = 2; code <= 6; ++code) {
        if (factor == *JitterScaleFactor(code))
            return code;
    }
    return 0;
}
