#include "core/graphs/WriteGraphSamples.h"

#include "core/base/Format.h"
#include "core/graphs/GraphFileText.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace {

// Percentages a line does not give.
constexpr double kMissingPercent = -1;

struct SampleFields {
    std::array<std::string_view, 5> field{};
    std::size_t count = 0;
};

SampleFields SplitSampleLine(std::string_view line)
{
    SampleFields fields;
    std::size_t start = 0;
    while (fields.count < fields.field.size()) {
        const std::size_t comma = line.find(',', start);
        fields.field[fields.count++] = line.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return fields;
}

bool EndsSampleLines(std::string_view text, std::size_t pos)
{
    return text.size() - pos <= 24 || text[pos] == '[' || text[pos + 1] == 'E';
}

// Calls onLine with each sample line of the section that begins at marker.
// Every line is tested before it is read, so an empty section gives none.
template <class OnLine>
bool ForEachSampleLine(std::string_view text, std::string_view marker, OnLine onLine)
{
    const std::size_t at = text.find(marker);
    if (at == std::string_view::npos)
        return false;
    std::size_t pos = SkipLineBreaks(text, LineEnd(text, at + marker.size()));
    while (pos < text.size() && !EndsSampleLines(text, pos)) {
        const std::size_t end = LineEnd(text, pos);
        onLine(SplitSampleLine(text.substr(pos, end - pos)));
        pos = SkipLineBreaks(text, end);
    }
    return true;
}

// The number a speed display shows: its text without the trailing 'x'.
double DisplayedSpeed(const std::string& display)
{
    return display.empty() ? 0 : LeadingDecimal(std::string_view(display).substr(0, display.size() - 1));
}

}  // namespace

bool ParseWriteSamples(std::string_view text, const RotationModel& rotation, std::vector<WriteGraphSample>& samples,
                       std::string& speedMax, std::string& speedEnd)
{
    double lastBuffer = kMissingPercent;
    double shownMax = DisplayedSpeed(speedMax);
    double lastSpeed = 0;
    double previousSpeed = 0;
    std::size_t read = 0;
    const bool found = ForEachSampleLine(text, kStartWriteMarker, [&](const SampleFields& fields) {
        const double speed = LeadingDecimal(fields.field[0]);
        const std::int64_t sector = LeadingInteger(fields.field[1]);
        double buffer = lastBuffer;
        double cpu = lastBuffer - 1;
        if (fields.count >= 4) {
            buffer = lastBuffer = LeadingDecimal(fields.field[3]);
            cpu = fields.count >= 5 ? LeadingDecimal(fields.field[4]) : kMissingPercent;
        }
        samples.push_back({TruncateToInt(speed * 100), ClampToInt(sector), TruncateToInt(rotation.Rpm(speed, sector)),
                           TruncateToInt(buffer * 100), TruncateToInt(cpu * 100)});
        if (shownMax < speed) {
            speedMax = Format("%.2fx", speed);
            shownMax = DisplayedSpeed(speedMax);
        }
        previousSpeed = read > 0 ? lastSpeed : speed;
        lastSpeed = speed;
        ++read;
    });
    if (read > 0) {
        const double endSpeed = std::max(previousSpeed, lastSpeed);
        if (DisplayedSpeed(speedEnd) < endSpeed)
            speedEnd = Format("%.2fx", endSpeed);
    }
    return found;
}

bool ParseVerifySamples(std::string_view text, const RotationModel& rotation, std::vector<VerifyGraphSample>& samples)
{
    return ForEachSampleLine(text, kStartVerifyMarker, [&](const SampleFields& fields) {
        const double speed = LeadingDecimal(fields.field[0]);
        const std::int64_t sector = LeadingInteger(fields.field[1]);
        const double cpu = fields.count >= 4 ? LeadingDecimal(fields.field[3]) : kMissingPercent;
        samples.push_back({TruncateToInt(speed * 100), ClampToInt(sector), TruncateToInt(rotation.Rpm(speed, sector)),
                           TruncateToInt(cpu * 100)});
    });
}
