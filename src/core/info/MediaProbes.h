#pragma once

#include "core/drive/MmcTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DriveContext;

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
