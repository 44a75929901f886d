#pragma once

// Control ids of the disk tools' windows: the hard-disk error test, the flash
// memory test and the sector editor share the drive fields and most controls.
namespace disktool {

constexpr int IDC_CELLMAP = 1568;
constexpr int IDC_DRIVECOMBO = 1569;
constexpr int IDC_STARTTEST = 1584;
constexpr int IDC_STOPTEST = 1592;
constexpr int IDC_PROGRESS = 1621;
constexpr int IDC_BUFFERSLIDER = 1599;
constexpr int IDC_BUFFERSIZE = 1598;
constexpr int IDC_BUFFERSIZE_LABEL = 1622;

// The drive fields.
constexpr int IDC_DRIVELETTER = 1583;
constexpr int IDC_DRIVEBRAND = 1198;
constexpr int IDC_DRIVEMODEL = 1199;
constexpr int IDC_DRIVETYPE = 1590;
constexpr int IDC_INTERFACE = 1184;
constexpr int IDC_FIRMWARE = 1585;
constexpr int IDC_MAXSIZE = 1586;
constexpr int IDC_FORMATSIZE = 1587;
constexpr int IDC_FREESPACE = 1588;
constexpr int IDC_USEDSPACE = 1589;
constexpr int IDC_SIZEPERPLOT = 1601;

// What a test shows as it goes.
constexpr int IDC_TESTINGSECTOR = 1591;
constexpr int IDC_SECTORSREMAINING = 1593;
constexpr int IDC_AMOUNTTESTED = 1594;
constexpr int IDC_AMOUNTREMAINING = 1595;
constexpr int IDC_TOTALERRORS = 1596;
constexpr int IDC_AVERAGESPEED = 1597;

// The flash memory test's own.
constexpr int IDC_QUICKTEST = 1660;
constexpr int IDC_FULLTEST = 1661;
constexpr int IDC_FLASHDRIVE_LABEL = 1662;

// The sector editor's own.
constexpr int IDC_HEXGRID = 1000;
constexpr int IDC_STARTSECTOR = 1610;
constexpr int IDC_BUFFEROFFSET = 1614;
constexpr int IDC_VALUE = 1615;
constexpr int IDC_SECTORCOUNT = 1631;
constexpr int IDC_HEXADECIMAL = 1634;
constexpr int IDC_DECIMAL = 1635;
constexpr int IDC_READ = 1625;
constexpr int IDC_WRITE = 1626;
constexpr int IDC_LOAD = 1632;
constexpr int IDC_SAVE = 1628;
constexpr int IDC_GET = 1616;
constexpr int IDC_SET = 1617;
constexpr int IDC_HELP = 1629;

}  // namespace disktool
