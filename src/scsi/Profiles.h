#pragma once

#include <cstdint>

// MMC profile numbers (GET CONFIGURATION's current profile and profile list).
namespace profile {

constexpr std::uint16_t kRemovableDisk = 0x02;
constexpr std::uint16_t kAsMo = 0x05;
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
constexpr std::uint16_t kDvdRwDl = 0x17;
constexpr std::uint16_t kDvdDownload = 0x18;
constexpr std::uint16_t kDvdPlusRw = 0x1A;
constexpr std::uint16_t kDvdPlusR = 0x1B;
constexpr std::uint16_t kDdcdRom = 0x20;
constexpr std::uint16_t kDdcdR = 0x21;
constexpr std::uint16_t kDdcdRw = 0x22;
constexpr std::uint16_t kDvdPlusRwDl = 0x2A;
constexpr std::uint16_t kDvdPlusRDl = 0x2B;
constexpr std::uint16_t kBdRom = 0x40;
constexpr std::uint16_t kBdRSequential = 0x41;
constexpr std::uint16_t kBdRRandom = 0x42;
constexpr std::uint16_t kBdRe = 0x43;
constexpr std::uint16_t kHdDvdRom = 0x50;
constexpr std::uint16_t kHdDvdR = 0x51;
constexpr std::uint16_t kHdDvdRam = 0x52;
constexpr std::uint16_t kHdDvdRw = 0x53;
constexpr std::uint16_t kHdDvdRDl = 0x58;
constexpr std::uint16_t kHdDvdRwDl = 0x5A;
constexpr std::uint16_t kHdBurnRom = 0x80;
constexpr std::uint16_t kHdBurnR = 0x81;
constexpr std::uint16_t kHdBurnRw = 0x82;
constexpr std::uint16_t kNonConforming = 0xFFFF;

// The profile families.
constexpr bool IsCdProfile(int number)
{
    return number >= kCdRom && number <= kCdRw;
}
// The double-density CDs and the HD-BURN discs.
constexpr bool IsDdcdProfile(int number)
{
    return (number >= kDdcdRom && number <= kDdcdRw) || (number >= kHdBurnRom && number <= kHdBurnRw);
}
constexpr bool IsBdProfile(int number)
{
    return number >= kBdRom && number <= kBdRe;
}
constexpr bool IsHdDvdProfile(int number)
{
    return number >= kHdDvdRom && number <= kHdDvdRwDl;
}

}  // namespace profile
