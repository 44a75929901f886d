#pragma once

#include "emu/DriveIdentity.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

// Drive models by preset name (case-insensitive): "dvd-writer", "bd-writer",
// "cd-reader" and one identity per drive-maker family.
std::optional<DriveIdentity> FindDrivePreset(std::string_view name);
std::vector<std::string> DrivePresetNames();

}  // namespace emu
