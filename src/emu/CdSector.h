#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace emu {

constexpr std::size_t kRawCdSectorBytes = 2352;
constexpr std::size_t kCdUserDataBytes = 2048;

// A Mode 1 data sector as the disc holds it: the sync pattern, the header
// (its address as a BCD time and the mode), the 2048 user bytes, the EDC
// and the P and Q parity of the CD's error correction.
std::array<std::uint8_t, kRawCdSectorBytes> MakeMode1Sector(std::int64_t lba,
                                                            std::span<const std::uint8_t, kCdUserDataBytes> user);

// The error detection code over the first 2064 bytes of a Mode 1 sector.
std::uint32_t CdEdc(std::span<const std::uint8_t> bytes);

}  // namespace emu
