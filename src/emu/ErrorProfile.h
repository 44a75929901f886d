#pragma once

#include <cstdint>
#include <vector>

namespace emu {

// The sectors of one ECC block of a DVD: the unit a drive's decoder counts
// its errors in.
constexpr std::uint32_t kEccBlockSectors = 16;

// What the decoder finds in one ECC block (208 rows, 182 columns).
struct EccBlockErrors {
    std::uint32_t pi = 0;  // PI errors: rows the inner code had to correct
    std::uint32_t pif = 0;  // PI failures: rows it could not correct
    std::uint32_t po = 0;  // PO errors: columns the outer code had to correct
    std::uint32_t pof = 0;  // PO failures: columns it could not correct
    std::uint32_t jitter = 0;  // tenths of a percent
    bool operator==(const EccBlockErrors&) const = default;
};

// A stretch of the disc that reads worse (a scratch, a dye fault): every
// ECC block that touches it has these counts instead of the profile's.
struct BadZone {
    std::uint64_t firstSector = 0;
    std::uint64_t sectorCount = 0;
    EccBlockErrors errors;
};

// The errors of every ECC block of a burned disc, as a hash of the seed and
// the block's number: the same disc reads the same in every drive and every
// run. Counts spread evenly between 0 and twice their mean; a PI failure
// comes with a PO error column.
struct ErrorProfile {
    std::uint64_t seed = 1;
    std::uint32_t piMean = 1;  // PI per ECC block: about 8 per eight blocks, a good disc
    std::uint32_t pifPerMille = 15;  // ECC blocks in a thousand with one PI failure
    std::uint32_t jitterMean = 80;  // tenths of a percent; spread by up to 1.0 % either way
    std::vector<BadZone> badZones;

    // Sectors are counted from LBA 0; block n holds sectors 16n to 16n + 15.
    EccBlockErrors Block(std::uint64_t eccBlock) const;
};

// What a drive that measures a stretch reports: the counts summed over the
// ECC blocks it touches, their largest, and the mean jitter.
struct ErrorSum {
    EccBlockErrors total;  // jitter: the mean
    EccBlockErrors peak;
    std::uint64_t blocks = 0;
};
ErrorSum MeasureSectors(const ErrorProfile& profile, std::uint64_t firstSector, std::uint64_t sectorCount);

}  // namespace emu
