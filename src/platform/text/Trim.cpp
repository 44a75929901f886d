#include "platform/text/Trim.h"

std::string TrimText(const std::string& text, const char* blanks)
{
    const auto begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return std::string();
    const auto end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

std::string WithoutTrailingBlanks(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
