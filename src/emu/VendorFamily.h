#pragma once

#include <cstdint>

namespace emu {

// The maker whose vendor-unique commands a drive answers, beside MMC.
enum class VendorFamily { None, Nec, NuQsi, Ricoh, Benq, Liteon };

// What the vendor commands of a drive's family read and change: the book
// types it records on DVD+ media, its counters and modes. A preset holds the
// values at power-on; the drive's state holds the current ones.
struct VendorSettings {
    VendorFamily family = VendorFamily::None;

    // NEC: book-type byte per medium kind (0 DVD+R, 1 DVD+RW, 2 DVD+R DL),
    // [0] the flash default, [1] the temporary setting.
    std::uint8_t necBookType[3][2] = {{0xA0, 0xA0}, {0x90, 0x90}, {0xE0, 0xE0}};
    std::uint16_t necCommandVersion = 4;
    std::uint16_t necFlashWritesLeft = 100;

    // Nu/QSI: one bit per kind that is written as DVD-ROM (bit 0 +R, 1 +RW,
    // 2 -R, 3 -RW), in flash and as currently used.
    std::uint8_t nuFlashBooks = 0x01;
    std::uint8_t nuCurrentBooks = 0x03;

    // Ricoh: the book-type bytes written on DVD+RW and DVD+R.
    std::uint8_t ricohPlusRwBook = 0x92;
    std::uint8_t ricohPlusRBook = 0xA1;

    // BenQ: book types for DVD+RW and DVD+R (high nibble), the service mode
    // its protected commands need, and whether it has Solid Burn.
    std::uint8_t benqPlusRwBook = 0x90;
    std::uint8_t benqPlusRBook = 0xA0;
    bool benqServiceMode = false;
    bool benqServiceModeAllowed = true;  // newer firmware keeps it closed
    bool benqSolidBurn = true;

    // Lite-On: the book-type choice (0 as the disc is, 1 DVD-ROM, 2 DVD+RW),
    // the two status words and the jitter probe's first byte.
    std::uint8_t liteonBookType = 0x00;
    std::uint16_t liteonStatus10 = 0x0000;
    std::uint16_t liteonStatus20 = 0x0001;
    std::uint8_t liteonJitterProbe = 0x01;
};

}  // namespace emu
