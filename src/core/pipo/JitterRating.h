#pragma once

// The jitter sub-score and the three-part quality rating, in percent, in the
// same single/double precision as the PI and PIF sub-scores.
// 100 - ((average - 8) x 6 + (peak - 8) x 2.5), capped at 100, no lower bound.
float CalcJitterScore(float average, float peak);
// The mean of the PI, PIF and jitter sub-scores; may be negative.
float CalcQualityRatingWithJitter(float piAverage, float piPeak, float pifAverage, float pifPeak, float jitterAverage,
                                  float jitterPeak);

// Jitter figures enter a rating clamped to 7 .. 20 %.
float ClampRatedJitter(float jitter);
