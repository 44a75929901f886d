#pragma once

#include <string>

struct ScanDisplayTexts;

// Sub-scores and ratings of a scan, in percent. Arguments and results are
// single-precision; the arithmetic inside runs in double precision and each
// result is rounded to single precision. A sub-score above 100 becomes 100;
// none has a lower bound.
float CalcPIScore(float average, float peak);
float CalcPIFScore(float average, float peak);
// The mean of the PI and the PIF sub-score; may be negative.
float CalcQualityRating(float piAverage, float piPeak, float pifAverage, float pifPeak);

// The rating of what the scan window's displays show, and the caption that
// presents it ("Quality Rating 94.58%"). With jitter, the jitter average and
// peak displays (each clamped to 7 .. 20 %) enter as a third sub-score.
// Displays that read as all zero give 0 and the bare "Quality Rating". The
// compare window shows the same rating behind its own caption.
struct QualityRatingCaption {
    float rating = 0.0f;
    std::string caption;
};
QualityRatingCaption RateScanDisplays(const ScanDisplayTexts& displays, bool withJitter,
                                      const std::string& caption = "Quality Rating");

// The one rule of every rating of a scan, live, after a slot switch, after a
// load and in the compare window: the jitter counts when the displays hold
// it, its average and peak both read as numbers above 0, whatever the view
// (the PO view's drive measures jitter too; the Pioneer view's jitter
// displays hold positions, its average none).
bool RatingCountsJitter(const ScanDisplayTexts& displays);
QualityRatingCaption RateScan(const ScanDisplayTexts& displays, const std::string& caption = "Quality Rating");
