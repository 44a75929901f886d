#include "core/base/HexDump.h"

#include "core/base/Format.h"

namespace {
constexpr int kShownLineLength = kHexDumpColumns + 2;  // CR LF
constexpr int kHeaderLength = 2 * kShownLineLength;  // header and rule
constexpr int kOffsetColumns = 9;
// The sixteen byte columns of three characters; the blank after the last byte is none of them.
constexpr int kLastByteColumn = 3 * kHexDumpBytesPerLine - 2;
}  // namespace

const char* const kHexDumpHeader = "Address| 0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F  |Byte           ";
const char* const kHexDumpRule = "-------------------------------------------------------------------------";

std::string HexDumpLine(const std::uint8_t* bytes, std::uint32_t offset, int count)
{
    std::string line = Format("%08X ", offset);
    for (int i = 0; i < kHexDumpBytesPerLine; ++i)
        line += i < count ? Format("%02X ", bytes[i]) : std::string("   ");
    for (int i = 0; i < kHexDumpBytesPerLine; ++i) {
        if (i >= count)
            line += ' ';
        else
            line += bytes[i] >= 32 && bytes[i] <= 126 ? static_cast<char>(bytes[i]) : '.';
    }
    return line;
}

std::optional<int> HexDumpByteIndex(int position, int lineCount)
{
    if (position < kHeaderLength)
        return std::nullopt;
    const int place = position - kHeaderLength;
    const int row = place / kShownLineLength;
    const int column = place % kShownLineLength - kOffsetColumns;
    if (row >= lineCount || column < 0 || column > kLastByteColumn)
        return std::nullopt;
    return row * kHexDumpBytesPerLine + column / 3;
}
