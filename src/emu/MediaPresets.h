#pragma once

#include "emu/Medium.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

// Discs by preset name (case-insensitive): "none", "cd-rom", "dvd+r", "bd-r" ...
// "none" names the empty drive and has no description.
std::optional<MediumDescription> FindMediumPreset(std::string_view name);
std::vector<std::string> MediumPresetNames();
constexpr std::string_view kNoMediumPreset = "none";

}  // namespace emu
