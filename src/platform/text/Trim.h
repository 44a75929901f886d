#pragma once

#include <string>

// The text without the given characters at either end.
std::string TrimText(const std::string& text, const char* blanks = " \t");

// The text without the spaces at its end (a padded display line).
std::string WithoutTrailingBlanks(std::string text);
