#pragma once

#include <optional>
#include <string_view>

// The picture formats of a window snapshot, numbered as the profile value
// "SnapshotExt" keeps the last one used.
enum class SnapshotFormat { Png = 1, Jpeg = 2, Bmp = 3, Gif = 4 };

// The format a file name asks for by the first letter of its extension
// (p, j, b, g in either case); nullopt for any other or no extension.
std::optional<SnapshotFormat> SnapshotFormatForPath(std::string_view path);
