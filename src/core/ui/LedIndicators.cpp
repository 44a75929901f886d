#include "core/ui/LedIndicators.h"

#include "core/base/AppProfile.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kGroups = {
    LedGroupColour{LedGroup::Read, "DriveInfoReadColor", 0x00FF00},
    LedGroupColour{LedGroup::Write, "DriveInfoWriteColor", 0x0000FF},
    LedGroupColour{LedGroup::Other, "DriveInfoOtherColor", 0xFF4B00},
};

// clang-format off
constexpr std::array kReadIndicators = {
    1140, 1141, 1179, 1146, 1147, 1144, 1142, 1143, 1145, 1178, 1159, 1186, 1200, 1216,
    1176, 1156, 1220, 1221, 1217, 1492, 1491, 1493, 1498, 1496, 1497, 1503, 1231,
};
constexpr std::array kWriteIndicators = {
    1151, 1194, 1148, 1149, 1185, 1190, 1189, 1188, 1168, 1180, 1155, 1154, 1152,
    1150, 1153, 1218, 1219, 1177, 1229, 1230, 1494, 1495, 1157, 1214, 1232,
};
constexpr std::array kOtherIndicators = {
    1162, 1163, 1164, 1169, 1170, 1196, 1195, 1192, 1193, 1197, 1205, 1208, 1206, 1161, 1171,
};
// clang-format on

}  // namespace

std::span<const LedGroupColour> LedGroupColours()
{
    return kGroups;
}

const LedGroupColour& ColourOfGroup(LedGroup group)
{
    return kGroups[static_cast<std::size_t>(group)];
}

COLORREF ReadLedGroupColour(LedGroup group)
{
    const LedGroupColour& colour = ColourOfGroup(group);
    return static_cast<COLORREF>(GetAppProfileInt(colour.profileEntry, static_cast<int>(colour.defaultColour)))
        & 0xFFFFFFu;
}

std::span<const int> LedIndicatorsOf(LedGroup group)
{
    switch (group) {
    case LedGroup::Read: return kReadIndicators;
    case LedGroup::Write: return kWriteIndicators;
    case LedGroup::Other: break;
    }
    return kOtherIndicators;
}

std::optional<LedGroup> LedGroupOf(int controlId)
{
    for (const LedGroupColour& colour : kGroups) {
        const std::span<const int> ids = LedIndicatorsOf(colour.group);
        if (std::find(ids.begin(), ids.end(), controlId) != ids.end())
            return colour.group;
    }
    return std::nullopt;
}
