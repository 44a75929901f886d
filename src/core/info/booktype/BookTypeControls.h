#pragma once

#include <array>

// Control ids of the book-type dialogs. A radio group is named by its first
// button; its buttons in choice order follow.
namespace booktype_ids {

constexpr int IDCANCEL_CLOSE = 2;  // Close

// The BenQ, Ricoh-type and AOpen dialogs.
namespace plus {
constexpr int IDC_SET_MEDIA = 1305;  // "&Set Current Media (DVD+RW only)"
constexpr int IDC_BOOK_GROUP = 1306;
// "DVD+RW", "DVD+R", "DVD-RW", "DVD-R", "DVD-ROM"
constexpr std::array<int, 5> kBookRadios = {1306, 1309, 1308, 1310, 1307};
constexpr int IDC_PLUS_RW_SETTING = 1314;
constexpr int IDC_PLUS_R_SETTING = 1315;
constexpr int IDC_DISC_BOOK = 1316;
constexpr int IDC_HELP = 1317;
constexpr int IDC_SET_RW_DEFAULT = 1318;  // "Set Drive Default (DVD+R&W Media)"
constexpr int IDC_SET_R_DEFAULT = 1319;  // "&Set Drive Default (DVD+&R Media)"
}  // namespace plus

namespace aopen {
constexpr int IDC_DISC_BOOK = 1316;
constexpr int IDC_HELP = 1317;
constexpr int IDC_RW_EEPROM = 1318;  // "DVD+RW EEPROM"
constexpr int IDC_R_EEPROM = 1319;  // "DVD+R EEPROM"
constexpr int IDC_SET_MEDIA = 1445;  // "&Set Media (DVD+RW Only)"
constexpr int IDC_SET_RW_DRIVE = 1446;  // "Set Drive (DVD+R&W Media)"
constexpr int IDC_SET_R_DRIVE = 1447;  // "&Set Drive (DVD+&R Media)"
}  // namespace aopen

namespace btc {
constexpr int IDC_MODE_GROUP = 1346;
constexpr std::array<int, 2> kModeRadios = {1346, 1307};  // "Normal", "DVD-ROM"
constexpr int IDC_RW_LINE = 1314;  // DVD±RW
constexpr int IDC_R_LINE = 1315;  // DVD±R
constexpr int IDC_DISC_BOOK = 1316;
constexpr int IDC_HELP = 1317;
constexpr int IDC_CHANGE_MEDIA = 1347;  // "C&hange Current DVD±R/RW Media"
constexpr int IDC_SET_DEFAULT = 1348;  // "Set &Default Mode (±RW/±R)"
constexpr int IDC_QUERY = 1354;  // "&Query"
}  // namespace btc

namespace nec {
constexpr int IDC_VERSION = 1138;  // the firmware command version (a static text)
constexpr int IDC_DL_DEFAULT = 1316;
constexpr int IDC_DL_TEMPORARY = 1317;
constexpr int IDC_R_DEFAULT = 1318;
constexpr int IDC_R_TEMPORARY = 1319;
constexpr int IDC_RW_DEFAULT = 1320;
constexpr int IDC_RW_TEMPORARY = 1321;
constexpr int IDC_CHANGES_LEFT = 1416;
constexpr int IDC_DL_GROUP = 1346;
constexpr std::array<int, 2> kDlRadios = {1346, 1307};  // "DVD+R DL", "DVD-ROM"
constexpr int IDC_R_GROUP = 1496;
constexpr std::array<int, 3> kRRadios = {1496, 1497, 1498};  // "DVD+R", "DVD-R", "DVD-ROM"
constexpr int IDC_RW_GROUP = 1499;
constexpr std::array<int, 3> kRwRadios = {1499, 1500, 1501};  // "DVD+RW", "DVD-RW", "DVD-ROM"
constexpr int IDC_USE_GROUP = 1347;
constexpr std::array<int, 2> kUseRadios = {1347, 1352};  // "Use Temp Settings", "Use Flash Settings"
constexpr int IDC_HELP = 1433;
constexpr int IDC_SET_DEFAULT_DL = 1348;
constexpr int IDC_SET_TEMP_DL = 1349;
constexpr int IDC_SET_TEMP_R = 1351;
constexpr int IDC_SET_DEFAULT_R = 1353;
constexpr int IDC_SET_TEMP_RW = 1354;
constexpr int IDC_SET_DEFAULT_RW = 1355;
}  // namespace nec

namespace nutek {
constexpr int IDC_FLASH_SAVE = 1026;  // "Enable  Flash Ram Save"
constexpr int IDC_RW_FLASH = 1314;
constexpr int IDC_R_FLASH = 1315;
constexpr int IDC_HELP = 1317;
constexpr int IDC_MINUS_R_FLASH = 1318;
constexpr int IDC_SET_RW_DEFAULT = 1319;  // "Set +RW Default Book"
constexpr int IDC_SET_MINUS_RW_DEFAULT = 1320;  // "Set -RW Default Book"
constexpr int IDC_SET_MINUS_RW_DIRECT = 1321;  // "Set -RW Media Direct"
constexpr int IDC_SET_RW_DIRECT = 1322;  // "Set +RW Media Direct"
constexpr int IDC_RW_MEDIA = 1323;  // +RW "CURRENT MEDIA"
constexpr int IDC_MINUS_RW_MEDIA = 1324;  // -RW "CURRENT MEDIA"
constexpr int IDC_R_DRAM = 1325;
constexpr int IDC_MINUS_R_DRAM = 1326;
constexpr int IDC_RW_DRAM = 1327;
constexpr int IDC_R_GROUP = 1333;  // "DVD+R", "DVD-ROM"
constexpr int IDC_RW_GROUP = 1335;  // "DVD+RW", "DVD-ROM"
constexpr int IDC_SET_R_DEFAULT = 1337;  // "Set +R Default Book"
constexpr int IDC_MINUS_R_GROUP = 1338;  // "DVD-R", "DVD-ROM"
constexpr int IDC_SET_MINUS_R_DEFAULT = 1340;  // "Set -R Default Book"
constexpr int IDC_MINUS_RW_GROUP = 1341;  // "DVD-RW", "DVD-ROM"
constexpr int IDC_MINUS_RW_DRAM = 1343;
constexpr int IDC_MINUS_RW_FLASH = 1344;
}  // namespace nutek

namespace lg {
constexpr int IDC_MODE_GROUP = 1346;
constexpr std::array<int, 2> kModeRadios = {1346, 1307};  // "Normal", "DVD-ROM"
constexpr int IDC_CHANGE_PLUS = 1417;  // "&Change +R/RW Mode"
constexpr int IDC_PLUS_TEXT = 1418;  // DVD+R/RW
constexpr int IDC_DL_TEXT = 1419;  // DVD+R DL
constexpr int IDC_CHANGE_DL = 1420;  // "Change +R&DL Mode"
constexpr int IDC_HELP = 1432;
}  // namespace lg

namespace liteon {
constexpr int IDC_HELP = 1102;
constexpr int IDC_CHOICE_GROUP = 1306;
constexpr std::array<int, 3> kChoiceRadios = {1306, 1346, 1307};  // "DVD+RW", "Normal", "DVD-ROM"
constexpr int IDC_CLOSE = 1350;  // "&Close"
constexpr int IDC_DISC_TYPE = 1351;  // "Current Disc Type"
constexpr int IDC_DRIVE_SETTING = 1352;  // "Change BookType To"
constexpr int IDC_CHANGE = 1353;  // "Chan&ge..."
constexpr int IDC_QUERY = 1354;  // "&Query"
}  // namespace liteon

}  // namespace booktype_ids
