#pragma once

#include <cstddef>
#include <string>

// The first maxCharacters characters of a UTF-8 text; never cuts a
// character in two.
std::string CutToCharacters(const std::string& text, std::size_t maxCharacters);
