#pragma once

#include <array>

// Controls of the main window's test pages (speed and error tests, the ISO
// page), by the ids the window binds them under.
namespace testpage {

// The ten result fields, by their labels on the speed test page.
constexpr int kFieldLayerTrackPath = 1288;
constexpr int kFieldElapsedTime = 1304;
constexpr int kFieldAverageDataRate = 1296;
constexpr int kFieldReadErrors = 1292;  // "Sector" or "Files Left" on the ISO page
constexpr int kFieldMediaType = 1290;
constexpr int kFieldCurrentSpeed = 1281;
constexpr int kFieldRemaining = 1280;
constexpr int kFieldRead = 1277;
constexpr int kFieldLength = 1279;
constexpr int kFieldAverageSpeed = 1282;
constexpr int kFieldMediaId = 1303;

// Their labels.
constexpr int kLabelLayerTrackPath = 1301;
constexpr int kLabelElapsedTime = 1305;
constexpr int kLabelAverageDataRate = 1300;
constexpr int kLabelReadErrors = 1295;
constexpr int kLabelMediaType = 1291;
constexpr int kLabelCurrentSpeed = 1286;
constexpr int kLabelRemaining = 1285;
constexpr int kLabelRead = 1283;
constexpr int kLabelLength = 1284;
constexpr int kLabelAverageSpeed = 1287;
constexpr int kLabelMediaId = 1299;

// The page's buttons and lists.
constexpr int kStart = 1276;
constexpr int kStop = 1273;
constexpr int kSave = 1289;
constexpr int kDevices = 1087;
constexpr int kTools = 1090;
constexpr int kResults = 1302;
constexpr int kProgress2 = 1297;
constexpr int kGroupBox = 1298;
constexpr int kGraph = 1278;
// The ISO page's source: "ISO", "DVD-Video", "Folder".
constexpr int kIsoRadio = 1322;
constexpr int kVideoRadio = 1323;
constexpr int kFolderRadio = 1324;

// The speed test page's own controls: the speed list with its label, the
// rotation asked for, the pre-spin list with its label, and the graph's
// curve toggles.
constexpr int kSpeedList = 1554;
constexpr int kSpeedLabel = 1555;
constexpr int kRequestClv = 1556;
constexpr int kRequestCav = 1557;
constexpr int kPreSpinList = 1558;
constexpr int kPreSpinLabel = 1559;
constexpr int kShowRpm = 1542;
constexpr int kShowSpeed = 1373;
// The rate graph's axis labels: speed L1-L9 on the left and rotation R1-R9
// on the right, top to bottom; capacity B1-B4 underneath, left to right.
constexpr std::array<int, 9> kSpeedAxisLabels = {1610, 1611, 1612, 1613, 1614, 1615, 1616, 1617, 1618};
constexpr std::array<int, 9> kRpmAxisLabels = {1620, 1621, 1622, 1623, 1624, 1625, 1626, 1627, 1628};
constexpr std::array<int, 4> kCapacityAxisLabels = {1630, 1631, 1632, 1633};

struct ResultField {
    int field;
    int label;
    const char* speedLabel;  // its label on the speed test page
};

// clang-format off
constexpr ResultField kResultFields[] = {
    {kFieldLayerTrackPath,  kLabelLayerTrackPath,  "Layer Track Path"},
    {kFieldElapsedTime,     kLabelElapsedTime,     "Elapsed Time"},
    {kFieldAverageDataRate, kLabelAverageDataRate, "Average Data Rate"},
    {kFieldReadErrors,      kLabelReadErrors,      "Read Errors"},
    {kFieldMediaType,       kLabelMediaType,       "Media Type"},
    {kFieldCurrentSpeed,    kLabelCurrentSpeed,    "Current Speed"},
    {kFieldRemaining,       kLabelRemaining,       "Remaining"},
    {kFieldRead,            kLabelRead,            "Read"},
    {kFieldLength,          kLabelLength,          "Length"},
    {kFieldAverageSpeed,    kLabelAverageSpeed,    "Average Speed"},
};
// clang-format on

}  // namespace testpage
