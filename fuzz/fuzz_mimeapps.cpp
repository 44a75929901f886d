// Fuzz target of the mimeapps.list reader and editor: every input reads;
// setting two types' default leaves them naming our id, changes no other line
// of any group, and setting it again changes nothing.

#include "FuzzCheck.h"
#include "platform/desktop/MimeAppsList.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> types{"application/x-a", "application/x-b"};
    const std::string other = "text/plain";
    const auto otherBefore = DefaultApplicationIn(text, other);

    const std::string edited = WithDefaultApplication(text, types, "q.desktop");
    for (const std::string& type : types)
        Check(DefaultApplicationIn(edited, type) == std::optional<std::string>("q.desktop"));
    Check(DefaultApplicationIn(edited, other) == otherBefore);
    Check(edited.size() >= text.size() || text.find("application/x-") != std::string_view::npos);
    Check(WithDefaultApplication(edited, types, "q.desktop") == edited);
    return 0;
}
