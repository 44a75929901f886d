#include "core/pipo/ScanDisplays.h"

#include "core/base/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t kNoJitterAbove = 1000;  // 100.0 %
const char kNoJitterText[] = "---";

std::int32_t CountFromText(const std::string& text)
{
    const long value = LeadingLong(text);
    return static_cast<std::int32_t>(
        std::clamp<long>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
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
    return static_cast<std::int32_t>(
        std::clamp<double>(tenths, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
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

// Each display with the figure it stands for.
struct DisplayField {
    std::string ScanDisplayTexts::*text;
    std::int32_t ScanDisplayValues::*value;
    bool jitter;
};
constexpr DisplayField kDisplayFields[] = {
    {&ScanDisplayTexts::piTotal, &ScanDisplayValues::piTotal, false},
    {&ScanDisplayTexts::piAvg, &ScanDisplayValues::piAvg, false},
    {&ScanDisplayTexts::piPeak, &ScanDisplayValues::piPeak, false},
    {&ScanDisplayTexts::pifTotal, &ScanDisplayValues::pifTotal, false},
    {&ScanDisplayTexts::pifAvg, &ScanDisplayValues::pifAvg, false},
    {&ScanDisplayTexts::pifPeak, &ScanDisplayValues::pifPeak, false},
    {&ScanDisplayTexts::pofTotal, &ScanDisplayValues::pofTotal, false},
    {&ScanDisplayTexts::jitterInst, &ScanDisplayValues::jitterInst, true},
    {&ScanDisplayTexts::jitterAvg, &ScanDisplayValues::jitterAvg, true},
    {&ScanDisplayTexts::jitterPeak, &ScanDisplayValues::jitterPeak, true},
};

}  // namespace

ScanDisplayValues DisplayValuesFromTexts(const ScanDisplayTexts& texts)
{
    ScanDisplayValues values;
    for (const DisplayField& field : kDisplayFields) {
        const std::string& text = texts.*field.text;
        values.*field.value = field.jitter ? JitterTenthsFromText(text) : CountFromText(text);
    }
    return values;
}

ScanDisplayTexts DisplayTextsFromValues(const ScanDisplayValues& values)
{
    ScanDisplayTexts texts;
    for (const DisplayField& field : kDisplayFields) {
        const std::int32_t value = values.*field.value;
        texts.*field.text = field.jitter ? JitterText(value) : CountText(value);
    }
    if (texts.jitterAvg == kNoJitterText && texts.jitterPeak == kNoJitterText)
        texts.jitterInst = kNoJitterText;
    return texts;
}
