#include "core/pipo/ScanLbaRange.h"

#include "core/base/Format.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kSectorsPerMegabyte = 512;
constexpr std::int64_t kMaxMegabytes = 0x7FFFFF;
constexpr std::size_t kMaxDigits = 10;  // a 32-bit LBA in decimal

std::string Megabytes(std::int64_t lba)
{
    return Format("%04lld", static_cast<long long>(lba / kSectorsPerMegabyte));
}

bool AllDigits(const std::string& text, int base)
{
    for (const char c : text)
        if (base == 16 ? !std::isxdigit(static_cast<unsigned char>(c)) : !std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::optional<std::int64_t> Parse(const std::string& text, int base)
{
    if (text.empty() || text.size() > kMaxDigits || !AllDigits(text, base))
        return std::nullopt;
    return static_cast<std::int64_t>(std::stoll(text, nullptr, base));
}

}  // namespace

ScanLbaRange::ScanLbaRange(std::int32_t lowest, std::int32_t highest) : m_lowest(lowest), m_highest(highest)
{
    SetDefaults();
}

void ScanLbaRange::SetDefaults()
{
    startText = InBase(m_lowest);
    endText = InBase(m_highest);
    const std::int64_t a = static_cast<std::int64_t>(m_lowest) + 1;
    const std::int64_t b = static_cast<std::int64_t>(m_highest) + 1;
    startMegabytes = Megabytes(a);
    endMegabytes = Megabytes(b);
    startSlider = static_cast<std::int32_t>(a / kSectorsPerMegabyte * kSectorsPerMegabyte);
    endSlider = static_cast<std::int32_t>(b / kSectorsPerMegabyte * kSectorsPerMegabyte);
}

void ScanLbaRange::SetBase(Base base)
{
    if (base == m_base)
        return;
    const int from = m_base == Hexadecimal ? 16 : 10;
    m_base = base;
    for (std::string* text : {&startText, &endText})
        if (const auto value = Parse(*text, from))
            *text = InBase(*value);
}

std::string ScanLbaRange::InBase(std::int64_t value) const
{
    return m_base == Hexadecimal ? Format("%llX", static_cast<unsigned long long>(value))
                                 : Format("%lld", static_cast<long long>(value));
}

std::optional<std::int64_t> ScanLbaRange::ValueOf(const std::string& text) const
{
    return Parse(text, m_base == Hexadecimal ? 16 : 10);
}

std::optional<std::string> ScanLbaRange::Clean(std::string& text) const
{
    std::string kept;
    bool refused = false;
    for (char c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const bool valid = m_base == Hexadecimal ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                                 : std::isdigit(static_cast<unsigned char>(c)) != 0;
        if (valid && kept.size() < kMaxDigits)
            kept += c;
        else
            refused = true;
    }
    text = kept;
    if (!refused)
        return std::nullopt;
    return std::string(m_base == Decimal ? kLbaDecimalOnly : kLbaHexOnly);
}

std::optional<std::string> ScanLbaRange::OnStartTextChanged(const std::string& text)
{
    startText = text;
    auto message = Clean(startText);
    if (const auto value = ValueOf(startText)) {
        startSlider = static_cast<std::int32_t>(std::min<std::int64_t>(*value, StartSliderMax()));
        startMegabytes = Megabytes(*value);
    }
    return message;
}

std::optional<std::string> ScanLbaRange::OnEndTextChanged(const std::string& text)
{
    endText = text;
    auto message = Clean(endText);
    if (message)
        return message;
    if (const auto value = ValueOf(endText)) {
        if (*value > m_highest) {
            SetDefaults();
            return std::string(kLbaBeyondEnd);
        }
        endSlider = static_cast<std::int32_t>(*value);
        endMegabytes = Megabytes(*value);
    }
    return std::nullopt;
}

std::optional<std::string> ScanLbaRange::OnStartMegabytesChanged(const std::string& text)
{
    startMegabytes = text;
    const auto s = Parse(startMegabytes, 10);
    const auto e = Parse(endMegabytes, 10);
    if (!s || !e)
        return std::nullopt;
    startSlider = static_cast<std::int32_t>(std::min<std::int64_t>(*s * kSectorsPerMegabyte, StartSliderMax()));
    startText = InBase(*s * kSectorsPerMegabyte);
    return std::nullopt;
}

std::optional<std::string> ScanLbaRange::OnEndMegabytesChanged(const std::string& text)
{
    endMegabytes = text;
    const auto e = Parse(endMegabytes, 10);
    if (!e)
        return std::nullopt;
    if (*e > kMaxMegabytes || *e * kSectorsPerMegabyte > m_highest) {
        SetDefaults();
        return std::string(kLbaEndBeyondEnd);
    }
    endSlider = static_cast<std::int32_t>(*e * kSectorsPerMegabyte);
    endText = InBase(*e * kSectorsPerMegabyte);
    return std::nullopt;
}

void ScanLbaRange::OnStartSlider(std::int32_t position)
{
    if (position < endSlider) {
        startSlider = position;
        startText = InBase(position);
        startMegabytes = Megabytes(position);
    } else {
        startSlider = endSlider - 1;
    }
}

void ScanLbaRange::OnEndSlider(std::int32_t position)
{
    if (startSlider < position) {
        endSlider = position;
        endText = InBase(position);
        endMegabytes = Megabytes(position);
    } else {
        endSlider = startSlider + 1;
    }
}

std::optional<ScanLbaRange::Accepted> ScanLbaRange::Accept(std::string& message) const
{
    const auto start = ValueOf(startText);
    const auto end = ValueOf(endText);
    if (!start || !end) {
        message = kLbaMissing;
        return std::nullopt;
    }
    if (*end > m_highest) {
        message = kLbaBeyondEnd;
        return std::nullopt;
    }
    if (*start > *end) {
        message = kLbaStartAboveEnd;
        return std::nullopt;
    }
    message.clear();
    return Accepted{Format("%llX", static_cast<unsigned long long>(*start)),
                    Format("%llX", static_cast<unsigned long long>(*end)), *start, *end};
}
