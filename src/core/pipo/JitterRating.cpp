#include "core/pipo/JitterRating.h"

#include "core/pipo/QualityRating.h"

#include <algorithm>

float CalcJitterScore(float average, float peak)
{
    const double score = 100.0 - ((average - 8.0) * 6.0 + (peak - 8.0) * 2.5);
    return std::min(static_cast<float>(score), 100.0f);
}

float CalcQualityRatingWithJitter(float piAverage, float piPeak, float pifAverage, float pifPeak, float jitterAverage,
                                  float jitterPeak)
{
    const double pi = CalcPIScore(piAverage, piPeak);
    const double pif = CalcPIFScore(pifAverage, pifPeak);
    const double jitter = CalcJitterScore(jitterAverage, jitterPeak);
    return static_cast<float>((pi + pif + jitter) / 3.0);
}

float ClampRatedJitter(float jitter)
{
    return std::clamp(jitter, 7.0f, 20.0f);
}
