#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text helpers for the write-graph files: numbers as the C library's
// atof/atol read them (always in the C locale), key lookup and line stepping.

// The leading decimal number of text (blanks skipped); 0 when there is none.
double LeadingDecimal(std::string_view text);
// The leading whole number of text (blanks skipped); saturates at the int64 range.
std::int64_t LeadingInteger(std::string_view text);
// Truncates toward zero; values beyond the int range saturate, NaN gives 0.
int TruncateToInt(double value);
int ClampToInt(std::int64_t value);

// The value of key: from the first '=' after the key's first occurrence
// anywhere in the text to the next CR or LF, each blank that is followed by
// another blank dropped. Empty optional when the key or the '=' is missing.
std::optional<std::string> FindKeyValue(std::string_view text, std::string_view key);

inline bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}
// Position of the next CR or LF at or after pos (the text's size when none).
std::size_t LineEnd(std::string_view text, std::size_t pos);
// Position after the run of CR and LF that starts at pos.
std::size_t SkipLineBreaks(std::string_view text, std::size_t pos);
