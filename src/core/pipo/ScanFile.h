#pragma once

#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanDisplays.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The scan files: ".qnzx" (version 2, begins with "QNZVERSION2", carries the
// scan ranges, always written) and ".qnz" (version 1, read only). Fixed-width
// little-endian values, no padding, no checksum.

inline constexpr std::string_view kScanFileMagic = "QNZVERSION2";
constexpr std::size_t kScanStatusLength = 40;
constexpr std::size_t kScanDriveTextLength = 40;

// The scan range of a graph slot, with the texts its edits show ("%X").
struct ScanRange {
    std::int32_t nStartLba = 0;  // lowest LBA the range dialog offers
    std::int32_t nEndLba = 0;  // last LBA of the medium
    std::int64_t llEndLba = 0;  // last LBA of the scan
    std::int64_t llStartLba = 0;
    std::string strStartLba = "0";
    std::string strEndLba = "0";

    bool operator==(const ScanRange&) const = default;
};

enum ScanRangeIndex { kCurrentRange = 0, kSlot1Range = 1, kSlot2Range = 2 };

struct ScanFile {
    int version = 2;
    std::array<ScanRange, 3> ranges;  // by ScanRangeIndex; all zero in version 1
    ScanDisplayValues displays;
    ScanShowFlags show;
    std::string status;  // the status display, 40 characters
    std::string midCode;
    std::string mediaType;
    std::string bookType;
    std::string driveDisplay;  // the drive display (or the user's comment), up to 40 characters
    PiPoUpperData upper;
    PiPoLowerData lower;
    // As the graphs report them (0 for none); never negative after a load.
    std::int32_t piScaleCode = 0;
    std::int32_t pifScaleCode = 0;
    std::int32_t jitterScaleCode = 0;

    bool operator==(const ScanFile&) const = default;
};

// The records and scale codes of a slot's two graphs.
void StoreScanGraphs(const PiPoUpperGraph& upper, const PiPoLowerGraph& lower, ScanFile& file);

// The value rules of a save, applied to the window's state: each range's
// start LBA is taken again from its start text (hexadecimal), an empty media
// type or book type becomes "N/A".
void PrepareScanFileForSave(ScanFile& file);

// A version-2 file of what file holds (status and drive text padded or cut
// to 40 characters).
std::string EncodeScanFile(const ScanFile& file);

// Reads a version-2 file, or anything without the magic as version 1 (its
// ranges all 0 with texts "0"). All or nothing: on failure (the bytes end
// early, a count or length runs past the end, bytes are left over) file is
// untouched and error says why. Negative scale codes read as 0; the range
// texts are "%X" of the low 32 bits; strings end at their first 0 character.
bool DecodeScanFile(std::string_view bytes, ScanFile& file, std::string& error);

// The name a scan is saved under: path as chosen when its last part ends in
// ".qnzx" (any case), else path with ".qnzx" added, so that Load, a drop and
// the command line know it again.
std::string ScanFileSavePath(const std::string& path);

// PrepareScanFileForSave, then the file written through a temporary name.
bool SaveScanFile(const std::string& path, ScanFile& file, std::string* error = nullptr);
// Files above this size are refused before they are read, as is anything but
// a regular file: no scan comes near it.
constexpr std::uintmax_t kMaxScanFileSize = 64u << 20;

// DecodeScanFile of a whole file, logged as the window's loads are.
bool LoadScanFile(const std::string& path, ScanFile& file, std::string* error = nullptr);
