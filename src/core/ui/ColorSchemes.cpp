#include "core/ui/ColorSchemes.h"

#include "core/base/AppProfile.h"

#include <array>

namespace {

struct NamedScheme {
    const char* name;
    LedColorScheme colors;
};

constexpr std::array<NamedScheme, kColorSchemeCount> kSchemes{{
    {"Backlit LCD", {0xCEFF63, 0x000000, 0xB5E161}},
    {"Blue Plasma", {0x000000, 0xFFDC06, 0x645000}},
    {"Green LED", {0x000000, 0x00FFB1, 0x005000}},
    {"LCD", {0x8BB7B3, 0x000000, 0x6CA49E}},
    {"Orange LED", {0x000000, 0x00B4FF, 0x003750}},
    {"Purple LED", {0x000000, 0xFF50FF, 0x503250}},
    {"Red LED", {0x000000, 0x0A46FF, 0x002350}},
    {"White LED", {0x000000, 0xFFFFFF, 0x505050}},
    {"Yellow LED", {0x000000, 0x00F2FF, 0x003750}},
}};

const NamedScheme& Scheme(int scheme)
{
    if (scheme < 0 || scheme >= kColorSchemeCount)
        scheme = kDefaultColorScheme;
    return kSchemes[static_cast<size_t>(scheme)];
}

}  // namespace

LedColorScheme GetColorScheme(int scheme)
{
    return Scheme(scheme).colors;
}

std::string ColorSchemeName(int scheme)
{
    return Scheme(scheme).name;
}

LedColorScheme ReadColorScheme()
{
    return GetColorScheme(GetAppProfileInt("Colors", kDefaultColorScheme));
}
