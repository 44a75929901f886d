#include "core/pipo/QualityRating.h"

#include "core/base/Format.h"
#include "core/pipo/JitterRating.h"
#include "core/pipo/ScanDisplays.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr float kTopScore = 100.0f;

float CapScore(double score)
{
    return std::min(static_cast<float>(score), kTopScore);
}

// A display's whole number as the rating reads it: its leading digits as an
// unsigned 32-bit value.
float DisplayCount(const std::string& text)
{
    const long value = LeadingLong(text);
    return static_cast<float>(std::clamp<long>(value, 0, UINT32_MAX));
}

// A jitter display ("8.4%") as a percentage; no number reads as 0.
float DisplayJitter(const std::string& text)
{
    const double value = LeadingDouble(text);
    return std::isfinite(value) ? static_cast<float>(std::clamp(value, -1.0e6, 1.0e6)) : 0.0f;
}

}  // namespace

float CalcPIScore(float average, float peak)
{
    const double a = average;
    const double w = a - (a - peak) / 1.5;
    const double base = 100.0 - a * ((a / 10.0 - 2.5) * (a / 1000.0) + 10.0) / 100.0;
    // Both powers in single precision, as the score has always been computed.
    const double rise = std::pow(static_cast<float>(w - 10.0), 9.0f);
    const double scale = std::pow(static_cast<float>(w + 20.0), 9.0f);
    const double penalty = rise * (800000.0 / (w + 4500.0)) / (1.6 * scale + 1.0);
    return CapScore(base - penalty);
}

float CalcPIFScore(float average, float peak)
{
    const double a = average;
    return CapScore(100.0 - (a - (a - peak) * 0.5) - 4.0 * a);
}

float CalcQualityRating(float piAverage, float piPeak, float pifAverage, float pifPeak)
{
    const double pi = CalcPIScore(piAverage, piPeak);
    const double pif = CalcPIFScore(pifAverage, pifPeak);
    return static_cast<float>((pi + pif) * 0.5);
}

bool RatingCountsJitter(const ScanDisplayTexts& displays)
{
    const auto measured = [](const std::string& text) {
        const double value = LeadingDouble(text);
        return std::isfinite(value) && value > 0.0;
    };
    return measured(displays.jitterAvg) && measured(displays.jitterPeak);
}

QualityRatingCaption RateScan(const ScanDisplayTexts& displays, const std::string& caption)
{
    return RateScanDisplays(displays, RatingCountsJitter(displays), caption);
}

QualityRatingCaption RateScanDisplays(const ScanDisplayTexts& displays, bool withJitter, const std::string& caption)
{
    const float piAverage = DisplayCount(displays.piAvg);
    const float piPeak = DisplayCount(displays.piPeak);
    const float pifAverage = DisplayCount(displays.pifAvg);
    const float pifPeak = DisplayCount(displays.pifPeak);
    float jitterAverage = withJitter ? DisplayJitter(displays.jitterAvg) : 0.0f;
    float jitterPeak = withJitter ? DisplayJitter(displays.jitterPeak) : 0.0f;

    if (piAverage == 0 && piPeak == 0 && pifAverage == 0 && pifPeak == 0 && jitterAverage == 0 && jitterPeak == 0)
        return {0.0f, caption};

    float rating = 0.0f;
    if (withJitter) {
        jitterAverage = ClampRatedJitter(jitterAverage);
        jitterPeak = ClampRatedJitter(jitterPeak);
        rating = CalcQualityRatingWithJitter(piAverage, piPeak, pifAverage, pifPeak, jitterAverage, jitterPeak);
    } else {
        rating = CalcQualityRating(piAverage, piPeak, pifAverage, pifPeak);
    }
    rating = std::max(rating, 0.0f);
    return {rating, Format("%s %.2f%%", caption.c_str(), static_cast<double>(rating))};
}
