#pragma once

#include <optional>
#include <string_view>

// The picture formats of a window snapshot, numbered as the profile value
// "SnapshotExt" keeps the last one used and as the save chooser's filter
// lists them.
enum class SnapshotFormat { Png = 1, Jpeg = 2, Bmp = 3, Gif = 4 };

// The save chooser's filter, one entry per format in the order above.
constexpr const char* kSnapshotFilter = "PNG Files *.png (*.png);;JPG Files *.jpg, *.jpeg (*.jpg *.jpeg);;"
                                        "BMP Files *.bmp (*.bmp);;GIF Files *.GIF (*.gif)";

// The format a file name asks for by its whole extension (png, jpg, jpeg,
// bmp, gif in any case); nullopt for any other or no extension.
std::optional<SnapshotFormat> SnapshotFormatForPath(std::string_view path);
