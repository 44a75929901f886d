#pragma once

#include <span>
#include <string>
#include <string_view>

// The makers of writable CDs by the start time of their ATIP lead-in. A row
// without a name belongs to the nearest earlier row with one; the list ends
// with a row whose second is -1 and whose name is "Unknown".
struct AtipMakerRange {
    int minute;
    int second;
    int firstFrame;
    int lastFrame;
    const char* name;
};

// One time of an HD-BURN list.
struct AtipTime {
    int minute;
    int second;
    int frame;
};

// Rated speeds of recordable BDs by disc ID (6-character maker, 3-character type).
struct BdRatedSpeedEntry {
    const char* discId;
    int speed;
};

struct DvdMinusRatedSpeedEntry {
    const char* manufacturerId;
    int speed;
};

// Compared with the ID's trailing blanks removed.
struct DvdMinusMediaIdEntry {
    const char* mediaId;
    int speed;
};

// DVD+ media IDs ("%-8s" maker, then the type) not in the media-ID table.
struct DvdPlusExtraEntry {
    const char* mediaId;
    double speed;
    int mediaType;
};

// The lists without their terminators (the maker list keeps its "Unknown" row).
std::span<const AtipMakerRange> AtipMakerRanges();
std::span<const AtipTime> HdBurnCertifiedTimes();
std::span<const AtipTime> HdBurnCapableTimes();
std::span<const BdRatedSpeedEntry> BdRatedSpeeds();
std::span<const BdRatedSpeedEntry> BdLthRatedSpeeds();
std::span<const DvdMinusRatedSpeedEntry> DvdMinusRatedSpeeds();
std::span<const DvdMinusMediaIdEntry> DvdMinusMediaIds();
std::span<const DvdPlusExtraEntry> DvdPlusExtras();

// The maker of a CD-R/RW by its lead-in start; "Unknown" when no range holds it.
std::string GetCdrManufacturer(int minute, int second, int frame);
int IsHdBurnCertified(int minute, int second, int frame);
int IsHdBurnCapable(int minute, int second, int frame);

// Rated speed texts of the report's lines; empty for a speed without one.
const char* BdSpeedText(int speed);
const char* DvdMinusSpeedText(double speed);
const char* DvdPlusSpeedText(double speed);
