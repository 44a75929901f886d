#pragma once

#include "emu/SpeedModel.h"
#include "emu/VendorFamily.h"

#include <cstdint>
#include <string>
#include <vector>

namespace emu {

// One feature descriptor of GET CONFIGURATION. A feature is current when it
// is always current or when the drive's current profile is one of its profiles.
struct FeatureDescriptor {
    std::uint16_t code = 0;
    std::uint8_t version = 0;
    bool persistent = false;
    bool alwaysCurrent = false;
    std::vector<std::uint16_t> currentForProfiles;
    std::vector<std::uint8_t> data;  // the bytes after the 4-byte header, a multiple of 4
};

// How fast a drive reads and writes one family of media, in kB/s: 0 where
// it does not, and the write speeds it offers, fastest first.
struct MediumSpeeds {
    std::uint16_t readKBps = 0;
    std::uint16_t writeKBps = 0;
    std::vector<std::uint16_t> writeSpeedsKBps;
};

// What the capabilities mode page (2Ah) reports; bytes 2-5 are its flag bytes.
// Its speeds, like those of GET PERFORMANCE, are the loaded medium's.
struct DriveCapabilities {
    std::uint8_t readFlags = 0;
    std::uint8_t writeFlags = 0;
    std::uint8_t mediaFunctions = 0;
    std::uint8_t cdDaFunctions = 0;
    std::uint8_t loadingMechanism = 1;  // 1 = tray
    bool canLock = true;
    bool canEject = true;
    std::uint16_t volumeLevels = 256;
    std::uint16_t bufferKB = 0;
    // Extents GET PERFORMANCE describes a single-layer disc in: a zoned drive
    // reports one a zone.
    std::uint8_t readPerformanceZones = 1;
    MediumSpeeds cd;
    MediumSpeeds dvd;
    MediumSpeeds hdDvd;
    MediumSpeeds bd;
};

// Valid requests a drive does not take, as real drives refuse them.
struct Refusals {
    bool allModePages = false;  // MODE SENSE(10) of page 3Fh: INVALID FIELD IN CDB; single pages are answered
    bool featuresFromAboveZero = false;  // GET CONFIGURATION from a starting feature above 0: INVALID FIELD IN CDB
    std::vector<std::uint8_t> unknownCommands;  // answered as commands the drive does not know
    // An unknown command is lost on the way without status or sense, as some
    // bridges answer it, instead of INVALID COMMAND OPERATION CODE.
    bool unknownCommandsLost = false;
};

// The DVD region state a DVD drive reports (REPORT KEY, RPC state).
struct RegionState {
    std::uint8_t typeCode = 1;  // 0 no region set, 1 region set, 2 last change left, 3 permanent
    std::uint8_t vendorResetsLeft = 4;
    std::uint8_t userChangesLeft = 4;
    std::uint8_t regionMask = 0xFD;  // a clear bit is a region the drive plays: region 2
    std::uint8_t rpcScheme = 1;  // 0 RPC-1 (or not told), 1 RPC-2
};

// Everything that makes one drive model: its INQUIRY identity, its profiles,
// features and mode pages. Presets are values of this type.
struct DriveIdentity {
    std::string presetName;
    std::string description;
    std::string vendor;  // INQUIRY bytes 8-15
    std::string product;  // bytes 16-31
    std::string revision;  // bytes 32-35
    std::string vendorSpecific;  // bytes 36-55
    std::string serialNumber;
    std::uint8_t peripheralType = 5;
    std::uint8_t inquiryByte3 = 0x32;  // ATAPI version 3, response data format 2
    int busType = 2;  // the storage bus the system reports (2 = ATAPI)
    std::vector<std::uint16_t> profiles;  // profile list order, newest medium first
    std::vector<FeatureDescriptor> features;  // beside the profile list, ascending codes
    std::vector<std::vector<std::uint8_t>> modePages;  // current values of the pages beside 2Ah
    DriveCapabilities capabilities;
    VendorSettings vendorSettings;  // its vendor command set and their settings at power-on
    std::uint32_t spinUpMs = 1500;  // not ready after a load for this long
    ReadRotations rotations;  // how it spins each family of discs for reading
    // How long the long operations run: a full format (and a DVD+RW's
    // foreground format), a quick format, a DVD+RW's background format, a full
    // and a minimal blank, a close.
    std::uint32_t formatMs = 60000;
    std::uint32_t quickFormatMs = 20000;
    std::uint32_t backgroundFormatMs = 120000;
    std::uint32_t fullBlankMs = 240000;
    std::uint32_t minimalBlankMs = 40000;
    std::uint32_t closeMs = 4000;
    // TEST UNIT READY answers ready while a CLOSE TRACK/SESSION still runs;
    // the other commands that need the disc report it (as some drives do).
    bool readyWhileClosing = false;
    RegionState region;  // reported by drives that read DVD
    Refusals refusals;
};

}  // namespace emu
