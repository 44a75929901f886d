#pragma once

#include "scsi/DiscStructure.h"
#include "scsi/Profiles.h"

#include <array>
#include <cstddef>
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
    Lg,  // HL-DT-ST: the book type behind FAh and FCh
};

// The kinds of disc a drive keeps a book type for: what it writes into the
// lead-in of the next disc of that kind it burns.
enum class BookKind { PlusR, PlusRw, PlusRDl, MinusR, MinusRw };
constexpr std::size_t kBookKinds = 5;

// A DVD book type (0 DVD-ROM, 2 DVD-R, 3 DVD-RW, 9 DVD+RW, 10 DVD+R, 14
// DVD+R DL) a drive writes on one kind of disc: its default, kept over
// power-off (flash, EEPROM), and a temporary setting that stands in for it
// while `useTemporary` is set, until power-off.
struct BookTypeSetting {
    std::uint8_t defaultBook = 0;
    std::uint8_t temporaryBook = 0;
    bool useTemporary = false;
};

// The book type of each kind as the disc itself has it.
constexpr std::uint8_t OwnBookType(BookKind kind)
{
    constexpr std::uint8_t books[kBookKinds] = {10, 9, 14, 2, 3};
    return books[static_cast<std::size_t>(kind)];
}

// Every family's book-type commands read and change these; the disc
// structure of a blank or appendable disc shows the book type of its kind
// that the next burn would write.
struct BookTypeSettings {
    std::array<BookTypeSetting, kBookKinds> kinds = {{
        {OwnBookType(BookKind::PlusR), OwnBookType(BookKind::PlusR), false},
        {OwnBookType(BookKind::PlusRw), OwnBookType(BookKind::PlusRw), false},
        {OwnBookType(BookKind::PlusRDl), OwnBookType(BookKind::PlusRDl), false},
        {OwnBookType(BookKind::MinusR), OwnBookType(BookKind::MinusR), false},
        {OwnBookType(BookKind::MinusRw), OwnBookType(BookKind::MinusRw), false},
    }};

    BookTypeSetting& operator[](BookKind kind) { return kinds[static_cast<std::size_t>(kind)]; }
    const BookTypeSetting& operator[](BookKind kind) const { return kinds[static_cast<std::size_t>(kind)]; }
    // The book type the next burn of this kind writes.
    std::uint8_t InUse(BookKind kind) const
    {
        const BookTypeSetting& setting = (*this)[kind];
        return setting.useTemporary ? setting.temporaryBook : setting.defaultBook;
    }
    // A new default; the temporary setting follows it unless one is in use.
    void SetDefault(BookKind kind, std::uint8_t book)
    {
        BookTypeSetting& setting = (*this)[kind];
        setting.defaultBook = book;
        if (!setting.useTemporary)
            setting.temporaryBook = book;
    }
    // A temporary setting, used from now on.
    void SetTemporary(BookKind kind, std::uint8_t book)
    {
        BookTypeSetting& setting = (*this)[kind];
        setting.temporaryBook = book;
        setting.useTemporary = true;
    }
};

// The kind of a disc by its profile; none for a disc without a book-type setting.
constexpr std::optional<BookKind> BookKindOfProfile(std::uint16_t discProfile)
{
    switch (discProfile) {
    case profile::kDvdPlusR: return BookKind::PlusR;
    case profile::kDvdPlusRw: return BookKind::PlusRw;
    case profile::kDvdPlusRDl: return BookKind::PlusRDl;
    case profile::kDvdR: return BookKind::MinusR;
    case profile::kDvdRwRestricted:
    case profile::kDvdRwSequential: return BookKind::MinusRw;
    default: return std::nullopt;
    }
}

// What each family's vendor commands read and change. A preset holds the
// values at power-on; the drive's state holds the current ones. Every drive
// carries all of them, and its family's commands use their own.

// NEC (C9h): the book types of DVD+R, DVD+RW and DVD+R DL, flash (default)
// and temporary, as the firmware's command version allows them (1: DVD+R
// DL flash only, 2: DVD+R DL, 3: and DVD+R, 4: and DVD+RW), with the flash
// writes the drive still allows.
struct NecSettings {
    std::uint16_t commandVersion = 4;
    std::uint16_t flashWritesLeft = 100;
    // F3h error-rate session (01h, 02h, 03h, 0Fh): firmware before 2R8 has
    // none; 02h puts the measuring cursor on its LBA (bytes 2-5).
    bool errorRateCommands = true;
    bool sessionOpen = false;
};

// One range DC erase erased (F3h 0Ch 05h): physical sectors of a DVD, or
// for the CD form (cd) the drive's own sub-code positions.
struct DcErasedRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool cd = false;
    bool operator==(const DcErasedRange&) const = default;
};

// The DC erase of the Nu/QSI family (F3h 0Ch 00h-06h, byte 11 other than
// AAh): the erase mode the access sequence opens, the set-up's parameters,
// the status word that the one-block writes (03h) count down to the
// drive's readiness, and the erase step under way (06h: 0 idle, 1 busy, 2
// aborted).
struct DcEraseState {
    bool eraseMode = false;
    bool parametersSet = false;
    std::uint8_t rangeFlags = 0;
    std::uint8_t mode = 0;
    std::uint8_t speed = 0;
    std::uint16_t statusWord = 0;
    // Steps taken and not ended yet, in order, each with the time it ends:
    // a step sent while another runs waits behind it.
    struct Step {
        DcErasedRange range;
        std::uint64_t endMs = 0;
    };
    std::vector<Step> pending;
    std::uint8_t state = 0;
    std::vector<DcErasedRange> erased;  // the steps ended, in order
    // A step whose range holds this physical sector ends aborted (state 2),
    // as a write failure would end it; 0: none.
    std::uint32_t abortAtSector = 0;
};

// Nu/QSI (F3h): the book types are told as one bit per kind that is written
// as DVD-ROM (bit 0 +R, 1 +RW, 2 -R, 3 -RW), in flash (the defaults) and as
// currently used.
struct NuQsiSettings {
    // F3h 0Ch 00h with the access sequence opens the error measurement, 0Ch
    // 01h closes it; 0Eh 01h sets its mode (bytes 3-4), 0Ch 07h its start.
    bool measuringOpen = false;
    std::uint8_t measuringMode[2] = {0, 0};
    DcEraseState dcErase;
};

// BTC (F3h 0Eh, 10-byte CDB): counts four times the real ones. A drive
// misreads now and then: the first measurement that covers one of these
// sectors reports a spike of counts, which a SEEK back and a second read
// no longer show.
struct BtcSettings {
    std::vector<std::uint64_t> spikeSectors;
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

// BenQ (FDh and the commands it opens): the service mode (F1h/F2h) its
// protected commands (the book types of DVD+RW and DVD+R among them) need,
// Solid Burn, and the older models' vendor mode (11h/12h).
struct BenqSettings {
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

// Lite-On (DFh): one book-type choice for DVD+R and DVD+R DL (0 as the disc
// is, 1 DVD-ROM, 2 DVD+RW), the two status words, the first byte of the
// book-type dialog's probe, and whether the drive measures jitter (DFh 1Bh
// 82h 01h).
struct LiteonSettings {
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
    BookTypeSettings bookTypes;
    NecSettings nec;
    NuQsiSettings nuQsi;
    BtcSettings btc;
    BenqSettings benq;
    LiteonSettings liteon;
    CyberdriveSettings cyberdrive;
    IhasSettings ihas;
    PlextorSettings plextor;
    PioneerSettings pioneer;
};

}  // namespace emu
