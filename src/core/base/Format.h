#pragma once

#include <cstdarg>
#include <string>

// printf-style formatting into a std::string, always in the C locale whatever
// the process locale is (Qt switches LC_NUMERIC to the user's locale).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, std::va_list args) __attribute__((format(printf, 1, 0)));

// Parses a whole decimal number (leading/trailing blanks allowed) in the C locale.
bool ParseLong(const std::string& text, long& value);
bool ParseDouble(const std::string& text, double& value);

// The leading number of a text as atoi/strtol and atof read it (blanks, sign,
// digits; what follows is ignored), in the C locale. A text without one gives
// 0; a value out of range is clamped.
long LeadingLong(const std::string& text, int base = 10);
double LeadingDouble(const std::string& text);
