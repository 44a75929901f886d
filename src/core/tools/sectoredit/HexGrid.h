#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The sector editor's hex grid: a header, a rule, then a line of 16 bytes
// each ("%08X " offset, "%02X " bytes, the bytes as characters with '.' for
// those below 32 or above 126), every line 73 characters.
constexpr std::size_t kHexLineWidth = 73;
constexpr int kHexHeaderLines = 2;
constexpr int kHexFirstByteColumn = 9;

// The lines of the first `lines` rows of 16 bytes of the buffer (no more
// than it holds).
std::vector<std::string> FormatHexLines(const std::uint8_t* buffer, std::size_t size, std::size_t lines);
// The grid's whole text: the header, the rule and the lines, one a line.
std::string HexGridText(const std::vector<std::string>& lines);

// The byte under a place of the grid (line from the top, column from the
// left), when it is one of a row's hex pairs and inside the buffer.
std::optional<std::size_t> HexGridByteAt(int line, int column, std::size_t bufferSize);
