// Fuzz target of the settings file reader: every input reads, its unreadable
// lines named up to the limit and counted; what was read writes a text that
// reads back whole to the same settings.

#include "FuzzCheck.h"
#include "platform/profile/IniStore.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ParsedIni parsed = ParseIniText(bytes);
    const std::size_t named = std::min(parsed.unreadCount, ParsedIni::kMaxNamedLines);
    Check(parsed.unreadLines.size() == named + (parsed.unreadCount > named ? 1 : 0));

    const std::string written = SerialiseIni(parsed.sections);
    const ParsedIni again = ParseIniText(written);
    Check(again.unreadCount == 0);
    Check(again.sections.size() == parsed.sections.size());
    Check(SerialiseIni(again.sections) == written);
    for (const auto& [name, section] : parsed.sections) {
        for (const auto& [key, value] : section)
            Check(again.sections.at(name).at(key) == value);
    }
    return 0;
}
