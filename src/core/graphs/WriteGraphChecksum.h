#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The checksum of a write-graph file covers its lines up to and including the
// end marker of its last section: the verify section's, else the write
// section's. The line after that marker holds the checksum as 16 characters.

// Position just after the ']' of that end marker; npos when there is none.
std::size_t ChecksumEnd(std::string_view text);

// The 16-character checksum text: the CRC-32 of every non-empty line (runs of
// CR and LF are one break) up to ChecksumEnd, or the whole text without an end
// marker, summed in 32 bits; each of its eight hexadecimal digits followed by
// the digit of 15 minus its value.
std::string VerifyChecksum(std::string_view text);

// The stored checksum: the 16 characters that begin after the end marker and
// its CR LF. Empty without an end marker, or when 16 or fewer characters
// remain from there.
std::string StoredChecksum(std::string_view text);

// Position where a line may begin after the checksum line (saved comments go
// there); npos when the text has no end marker.
std::size_t AfterChecksumLine(std::string_view text);

// Value of a hexadecimal digit string ("0X" prefix allowed, case ignored);
// stops at the first character that is not a digit.
unsigned HexDigitValue(std::string_view text);
