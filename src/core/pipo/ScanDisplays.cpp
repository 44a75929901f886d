#include "core/pipo/ScanDisplays.h"

#include "core/app/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t kNoJitterAbove = 1000; // 100.0 %
const char kNoJitterText[] = "---";

std::int32_t CountFromText(const std::string& text)
{
    const long value = LeadingLong(text);
    return static_cast<std::int32_t>(std::clamp<long>(value, std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max()));
}

// Read as a single-precision percentage, then rounded to tenths: truncating
// would turn 8.2 (8.19999...) into 8.1.
std::int32_t JitterTenthsFromText(const std::string& text)
{
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    const float percent = static_cast<float>(std::clamp(LeadingDouble(text), -kFloatMax, kFloatMax));
    const double tenths = std::round(static_cast<double>(percent) * 10.0);
    if (std::isnan(tenths))
        return 0;
    return static_cast<std::int32_t>(std::clamp<double>(tenths, std::numeric_limits<std::int32_t>::min(),
                                                        std::numeric_limits<std::int32_t>::max()));
}

std::string CountText(std::int32_t value)
{
    return Format("%d", value);
}

std::string JitterText(std::int32_t tenths)
{
    if (tenths > kNoJitterAbove || tenths < 1)
        return kNoJitterText;
    return Format("%.1f%%", tenths / 10.0);
}

} // namespace

ScanDisplayValues DisplayValuesFromTexts(const ScanDisplayTexts& texts)
{
    ScanDisplayValues values;
    values.piPeak = CountFromText(texts.piPeak);
    values.pifAvg = CountFromText(texts.pifAvg);
    values.pifPeak = CountFromText(texts.pifPeak);
    values.pofTotal = CountFromText(texts.pofTotal);
    values.pifTotal = CountFromText(texts.pifTotal);
    values.jitterPeak = JitterTenthsFromText(texts.jitterPeak);
    values.jitterAvg = JitterTenthsFromText(texts.jitterAvg);
    values.jitterInst = JitterTenthsFromText(texts.jitterInst);
    values.piTotal = CountFromText(texts.piTotal);
    values.piAvg = CountFromText(texts.piAvg);
    return values;
}

ScanDisplayTexts DisplayTextsFromValues(const ScanDisplayValues& values)
{
    ScanDisplayTexts texts;
    texts.piPeak = CountText(values.piPeak);
    texts.pifAvg = CountText(values.pifAvg);
    texts.pifPeak = CountText(values.pifPeak);
    texts.pofTotal = CountText(values.pofTotal);
    texts.pifTotal = CountText(values.pifTotal);
    texts.jitterPeak = JitterText(values.jitterPeak);
    texts.jitterAvg = JitterText(values.jitterAvg);
    texts.jitterInst = JitterText(values.jitterInst);
    texts.piTotal = CountText(values.piTotal);
    texts.piAvg = CountText(values.piAvg);
    if (texts.jitterAvg == kNoJitterText && texts.jitterPeak == kNoJitterText)
        texts.jitterInst = kNoJitterText;
    return texts;
}
