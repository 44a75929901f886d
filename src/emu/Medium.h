#pragma once

#include "emu/ErrorProfile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace emu {

enum class MediumFamily { Cd, Dvd, HdDvd, Bd };
enum class DiscStatus { Blank, Appendable, Complete };

// One track of the table of contents.
struct TrackEntry {
    std::uint8_t number = 1;
    std::uint8_t session = 1;
    std::uint8_t control = 4;  // data track, recorded uninterrupted
    std::uint32_t startLba = 0;
    std::uint32_t blocks = 0;
};

// A time on a CD in minutes, seconds and frames (75 a second).
struct Msf {
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    std::uint8_t frame = 0;
    bool operator==(const Msf&) const = default;
};

// What the pre-groove of a CD-R/RW tells (ATIP): the maker's lead-in start
// time and the last possible start of the lead-out.
struct AtipTimes {
    Msf leadInStart;
    Msf lastLeadOutStart;
};

// A stretch of blocks the drive cannot read (a scratch through the data):
// READ(10) and READ CD that touch it fail there with an unrecovered read
// error. With failures n >= 0 the stretch fails n reads and then reads (a
// marginal spot that a second try gets through); -1 never reads.
struct UnreadableZone {
    std::uint64_t firstBlock = 0;
    std::uint64_t blockCount = 0;
    int failures = -1;
};

// A disc as data: what later commands need to answer for it even where the
// present command set reads only part of it.
struct MediumDescription {
    std::string presetName;
    std::string description;
    MediumFamily family = MediumFamily::Dvd;
    std::uint16_t profile = 0;
    // Profiles a drive that does not know `profile` reads the disc as, in order
    // (a DVD-ROM drive reads a DVD+R as 10h).
    std::vector<std::uint16_t> readAsProfiles;
    std::uint64_t capacityBlocks = 0;  // recorded blocks
    std::uint64_t totalBlocks = 0;  // blocks the disc holds when full; 0: as recorded
    std::uint32_t blockSize = 2048;
    int bookType = -1;  // DVD book type 0-15, -1 where the format has none
    int bookVersion = 0;
    std::string manufacturerId;  // DVD+R/RW: 8 characters; DVD-R: pre-pit text; BD: 6 characters
    std::string mediaTypeId;  // DVD+R/RW and BD: 3 characters
    int layers = 1;
    bool erasable = false;
    bool formatted = true;  // rewritable discs: false until a format has run
    // DVD+RW: a background format stopped before its end (the disc is usable
    // and a restart goes on from there), and how far it had got (of 65536).
    bool formatStopped = false;
    std::uint16_t formatStoppedAt = 0;
    DiscStatus status = DiscStatus::Complete;
    double ratedSpeed = 0;  // in multiples of the family's 1x
    std::vector<TrackEntry> tracks;
    std::optional<AtipTimes> atip;  // CD-R and CD-RW
    std::string catalogNumber;  // a CD's media catalogue number: 13 digits, or empty
    std::string recorderText;  // DVD-R/RW: the recording drive's maker, serial and model in its RMD
    std::string imagePath;  // blocks come from this file; empty: a generated pattern
    ErrorProfile errors;  // what a drive's error scan finds on it
    std::vector<UnreadableZone> unreadable;  // what its reads cannot get through
};

}  // namespace emu
