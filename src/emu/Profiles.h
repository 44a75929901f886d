#pragma once

#include <cstdint>

namespace emu::profile {

// MMC profile numbers.
constexpr std::uint16_t kRemovableDisk = 0x02;
constexpr std::uint16_t kCdRom = 0x08;
constexpr std::uint16_t kCdR = 0x09;
constexpr std::uint16_t kCdRw = 0x0A;
constexpr std::uint16_t kDvdRom = 0x10;
constexpr std::uint16_t kDvdR = 0x11;
constexpr std::uint16_t kDvdRam = 0x12;
constexpr std::uint16_t kDvdRwRestricted = 0x13;
constexpr std::uint16_t kDvdRwSequential = 0x14;
constexpr std::uint16_t kDvdRDl = 0x15;
constexpr std::uint16_t kDvdRDlJump = 0x16;
constexpr std::uint16_t kDvdPlusRw = 0x1A;
constexpr std::uint16_t kDvdPlusR = 0x1B;
constexpr std::uint16_t kDvdPlusRwDl = 0x2A;
constexpr std::uint16_t kDvdPlusRDl = 0x2B;
constexpr std::uint16_t kBdRom = 0x40;
constexpr std::uint16_t kBdRSequential = 0x41;
constexpr std::uint16_t kBdRRandom = 0x42;
constexpr std::uint16_t kBdRe = 0x43;
constexpr std::uint16_t kHdDvdRom = 0x50;

}  // namespace emu::profile
