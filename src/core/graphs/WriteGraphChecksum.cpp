#include "core/graphs/WriteGraphChecksum.h"

#include "core/base/Format.h"
#include "core/graphs/Crc32.h"
#include "core/graphs/GraphFileText.h"
#include "core/graphs/WriteGraph.h"

#include <cstdint>

namespace {

constexpr std::size_t kChecksumLength = 16;

std::uint32_t SumOfLineCrcs(std::string_view text)
{
    std::uint32_t sum = 0;
    std::size_t pos = SkipLineBreaks(text, 0);
    while (pos < text.size()) {
        const std::size_t end = LineEnd(text, pos);
        sum += Crc32(text.substr(pos, end - pos));
        pos = SkipLineBreaks(text, end);
    }
    return sum;
}

char HexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xFu];
}

}  // namespace

std::size_t ChecksumEnd(std::string_view text)
{
    std::size_t at = text.find(kEndVerifyMarker);
    if (at != std::string_view::npos)
        return at + kEndVerifyMarker.size();
    at = text.find(kEndWriteMarker);
    if (at != std::string_view::npos)
        return at + kEndWriteMarker.size();
    return std::string_view::npos;
}

std::string VerifyChecksum(std::string_view text)
{
    const std::size_t end = ChecksumEnd(text);
    const std::string digits = Format("%08X", SumOfLineCrcs(text.substr(0, end)));
    std::string checksum;
    checksum.reserve(kChecksumLength);
    for (char digit : digits) {
        checksum += digit;
        checksum += HexDigit(15u - HexDigitValue(std::string_view(&digit, 1)));
    }
    return checksum;
}

std::string StoredChecksum(std::string_view text)
{
    const std::size_t end = ChecksumEnd(text);
    if (end == std::string_view::npos)
        return std::string();
    const std::size_t start = end + 2;  // past the marker line's CR LF
    if (start >= text.size() || text.size() - start <= kChecksumLength)
        return std::string();
    return std::string(text.substr(start, kChecksumLength));
}

std::size_t AfterChecksumLine(std::string_view text)
{
    const std::size_t end = ChecksumEnd(text);
    if (end == std::string_view::npos)
        return std::string_view::npos;
    const std::size_t checksumLine = SkipLineBreaks(text, LineEnd(text, end));
    return SkipLineBreaks(text, LineEnd(text, checksumLine));
}

unsigned HexDigitValue(std::string_view text)
{
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    unsigned value = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            value = value * 16 + static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            value = value * 16 + static_cast<unsigned>(c - 'a' + 10);
        else
            break;
    }
    return value;
}
