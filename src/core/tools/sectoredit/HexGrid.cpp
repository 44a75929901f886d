#include "core/tools/sectoredit/HexGrid.h"

#include "core/base/Format.h"

#include <algorithm>

namespace {

std::string Fitted(std::string line)
{
    line.resize(kHexLineWidth, ' ');
    return line;
}

}  // namespace

std::vector<std::string> FormatHexLines(const std::uint8_t* buffer, std::size_t size, std::size_t lines)
{
    lines = std::min(lines, size / 16);
    std::vector<std::string> text;
    text.reserve(lines);
    for (std::size_t line = 0; line < lines; ++line) {
        const std::uint8_t* row = buffer + line * 16;
        std::string out = Format("%08X ", static_cast<unsigned>(line * 16));
        for (int i = 0; i < 16; ++i)
            out += Format("%02X ", row[i]);
        for (int i = 0; i < 16; ++i)
            out += row[i] < 32 || row[i] > 126 ? '.' : static_cast<char>(row[i]);
        text.push_back(Fitted(std::move(out)));
    }
    return text;
}

std::string HexGridText(const std::vector<std::string>& lines)
{
    std::string text;
    text.reserve((lines.size() + kHexHeaderLines) * (kHexLineWidth + 1));
    text += Fitted("Address| 0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F  |Byte") + "\n";
    text += std::string(kHexLineWidth, '-') + "\n";
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::optional<std::size_t> HexGridByteAt(int line, int column, std::size_t bufferSize)
{
    const int row = line - kHexHeaderLines;
    const int place = column - kHexFirstByteColumn;
    if (row < 0 || place < 0 || place > 46)
        return std::nullopt;
    const std::size_t byte = static_cast<std::size_t>(row) * 16 + static_cast<std::size_t>(place / 3);
    if (byte >= bufferSize)
        return std::nullopt;
    return byte;
}
