#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/Skins.h"  // the skin files' profile values

#include <map>
#include <optional>
#include <string>
#include <vector>

// The values the settings dialog edits, all of the profile section "QNZ".
// They are read when the dialog opens (each checked: a value out of its range
// takes its start value, the translucency is held within what the slider
// offers) and written only when it is confirmed.

// Control ids of the settings dialog.
enum SettingsControl : int {
    IDC_COLORSCHEME = 1031,
    IDC_STARTMINIMIZED = 1013,
    IDC_ALWAYSONTOP = 1059,
    IDC_REMEMBERDEVICE = 1094,
    IDC_ALLOWLOGGING = 1095,
    IDC_NOTIFYUPDATES = 1096,
    IDC_MINIMIZETOTRAY = 1098,
    IDC_USETRAYICON = 1518,
    IDC_TRANSLUCENCY = 1494,
    IDC_TEXTCOLOR = 1072,
    IDC_DEFAULTTEXT = 1073,
    IDC_LOADBUTTONS = 1074,
    IDC_DEFAULTBUTTONS = 1075,
    IDC_BACKCOLOR = 1076,
    IDC_DEFAULTBACK = 1077,
    IDC_LOADBANNER = 1078,
    IDC_DEFAULTBANNER = 1079,
    IDC_GRAPHFG = 1421,
    IDC_GRAPHBG = 1422,
    IDC_GRAPHVERT = 1423,
    IDC_GRAPHSPEED = 1424,
    IDC_GRAPHRPM = 1426,
    IDC_GRAPHJITTER = 1427,
    IDC_GRAPHPI = 1428,
    IDC_GRAPHPIF = 1429,
    IDC_GRAPHDRIVESPEED = 1430,
    IDC_ALLDEFAULT = 1431,
    IDC_LEDREAD = 1432,
    IDC_LEDWRITE = 1433,
    IDC_LEDGENERAL = 1434,
    IDC_REPAIRASSOC = 1435,
    IDC_SETTINGSHELP = 1109,
    IDC_SETTINGSCANCEL = 1035,
};

// A check box: its control, caption, profile value and start value.
struct SettingsCheckRow {
    int id;
    const char* caption;
    const char* entry;
    int start;
};
// A colour button and the profile value it edits.
struct SettingsColourRow {
    int id;
    const char* caption;
    const char* entry;
    COLORREF start;
    const char* tooltip;
};

const std::vector<SettingsCheckRow>& SettingsChecks();
// The report colours (text, background) and the graph and LED colours. The
// report background starts from the system's button face colour.
const std::vector<SettingsColourRow>& SettingsColours();
const SettingsColourRow& SettingsColourOf(int id);

constexpr const char* kTranslucencyEntry = "Translucency";
constexpr const char* kColorsEntry = "Colors";
constexpr const char* kBmpFolderEntry = "Last BMP Directory";
// A skin path that puts the built-in artwork back.
constexpr const char* kClearSkin = "CLEAR";
constexpr int kTranslucencySliderMax = 128;

struct SettingsValues {
    int colorScheme = 1;
    std::map<int, int> checks;  // by control id: 0 or 1
    std::map<int, COLORREF> colours;  // by control id
    int translucency = 255;
    // Empty: left as it is; kClearSkin: the built-in artwork; else the file.
    std::string buttonsSkin;
    std::string bannerSkin;
    // The folder the bitmap chooser last took a file from, kept with the rest.
    std::optional<std::string> bmpFolder;
};

// The values in the profile now, each with its start value when missing or
// out of range.
SettingsValues LoadSettingsValues(COLORREF buttonFace);
// Writes every value; false when the profile could not take one of them.
bool SaveSettingsValues(const SettingsValues& values);

// The slider runs 0..128 from opaque: translucency = 255 - position.
int TranslucencyOfSlider(int position);
int SliderOfTranslucency(int translucency);

// A colour the chooser gave: magenta is the skins' transparent colour, so it
// comes back as 0xFF01FF.
COLORREF PickedColour(COLORREF chosen);
// "Set all colors at default": the graph and LED colours (the report's stay).
void SetAllColoursToDefault(SettingsValues& values);
// A click on a check box (its new state already in values) and the boxes it
// ticks or clears with it.
void ApplyCheckCoupling(SettingsValues& values, int clickedId);
