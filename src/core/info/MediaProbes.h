#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DriveContext;

// What a drive returned for one command: the bytes that came, no more. A
// byte past them is absent and reads as 0.
struct DriveAnswer {
    bool ok = false;
    std::vector<std::uint8_t> bytes;

    std::uint8_t At(std::size_t index) const { return index < bytes.size() ? bytes[index] : 0; }
    bool Holds(std::size_t end) const { return ok && bytes.size() >= end; }
    std::uint32_t Be16(std::size_t at) const;
    std::uint32_t Be32(std::size_t at) const;
};

// Sends a CDB of the standard length for its opcode with `cdb` set into it,
// into a new zeroed buffer of `allocation` bytes; the answer keeps the bytes
// received.
DriveAnswer SendForAnswer(DriveContext& drive, const std::vector<std::uint8_t>& cdb, std::uint32_t allocation);
// READ DISC STRUCTURE of one format; media type 1 for BD.
DriveAnswer ReadStructure(DriveContext& drive, int mediaType, int format, std::uint32_t allocation,
                          std::uint32_t address = 0);

// The UDF identification of a data disc.
struct UdfVolume {
    std::string revision;  // "2.50"
    std::string volume;
    std::string application;
    std::string implementation;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// One 2048-byte block at an address; false when it cannot be read.
using BlockReader = std::function<bool(std::int64_t lba, std::vector<std::uint8_t>& block)>;

// 1 when the blocks hold a UDF volume (descriptor tags checked, the
// descriptor walk bounded), with its data in `volume`; else 0.
int CheckUDF(const BlockReader& read, UdfVolume& volume);

// The media catalogue number of a CD: from the write parameters mode page
// (05h), or from the Q sub-channel; 1 with the 13 digits in `out` when the
// drive marks it valid and it is not all zero, else 0.
int GetMediaCatalogNumber(DriveContext& drive, std::string& out);
int GetCDDAMediaCatalogNumber(DriveContext& drive, std::string& out);
