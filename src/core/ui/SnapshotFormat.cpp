#include "core/ui/SnapshotFormat.h"

std::optional<SnapshotFormat> SnapshotFormatForPath(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot + 1 >= name.size())
        return std::nullopt;
    switch (name[dot + 1]) {
    case 'p':
    case 'P': return SnapshotFormat::Png;
    case 'j':
    case 'J': return SnapshotFormat::Jpeg;
    case 'b':
    case 'B': return SnapshotFormat::Bmp;
    case 'g':
    case 'G': return SnapshotFormat::Gif;
    default: return std::nullopt;
    }
}
