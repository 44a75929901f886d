#include "core/ui/SnapshotFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace {

struct Extension {
    const char* text;
    SnapshotFormat format;
};

constexpr std::array kExtensions = {
    Extension{"png", SnapshotFormat::Png},   Extension{"jpg", SnapshotFormat::Jpeg},
    Extension{"jpeg", SnapshotFormat::Jpeg}, Extension{"bmp", SnapshotFormat::Bmp},
    Extension{"gif", SnapshotFormat::Gif},
};

}  // namespace

std::optional<SnapshotFormat> SnapshotFormatForPath(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Extension& known : kExtensions) {
        if (extension == known.text)
            return known.format;
    }
    return std::nullopt;
}
