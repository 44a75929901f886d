#include "platform/files/AttributeFiles.h"

#include "platform/files/SafeFile.h"
#include "platform/text/Trim.h"

#include <algorithm>
#include <cctype>
#include <charconv>

std::string ReadAttribute(const std::string& path)
{
    std::string text;
    if (!ReadWholeFile(path, text))
        return std::string();
    return TrimText(text, " \t\r\n");
}

namespace {

template <typename Number>
std::optional<Number> ParseWhole(const std::string& text, int base)
{
    Number value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint64_t> ReadAttributeNumber(const std::string& path)
{
    return ParseWhole<std::uint64_t>(ReadAttribute(path), 10);
}

std::optional<std::uint32_t> ReadAttributeHex(const std::string& path)
{
    std::string text = ReadAttribute(path);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.erase(0, 2);
    return ParseWhole<std::uint32_t>(text, 16);
}
