#include "core/pipo/ScanDriveFamilies.h"

#include "core/pipo/ScanProber.h"

#include <algorithm>

namespace {

using enum ScanThreadVariant;
using Captions = std::array<const char*, 4>;
constexpr Captions kCaptions1to4 = {"1x", "2x", "3x", "4x"};
constexpr Captions kCaptions2to8 = {"2x", "4x", "6x", "8x"};
constexpr Captions kCaptions4to16 = {"4x", "8x", "12x", "16x"};

// Windows two families share.
constexpr ScanWindowSetup kPioneerWindow = {.view = ScanViewMode::Pioneer, .speedCaptions = kCaptions2to8};
constexpr ScanWindowSetup kNecWindow = {.view = ScanViewMode::NecIhas,
                                        .speedCaptions = kCaptions1to4,
                                        .speedBox = ScanSpeedBox::NecSpeed,
                                        .resetSpeedAxis = true};

constexpr const char* kToshibaMessage = "Toshiba drives do not support pi//po scanning";

// In the order the classification tells the families apart.
// clang-format off
constexpr ScanDriveFamily kFamilies[] = {
    {kDrivePlextor, "Plextor",
     {.prefixes = {"PLEXTOR DVDR   PX-716A", "PLEXTOR DVDR   PX-712A", "PLEXTOR DVDR   PX-708A"}},
     {.view = ScanViewMode::Plextor, .speedCaptions = kCaptions1to4, .showSpeedToggle = false, .enableAccuracy = true},
     {{{Any, "PIPOPlextordriveThread", "Start THREAD PIPOPlextordriveThread()", "PIPOThread() - THREAD - InternetThread isn't valid", ScanPlextor}}}},
    {kDriveAopen, "AOpen",
     {.prefixes = {"AOPEN"}},
     kPioneerWindow,
     {{{Any, "PIPOPioneereThread", "Start THREAD PIPOPioneereThread()", "PIPOThread() - THREAD - InternetThread isn't valid", ScanPioneer}}}},
    {kDrivePioneer, "Pioneer",
     {.prefixes = {"PIONEER DVD-RW", "PIODATA DVD-RW", "ASUS    DRW-1608P"}},
     kPioneerWindow,
     {{{Any, "PIPOPioneereThread", "Start THREAD PIPOPioneereThread()", "PIPOThread() - THREAD - InternetThread isn't valid", ScanPioneer}}}},
    // Any drive no family takes; Toshiba's are known before any probe.
    {kDriveUnsuitable, "unsuitable",
     {.prefixes = {"TOSHIBA"}, .cannotScanMessage = kToshibaMessage},
     {.view = ScanViewMode::Generic, .speedCaptions = kCaptions4to16, .startEnabled = false}},
    {kDriveBenq, "BenQ",
     {.probe = ProbeBenq},
     {.view = ScanViewMode::Benq, .speedCaptions = kCaptions2to8, .takesCavSpeed = true},
     {{{NewerBenq, "PIPOBenqNewThread", "Start THREAD PIPOBenqNewThread()", "PIPOThread() - THREAD - InternetThread isn't valid", ScanBenqNew},
       {OlderBenq, "PIPOBenqThread",    "Start THREAD PIPOBenqThread()",    "PIPOThread() - THREAD - InternetThread isn't valid", ScanBenq}}}},
    {kDriveBtc, "BTC",
     {.prefixes = {"DVDRW   IDE10"}},
     {.view = ScanViewMode::BtcSamsung, .speedCaptions = std::nullopt, .showSpeedToggle = false},
     {{{Any, "PIPOBTCThread", "Start THREAD PIPOBTCThread()", "PIPOBTCThread() - THREAD - InternetThread isn't valid", ScanBtc}}}},
    {kDriveNec, "NEC and Optiarc",
     {.prefixes = {"_NEC    DVD_RW", "OPTIARC"}},
     kNecWindow,
     {{{Any, "PIPONECThread", "Start THREAD PIPONECThread()", "PIPONECThread() - THREAD - InternetThread isn't valid", ScanNec}}}},
    {kDriveIhas, "iHAS",
     {.probe = ProbeIhasBookType, .lastResort = ProbeIhasF3Session},
     kNecWindow,
     {{{Any, "PIPOIHASThread", "Start THREAD PIPOIHASThread()", "PIPOIHASThread() - THREAD - InternetThread isn't valid", ScanIhas}}}},
    {kDriveLiteon, "Lite-On",
     {.prefixes = {"TEAC    DV-W516G", "MEMOREX DVD+/-DLRWL1", "JLMS", "LITE-ON", "SONY"}, .probe = ProbeLiteon},
     {.view = ScanViewMode::Liteon, .speedCaptions = kCaptions2to8, .speedBox = ScanSpeedBox::ReadSpeed},
     {{{WithJitter,    "PIPOLiteonWithJitterThread", "Start THREAD PIPOLiteonWithJitterThread()", "PIPOLiteonWithJitterThread() - THREAD - InternetThread isn't valid", ScanLiteonWithJitter},
       {WithoutJitter, "PIPOLiteonThread",           "Start THREAD PIPOLiteonThread()",           "PIPOLiteonThread() - THREAD - InternetThread isn't valid",           ScanLiteon}}}},
    {kDriveSamsung, "Samsung",
     {.prefixes = {"TSSTCORP"}, .probe = ProbeSamsung},
     {.view = ScanViewMode::BtcSamsung, .speedCaptions = kCaptions2to8, .speedBox = ScanSpeedBox::ReadSpeed},
     {{{Any, "PIPOSamsungThread", "Start THREAD PIPOSamsungThread()", "PIPOSamsungThread() - THREAD - InternetThread isn't valid", ScanSamsung}}}},
    {kDriveGenericF3, "generic F3",
     {.probe = ProbeGenericF3},
     {.view = ScanViewMode::Generic, .speedCaptions = kCaptions4to16},
     {{{Any, "PIPOThread", "Start THREAD PIPOThread()", "PIPOThread() - THREAD - InternetThread isn't valid", ScanGeneric}}}},
    {kDriveCyberdrive, "Cyberdrive",
     {.probe = ProbeCyberdrive},
     {.view = ScanViewMode::PO, .speedCaptions = kCaptions2to8, .takesCavSpeed = true},
     {{{Any, "PIPOCyberdriveThread", "Start THREAD PIPOCyberdriveThread()", "PIPOThread() - THREAD - InternetThread isn't valid", ScanCyberdrive}}}},
};
// clang-format on

// Every drive code has its one row: the window and Start look a code up.
constexpr bool OneRowPerCode()
{
    for (int code = 0; code <= kDriveUnsuitable; ++code)
        if (std::count_if(std::begin(kFamilies), std::end(kFamilies),
                          [code](const ScanDriveFamily& family) { return family.code == code; })
            != 1)
            return false;
    return std::size(kFamilies) == kDriveUnsuitable + 1;
}
static_assert(OneRowPerCode());

}  // namespace

std::span<const ScanDriveFamily> ScanDriveFamilies()
{
    return kFamilies;
}

const ScanWindowSetup& WindowSetupFor(int driveCode)
{
    const auto* family = std::find_if(std::begin(kFamilies), std::end(kFamilies),
                                      [driveCode](const ScanDriveFamily& row) { return row.code == driveCode; });
    if (family == std::end(kFamilies))
        return WindowSetupFor(kDriveUnsuitable);
    return family->window;
}
