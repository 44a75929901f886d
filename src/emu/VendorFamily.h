#pragma once

#include "scsi/DiscStructure.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace emu {

// The maker whose vendor-unique commands a drive answers, beside MMC: its
// book-type commands and the commands of its error-rate scans.
enum class VendorFamily {
    None,
    Nec,  // NEC and Optiarc
    NuQsi,  // Nu/QSI-made drives: the generic F3 scan family
    Ricoh,
    Benq,
    Liteon,
    Btc,
    Cyberdrive,
    Pioneer,
    Aopen,
    Plextor,
    Samsung,
    Ihas,  // also answers the NEC family's C9h query
};

// What each family's vendor commands read and change. A preset holds the
// values at power-on; the drive's state holds the current ones. Every drive
// carries all of them, and its family's commands use their own.

// NEC (C9h): book-type byte per medium kind (0 DVD+R, 1 DVD+RW, 2 DVD+R DL),
// [0] the flash default, [1] the temporary setting.
struct NecSettings {
    std::uint8_t bookType[3][2] = {{0xA0, 0xA0}, {0x90, 0x90}, {0xE0, 0xE0}};
    std::uint16_t commandVersion = 4;
    std::uint16_t flashWritesLeft = 100;
    // F3h error-rate session (01h, 02h, 03h, 0Fh): firmware before 2R8 has
    // none; 02h puts the measuring cursor on its LBA (bytes 2-5).
    bool errorRateCommands = true;
    bool sessionOpen = false;
};

// Nu/QSI (F3h): one bit per kind that is written as DVD-ROM (bit 0 +R, 1
// +RW, 2 -R, 3 -RW), in flash and as currently used.
struct NuQsiSettings {
    std::uint8_t flashBooks = 0x01;
    std::uint8_t currentBooks = 0x03;
    // F3h 0Ch 00h with the access sequence opens the error measurement, 0Ch
    // 01h closes it; 0Eh 01h sets its mode (bytes 3-4), 0Ch 07h its start.
    bool measuringOpen = false;
    std::uint8_t measuringMode[2] = {0, 0};
};

// BTC (F3h 0Eh, 10-byte CDB): counts four times the real ones. A drive
// misreads now and then: the first measurement that covers one of these
// sectors reports a spike of counts, which a SEEK back and a second read
// no longer show.
struct BtcSettings {
    std::vector<std::uint64_t> spikeSectors;
};

// Ricoh (FAh): the book-type bytes written on DVD+RW and DVD+R.
struct RicohSettings {
    std::uint8_t plusRwBook = 0x92;
    std::uint8_t plusRBook = 0xA1;
};

// A fault of the newer BenQ models' error statistics: once the measurement
// reaches `lba`, the drive answers with `status` (02h, 22h, 32h, FFh), or
// with empty answers (no data) when the status is 0, for `answers` answers
// (-1: until the statistics are armed again) or, with `stallMs`, for that
// long on its clock.
struct BenqStatisticsFault {
    std::uint64_t lba = 0;
    std::uint8_t status = 0;
    int answers = 1;
    std::uint32_t stallMs = 0;
};

// BenQ (FDh and the commands it opens): book types for DVD+RW and DVD+R
// (high nibble), the service mode (F1h/F2h) its protected commands need,
// Solid Burn, and the older models' vendor mode (11h/12h).
struct BenqSettings {
    std::uint8_t plusRwBook = 0x90;
    std::uint8_t plusRBook = 0xA0;
    bool serviceMode = false;
    bool serviceModeAllowed = true;  // newer firmware keeps it closed
    bool solidBurn = true;
    // The newer models report their error statistics through F9h/F8h in
    // service mode; the older ones answer F0h in their vendor mode.
    bool newerModel = true;
    bool vendorModeAllowed = true;  // FDh 11h taken
    bool vendorMode = false;
    // The newer models' F9h/F8h exchange: the answer F8h reads to the last
    // parameter block, the speed code, the statistics mode (0 off) and the
    // physical sector the statistics measure next.
    std::vector<std::uint8_t> pendingAnswer;
    std::uint8_t speedCode = 0;
    std::uint8_t statisticsMode = 0;
    std::uint32_t statisticsPsn = kDvdFirstDataSector;
    // Injected faults still ahead, and the one in force with when it began.
    std::vector<BenqStatisticsFault> faults;
    std::optional<BenqStatisticsFault> activeFault;
    std::uint64_t faultSinceMs = 0;
};

// Lite-On (DFh): the book-type choice (0 as the disc is, 1 DVD-ROM, 2
// DVD+RW), the two status words, the first byte of the book-type dialog's
// probe, and whether the drive measures jitter (DFh 1Bh 82h 01h).
struct LiteonSettings {
    std::uint8_t bookType = 0x00;
    std::uint16_t status10 = 0x0000;
    std::uint16_t status20 = 0x0001;
    std::uint8_t jitterProbe = 0x01;
    bool measuresJitter = true;
};

// Cyberdrive (33h 6Ch): the measuring mode the signature command opens;
// A9h places its cursor, from which B1h answers measure on.
struct CyberdriveSettings {
    bool measuringMode = false;
    bool positioned = false;
};

// iHAS (F3h 01h ... 0Fh): the error-rate session the start sub-commands open.
struct IhasSettings {
    bool sessionOpen = false;
};

// Plextor (EAh): the error count a pass keeps while the host reads the disc
// itself with READ(10). EAh 15h starts a pass (PIE or PIF counted in units
// of `unitBlocks` ECC blocks, or jitter), EAh 16h reports what the reads
// since the last report found and starts the next group, EAh 17h stops.
enum class PlextorPass { None, Pie, Pif, Jitter };
struct PlextorSettings {
    PlextorPass pass = PlextorPass::None;
    std::uint32_t unitBlocks = 8;
    std::uint32_t unitSum = 0;  // the unit being counted
    std::uint32_t unitFill = 0;  // its ECC blocks so far
    std::uint32_t largestUnit = 0;  // the largest unit count of the group
    std::uint64_t jitterSum = 0;  // tenths of a percent over the group's blocks
    std::uint32_t groupBlocks = 0;
    std::int64_t lastBlock = -1;  // decoded last: a read that starts inside it does not count it again
};

// Pioneer (WRITE BUFFER / READ BUFFER of buffer E1h) and AOpen (E7h): the
// answer the last measuring request prepared, until READ BUFFER takes it.
struct PioneerSettings {
    bool answerReady = false;
    std::array<std::uint8_t, 32> answer{};
};

struct VendorSettings {
    VendorFamily family = VendorFamily::None;
    NecSettings nec;
    NuQsiSettings nuQsi;
    RicohSettings ricoh;
    BtcSettings btc;
    BenqSettings benq;
    LiteonSettings liteon;
    CyberdriveSettings cyberdrive;
    IhasSettings ihas;
    PlextorSettings plextor;
    PioneerSettings pioneer;
};

}  // namespace emu
