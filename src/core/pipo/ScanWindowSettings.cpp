#include "core/pipo/ScanWindowSettings.h"

#include "core/base/AppProfile.h"

namespace {

// clang-format off
struct SettingEntry {
    const char* name;
    int ScanWindowSettings::*value;
    int defaultValue;
};
constexpr SettingEntry kSettings[] = {
    {"JitterType",        &ScanWindowSettings::m_nJitterType, 0},
    {"PIRadio",           &ScanWindowSettings::m_nPIRadio,    0},
    {"PORadio",           &ScanWindowSettings::m_nPORadio,    0},
    {"PIPRadio",          &ScanWindowSettings::m_nPIPRadio,   0},
    {"POPRadio",          &ScanWindowSettings::m_nPOPRadio,   0},
    {"JitterScale",       &ScanWindowSettings::jitterScale,   0},
    {"SpeedBenq",         &ScanWindowSettings::speedBenq,     0},
    {"SpeedLiteon",       &ScanWindowSettings::speedLiteon,   0},
    {"SpeedNEC",          &ScanWindowSettings::speedNec,      3},
    {"PIScale",           &ScanWindowSettings::piScale,       0},
    {"PIPOScaleLower",    &ScanWindowSettings::pifScale,      0},
    {"stShowPI",          &ScanWindowSettings::showPI,        1},
    {"stShowJitter",      &ScanWindowSettings::showJitter,    1},
    {"stShowPIPlus",      &ScanWindowSettings::showPIF,       1},
    {"stShowLiteonSpeed", &ScanWindowSettings::showSpeed,     1},
};
// clang-format on

COLORREF Colour(const char* entry, COLORREF defaultValue)
{
    return static_cast<COLORREF>(GetAppProfileInt(entry, static_cast<int>(defaultValue)));
}

}  // namespace

ScanWindowSettings LoadPIPOSettings()
{
    ScanWindowSettings settings;
    for (const SettingEntry& entry : kSettings)
        settings.*entry.value = GetAppProfileInt(entry.name, entry.defaultValue);
    settings.m_nPORadio = 0;  // written, never read back
    return settings;
}

void SavePIPOSettings(const ScanWindowSettings& settings)
{
    for (const SettingEntry& entry : kSettings)
        WriteAppProfileInt(entry.name, settings.*entry.value);
}

ScanGraphColours ReadScanGraphColours()
{
    ScanGraphColours colours{};
    colours.speed = Colour("GraphDRIVESPEEDColorPick", 0x0000FF);
    colours.pi = Colour("GraphPIColorPick", 0x00FF00);
    colours.pif = Colour("GraphPIFColorPick", 0x00FFFF);
    colours.jitter = Colour("GraphJITTERColorPick", 0xFF0AFF);
    colours.grid = Colour("GraphFGColorPick1", 0x6D6D6D);
    colours.halfGrid = HalfIntensity(colours.grid);
    colours.background = Colour("GraphBGColorPick1", 0x000000);
    colours.marker = Colour("GraphVERTColorPick", 0xFFFFFF);
    return colours;
}
