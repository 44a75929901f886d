#include "core/graphs/GraphFileText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <stdlib.h>

namespace {

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t SkipSpaces(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsCSpace(text[pos]))
        ++pos;
    return pos;
}

// from_chars refuses out-of-range numbers; the C library saturates them to
// HUGE_VAL or 0, so the rare out-of-range text goes through strtod.
double StrtodInCLocale(std::string_view number)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string copy(number);
    return strtod_l(copy.c_str(), nullptr, cLocale);
}

}  // namespace

double LeadingDecimal(std::string_view text)
{
    std::size_t pos = SkipSpaces(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // from_chars would take a second sign; the C library does not.
    if (pos >= text.size() || text[pos] == '-' || text[pos] == '+')
        return 0;
    const char* first = text.data() + pos;
    double value = 0;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        value = StrtodInCLocale(std::string_view(first, static_cast<std::size_t>(end - first)));
    else if (error != std::errc())
        return 0;
    return negative ? -value : value;
}

std::int64_t LeadingInteger(std::string_view text)
{
    std::size_t pos = SkipSpaces(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        const int digit = text[pos] - '0';
        if (value > (kMax - digit) / 10) {
            value = kMax;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

int ClampToInt(std::int64_t value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

std::optional<std::string> FindKeyValue(std::string_view text, std::string_view key)
{
    const std::size_t at = text.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::size_t equals = text.find('=', at + key.size());
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::size_t end = LineEnd(text, equals + 1);
    std::string value;
    value.reserve(end - equals - 1);
    for (std::size_t i = equals + 1; i < end; ++i) {
        if (text[i] == ' ' && i + 1 < end && text[i + 1] == ' ')
            continue;
        value += text[i];
    }
    return value;
}

std::size_t LineEnd(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && !IsLineBreak(text[pos]))
        ++pos;
    return pos;
}

std::size_t SkipLineBreaks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsLineBreak(text[pos]))
        ++pos;
    return pos;
}
