#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The byte view of the output control: lines of 73 columns, an 8-digit
// offset, sixteen bytes in hex and the same bytes as characters.
constexpr int kHexDumpColumns = 73;
constexpr int kHexDumpBytesPerLine = 16;
extern const char* const kHexDumpHeader;
extern const char* const kHexDumpRule;

// One line from 16 bytes: "%08X", a blank, "%02X " for each byte, then each
// byte from 32 to 126 as itself and any other as ".". A line of fewer bytes
// (count) leaves the places of the missing ones blank.
std::string HexDumpLine(const std::uint8_t* bytes, std::uint32_t offset, int count = kHexDumpBytesPerLine);

// The byte a character position of the shown dump (header, rule, then lines
// of 73 columns and CR LF) stands on: none on the header, the rule, the
// offsets, the characters column or past the last of lineCount lines.
std::optional<int> HexDumpByteIndex(int position, int lineCount);
