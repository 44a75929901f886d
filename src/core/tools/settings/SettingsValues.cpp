#include "core/tools/settings/SettingsValues.h"

#include "core/base/AppProfile.h"
#include "core/ui/ColorSchemes.h"
#include "core/ui/Translucency.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr COLORREF kMaxColour = 0xFFFFFF;
constexpr COLORREF kMagenta = 0xFF00FF;
constexpr COLORREF kMagentaStandIn = 0xFF01FF;

int ReadCheck(const SettingsCheckRow& row)
{
    return GetAppProfileInt(row.entry, row.start) == 1 ? 1 : 0;
}

}  // namespace

const std::vector<SettingsCheckRow>& SettingsChecks()
{
    // clang-format off
    static const std::vector<SettingsCheckRow> rows{
        {IDC_STARTMINIMIZED, "&Start minimized",         "StartMinimized",       0},
        {IDC_ALWAYSONTOP,    "&Always on top",           "AlwaysOnTop",          0},
        {IDC_REMEMBERDEVICE, "&Remember Device",         "RememberDevice",       1},
        {IDC_ALLOWLOGGING,   "Allo&w Logging",           "AllowLogging",         1},
        {IDC_NOTIFYUPDATES,  "No&tify of updates",       "NotifyUpdates",        0},
        {IDC_MINIMIZETOTRAY, "Minimi&ze to Status Area", "MinimizeToStatusArea", 0},
        {IDC_USETRAYICON,    "Use Status Area Icon",     "UseStatusAreaIcon",    1},
    };
    // clang-format on
    return rows;
}

const std::vector<SettingsColourRow>& SettingsColours()
{
    // clang-format off
    static const std::vector<SettingsColourRow> rows{
        {IDC_TEXTCOLOR,       "T&ext Color",                    "EditTextColour",           0x000000,
         "Opens a colour picker dialog and prompts for a new colour for the HEX/ASCII display data"},
        {IDC_BACKCOLOR,       "&Back Color",                    "EditBackColour",           0x000000,
         "opens a colour picker dialog and prompts for a new colour for the HEX/ASCII background"},
        {IDC_GRAPHFG,         "Graph foreground color",         "GraphFGColorPick1",        0x6D6D6D,
         "Choose a new colour for the foreground graph lines for all features with graphs"},
        {IDC_GRAPHBG,         "Graphs background color",        "GraphBGColorPick1",        0x000000,
         "Choose a new colour for the graph background for all features with graphs"},
        {IDC_GRAPHVERT,       "Vertical graph marker color",    "GraphVERTColorPick",       0x0000FF,
         "Choose a new colour for the vertical lines representing end of disk or end of layer on graphs"},
        {IDC_GRAPHSPEED,      "Speed line color",               "GraphSPEEDColorPick",      0x00FFFF,
         "Choose a new colour for the plotted line on the graph for the 'Speed' feature"},
        {IDC_GRAPHRPM,        "Speed RPM line color",           "GraphRPMColorPick",        0x00FF00,
         "Choose a new colour for the plotted line representing RPM value on 'Speed' feature"},
        {IDC_GRAPHJITTER,     "Jitter line color",              "GraphJITTERColorPick",     0xFF0AFF,
         "Choose a new colour for the plotted line representing jitter on the PIPO feature"},
        {IDC_GRAPHDRIVESPEED, "Drive Speed line color",         "GraphDRIVESPEEDColorPick", 0x0064FF,
         "Choose a new colour for the plotted line representing read speed on the PIPO feature"},
        {IDC_GRAPHPI,         "PI line color",                  "GraphPIColorPick",         0x00FF00,
         "Choose a new colour for the plotted line representing PI errors on the PIPO feature"},
        {IDC_GRAPHPIF,        "PIF line color",                 "GraphPIFColorPick",        0x00FFFF,
         "Choose a new colour for the plotted line representing PIF errors on the PIPO feature"},
        {IDC_LEDREAD,         "DriveInfo LED 'Read' color",     "DriveInfoReadColor",       0x00FF00,
         "Sets the color of the DriveInfo read features LEDs"},
        {IDC_LEDWRITE,        "DriveInfo LED 'Write' color",    "DriveInfoWriteColor",      0x0000FF,
         "Sets the color of the DriveInfo write features LEDs"},
        {IDC_LEDGENERAL,      "DriveInfo LED 'General' color",  "DriveInfoOtherColor",      0xFF4B00,
         "Sets the color of the DriveInfo general features LEDs"},
    };
    // clang-format on
    return rows;
}

const SettingsColourRow& SettingsColourOf(int id)
{
    for (const SettingsColourRow& row : SettingsColours())
        if (row.id == id)
            return row;
    throw std::out_of_range("no settings colour with this id");
}

SettingsValues LoadSettingsValues(COLORREF buttonFace)
{
    SettingsValues values;
    const int scheme = GetAppProfileInt(kColorsEntry, kDefaultColorScheme);
    values.colorScheme = scheme >= 0 && scheme < kColorSchemeCount ? scheme : kDefaultColorScheme;
    for (const SettingsCheckRow& row : SettingsChecks())
        values.checks[row.id] = ReadCheck(row);
    values.translucency = std::clamp(GetAppProfileInt(kTranslucencyEntry, kOpaqueAlpha), kMostTranslucentAlpha,
                                     kOpaqueAlpha);
    for (const SettingsColourRow& row : SettingsColours()) {
        const COLORREF start = row.id == IDC_BACKCOLOR ? buttonFace : row.start;
        const int stored = GetAppProfileInt(row.entry, static_cast<int>(start));
        values.colours[row.id] = stored >= 0 && static_cast<COLORREF>(stored) <= kMaxColour
            ? static_cast<COLORREF>(stored)
            : start;
    }
    return values;
}

bool SaveSettingsValues(const SettingsValues& values)
{
    bool saved = WriteAppProfileInt(kColorsEntry, values.colorScheme);
    for (const SettingsCheckRow& row : SettingsChecks()) {
        const auto check = values.checks.find(row.id);
        saved = WriteAppProfileInt(row.entry, check != values.checks.end() && check->second == 1 ? 1 : 0) && saved;
    }
    saved = WriteAppProfileInt(kTranslucencyEntry, std::clamp(values.translucency, kMostTranslucentAlpha, kOpaqueAlpha))
        && saved;
    for (const SettingsColourRow& row : SettingsColours()) {
        const auto colour = values.colours.find(row.id);
        const COLORREF value = colour != values.colours.end() ? (colour->second & kMaxColour) : row.start;
        saved = WriteAppProfileInt(row.entry, static_cast<int>(value)) && saved;
    }
    for (const auto& [entry, path] :
         {std::pair{kButtonsSkinEntry, values.buttonsSkin}, std::pair{kBannerSkinEntry, values.bannerSkin}}) {
        if (!path.empty())
            saved = WriteAppProfileString(entry, path == kClearSkin ? std::string() : path) && saved;
    }
    if (values.bmpFolder)
        saved = WriteAppProfileString(kBmpFolderEntry, *values.bmpFolder) && saved;
    return saved;
}

int TranslucencyOfSlider(int position)
{
    return kOpaqueAlpha - std::clamp(position, 0, kTranslucencySliderMax);
}

int SliderOfTranslucency(int translucency)
{
    return kOpaqueAlpha - std::clamp(translucency, kOpaqueAlpha - kTranslucencySliderMax, kOpaqueAlpha);
}

COLORREF PickedColour(COLORREF chosen)
{
    return chosen == kMagenta ? kMagentaStandIn : chosen;
}

void SetAllColoursToDefault(SettingsValues& values)
{
    // clang-format off
    static const std::pair<int, COLORREF> defaults[] = {
        {IDC_GRAPHBG,         0x000000}, {IDC_GRAPHFG,    0x787878}, {IDC_GRAPHVERT,  0x0000FF},
        {IDC_GRAPHSPEED,      0x00FFFF}, {IDC_GRAPHRPM,   0x00FF00}, {IDC_GRAPHJITTER, 0xFF0AFF},
        {IDC_GRAPHDRIVESPEED, 0x0064FF}, {IDC_GRAPHPI,    0x00FF00}, {IDC_GRAPHPIF,   0x00FFFF},
        {IDC_LEDREAD,         0x00FF00}, {IDC_LEDGENERAL, 0xFF0000}, {IDC_LEDWRITE,   0x0000FF},
    };
    // clang-format on
    for (const auto& [id, colour] : defaults)
        values.colours[id] = colour;
}

void ApplyCheckCoupling(SettingsValues& values, int clickedId)
{
    auto& checks = values.checks;
    switch (clickedId) {
    case IDC_STARTMINIMIZED:
        if (checks[IDC_MINIMIZETOTRAY] == 1)
            checks[IDC_USETRAYICON] = 1;
        break;
    case IDC_MINIMIZETOTRAY:
        if (checks[IDC_MINIMIZETOTRAY] == 1 || checks[IDC_STARTMINIMIZED] == 1)
            checks[IDC_USETRAYICON] = 1;
        break;
    case IDC_USETRAYICON:
        if (checks[IDC_USETRAYICON] == 0)
            checks[IDC_MINIMIZETOTRAY] = 0;
        break;
    default: break;
    }
}
