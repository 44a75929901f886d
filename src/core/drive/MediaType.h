#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The program's code of the loaded medium. Codes 0-15 are the values of the
// DVD book-type field, so that a code taken from a disc's book type and one
// taken from the drive's profile mean the same.
enum MediaType : int {
    kMediaPlusUnknownId = -2,  // DVD+R/RW whose media ID is not in the table
    kMediaNoStructure = -1,  // no DVD structure: not a DVD drive, or both formats refused
    kMediaDvdRom = 0,  // also the value without a medium
    kMediaDvdMinusR = 2,
    kMediaDvdMinusRw = 3,
    kMediaHdDvdRom = 4,
    kMediaHdDvdRam = 5,
    kMediaHdDvdR = 6,
    kMediaDvdMinusRDl = 7,
    kMediaDvdPlusRw = 9,
    kMediaDvdPlusR = 10,
    kMediaDvdRam = 11,  // by profile; the book type says 1
    kMediaDvdPlusRwDl = 13,
    kMediaDvdPlusRDl = 14,
    kMediaDvdDownload = 24,
    kMediaBdRom = 64,
    kMediaBdR = 65,
    kMediaBdRe = 66,
    kMediaBdRRandom = 67,
    kMediaHdDvdRw = 83,
    kMediaHdDvdRDl = 88,
    kMediaHdDvdRwDl = 90,
    kMediaCd = 100,  // CD-ROM, CD-R and the HD-BURN ROM and R profiles
    kMediaCdRw = 101,  // CD-RW and HD-BURN RW
    kMediaDdcdR = 102,
    kMediaDdcdRw = 103,
};

// The name of a media type as the program prints it; "UNKNOWN" for codes
// without one.
const char* MediaTypeName(int mediaType);

// The name of a DVD book type (0 DVD-ROM, 1 DVD-RAM, 2 DVD-R, 3 DVD-RW, 9
// DVD+RW, 10 DVD+R, 13 DVD+RW DL, 14 DVD+R DL); null for another value.
const char* DvdBookTypeName(int bookType);

// The name a profile gives the medium by itself (CD, DDCD, HD-BURN, DVD
// download); null when the media type decides.
const char* ProfileMediaName(int profile);

// The media type a profile stands for; none for the profiles that need the
// disc asked further (DVD-ROM 10h, BD-R 41h, and every profile not listed).
std::optional<int> MediaTypeOfProfile(int profile);

// One row of the media-ID table of DVD+R/RW discs.
struct MediaIdEntry {
    const char* mediaId;  // manufacturer ID padded to 8, then the 3-character type ID
    int mediaType;  // kMediaDvdPlusR, kMediaDvdPlusRw or kMediaDvdPlusRDl
    double ratedSpeed;  // in multiples of 1x DVD
};

// The table in its order; the first row whose ID equals a key wins.
std::span<const MediaIdEntry> MediaIdTable();
const MediaIdEntry* FindMediaId(std::string_view key);

// The answer of READ DISC STRUCTURE format 00h (physical format information
// after the 4-byte header), as far as the program reads it.
namespace disc_structure {
// The media ID key: manufacturer (bytes 23-30) left-aligned in 8, type
// (bytes 31-33) right-aligned in 3; empty without a manufacturer.
std::string MediaIdKey(std::span<const std::uint8_t> answer);
// The book-type field, the high nibble of byte 4; -1 when the answer is shorter.
int BookType(std::span<const std::uint8_t> answer);
// DVD+R or DVD+RW by the count of format bytes in use that those discs
// report at byte 35: "8" (38h) on DVD+R, "9" (39h) on DVD+RW; -1 for any other.
int PlusMediaKind(std::span<const std::uint8_t> answer);
}  // namespace disc_structure
