#include "emu/MediumGeometry.h"
#include "emu/commands/BookTypes.h"
#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>
#include <iterator>

namespace emu {

namespace {

constexpr std::uint8_t kAccessByte = 0xAA;  // byte 11 of the 0Ch commands
constexpr std::size_t kShortAnswer = 36;
constexpr std::size_t kErrorAnswer = 32768;
constexpr std::uint32_t kMostSectorsPerRead = 512;

std::uint16_t Saturated(std::uint32_t count)
{
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(count, 0xFFFF));
}

bool NeedsOpenMeasurement(CommandContext& command)
{
    if (!command.drive.vendorSettings.nuQsi.measuringOpen) {
        command.Fail(sense::kCommandSequenceError);
        return false;
    }
    return HasReadyMedium(command);
}

// F3h 0Ch: 00h with the access sequence in bytes 3-7 opens the error
// measurement, 01h closes it, 07h starts it at the physical sector of bytes
// 3-5 (its ECC block).
void Measuring(CommandContext& command)
{
    NuQsiSettings& nu = command.drive.vendorSettings.nuQsi;
    const std::uint8_t function = command.Byte(2);
    if ((function == 0x00 || function == 0x01) && command.Byte(11) != kAccessByte) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    switch (function) {
    case 0x00:
        if (!CdbHolds(command, 3, vendor_signature::kGenericF3)) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        nu.measuringOpen = true;
        break;
    case 0x01: nu.measuringOpen = false; break;
    case 0x07: {
        if (!NeedsOpenMeasurement(command))
            return;
        const std::uint64_t physical = scsi::GetBe32(&command.cdb[2]) & 0xFFFFFF;
        if (physical < kDvdFirstDataSector
            || physical - kDvdFirstDataSector >= command.drive.medium->description.capacityBlocks) {
            command.Fail(sense::kLbaOutOfRange);
            return;
        }
        MoveMeasurementTo(command.drive, physical - kDvdFirstDataSector);
        break;
    }
    default: command.Fail(sense::kInvalidFieldInCdb); return;
    }
    command.Answer(std::vector<std::uint8_t>(kShortAnswer, 0), kShortAnswer);
}

constexpr std::size_t kDcEraseAnswer = 2048;
constexpr std::uint16_t kDcStatusWordAtSetUp = 46;
constexpr std::uint16_t kDcStatusWordStep = 8;  // a one-block write brings the drive this much closer
constexpr std::uint32_t kDcLastLeadInSector = 0x2FFFF;  // the data zone starts at 30000h
constexpr std::uint32_t kDcShortestStepMs = 2000;
constexpr std::uint32_t kDcQuickCdMs = 60000;  // at 1x
constexpr std::uint32_t kDcFullCdMs = 1200000;
constexpr std::uint8_t kDcCdForm = 0x01;  // byte 11 of 05h in its CD form
constexpr std::uint8_t kDcQuickCdRange[3] = {0x03, 0x00, 0x00};  // bytes 6-8 of the quick CD form
constexpr std::uint32_t kDvd1xKBps = 1385;
constexpr std::uint8_t kDcDefaultSpeed = 4;  // the drive's own choice when the host gives 0

// The end of a DC erase step: the range is gone from the disc (the lead-in
// makes it blank; past the lead-in the data is gone too), or the step was
// aborted where the drive failed.
void SettleDcErase(DriveState& drive)
{
    DcEraseState& dc = drive.vendorSettings.nuQsi.dcErase;
    while (!dc.pending.empty() && drive.clock->NowMs() >= dc.pending.front().endMs) {
        const DcErasedRange range = dc.pending.front().range;
        dc.pending.erase(dc.pending.begin());
        if (dc.abortAtSector && !range.cd && dc.abortAtSector >= range.first && dc.abortAtSector <= range.last) {
            dc.state = 2;  // the drive gives up, and the steps behind it too
            dc.pending.clear();
            return;
        }
        dc.erased.push_back(range);
        if (!drive.medium)
            continue;
        LoadedMedium& disc = *drive.medium;
        const bool quickCd = range.cd && range.last == 0x030000;
        if (range.cd || range.last >= kDcLastLeadInSector)
            MakeBlank(disc.description);
        if ((range.cd && !quickCd) || (!range.cd && range.last > kDcLastLeadInSector + 1))
            disc.source->EraseAll();
    }
    if (dc.state != 2)
        dc.state = dc.pending.empty() ? 0 : 1;
}

bool NeedsDcSetUp(CommandContext& command, bool parameters)
{
    const DcEraseState& dc = command.drive.vendorSettings.nuQsi.dcErase;
    if (!dc.eraseMode || (parameters && !dc.parametersSet)) {
        command.Fail(sense::kCommandSequenceError);
        return false;
    }
    if (!HasReadyMedium(command))
        return false;
    if (!command.drive.medium->description.erasable) {
        command.Fail(sense::kCannotWriteMedium);
        return false;
    }
    return true;
}

// DC erase, F3h 0Ch with byte 11 other than AAh: 00h with the access
// sequence opens the erase mode, 01h leaves it (a step under way is given
// up), 02h sets mode, range type and speed (bytes 3-5), 03h writes blocks of
// zeros (bytes 4-5) that count the status word down, 04h reads the status
// word (answer bytes 0-1), 05h erases physical sectors (bytes 3-5 to 6-8;
// with byte 11 01h the CD form), 06h reads the step's state (answer byte 3).
void DcErase(CommandContext& command)
{
    DriveState& drive = command.drive;
    DcEraseState& dc = drive.vendorSettings.nuQsi.dcErase;
    SettleDcErase(drive);
    std::vector<std::uint8_t> answer(kDcEraseAnswer, 0);
    switch (command.Byte(2)) {
    case 0x00:
        if (!CdbHolds(command, 3, vendor_signature::kDcEraseAccess)) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        dc.eraseMode = true;
        break;
    case 0x01:
        dc.eraseMode = dc.parametersSet = false;
        dc.pending.clear();  // a step under way is given up
        dc.state = 0;
        break;
    case 0x02:
        if (!NeedsDcSetUp(command, false))
            return;
        dc.rangeFlags = command.Byte(3);
        dc.mode = command.Byte(4);
        dc.speed = command.Byte(5) ? command.Byte(5) : kDcDefaultSpeed;
        dc.parametersSet = true;
        dc.statusWord = kDcStatusWordAtSetUp;
        break;
    case 0x03: {
        if (!NeedsDcSetUp(command, true))
            return;
        const std::uint32_t blocks = command.Be16(4);
        if (!command.TransferIs(std::size_t{blocks} * kDcEraseAnswer))
            return;
        std::size_t length = 0;
        if (!command.DataOut(length) || length < std::size_t{blocks} * kDcEraseAnswer) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        command.SetTransferred(std::size_t{blocks} * kDcEraseAnswer);
        dc.statusWord = static_cast<std::uint16_t>(dc.statusWord - std::min(dc.statusWord, kDcStatusWordStep));
        return;
    }
    case 0x04:
        if (!dc.eraseMode) {
            command.Fail(sense::kCommandSequenceError);
            return;
        }
        scsi::PutBe16(&answer[0], dc.statusWord);
        break;
    case 0x05: {
        if (!NeedsDcSetUp(command, true))
            return;
        if (dc.statusWord > 22) {
            command.Fail(sense::kCommandSequenceError);  // not ready to erase yet
            return;
        }
        const bool cd = command.Byte(11) == kDcCdForm;
        const std::uint32_t first = scsi::GetBe24(&command.cdb[3]);
        const std::uint32_t last = scsi::GetBe24(&command.cdb[6]);
        if (!cd && last < first) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        std::uint64_t durationMs = 0;
        if (cd) {
            const bool quick = std::equal(std::begin(kDcQuickCdRange), std::end(kDcQuickCdRange), &command.cdb[6]);
            durationMs = (quick ? kDcQuickCdMs : kDcFullCdMs) / dc.speed;
        } else {
            durationMs = std::uint64_t{last - first + 1} * kDcEraseAnswer / (std::uint64_t{dc.speed} * kDvd1xKBps);
        }
        const std::uint64_t startMs = dc.pending.empty() ? drive.clock->NowMs() : dc.pending.back().endMs;
        dc.pending.push_back({{first, last, cd}, startMs + std::max<std::uint64_t>(durationMs, kDcShortestStepMs)});
        dc.state = 1;
        break;
    }
    case 0x06:
        if (!dc.eraseMode) {
            command.Fail(sense::kCommandSequenceError);
            return;
        }
        answer[3] = dc.state;
        break;
    default: command.Fail(sense::kInvalidFieldInCdb); return;
    }
    command.Answer(answer, kDcEraseAnswer);
}

// F3h 0Eh 80h: the counts of the next stretch, byte 8 ECC blocks of it but
// never more than 512 sectors: physical sector in bytes 0-3, PI in 4-5, PIF
// in 6-7, PO failures in 10-11, mean jitter in 16-17 of a 32 KB answer.
void ReadErrorData(CommandContext& command)
{
    const std::uint32_t blocks = command.Byte(8);
    if (blocks == 0) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!NeedsOpenMeasurement(command))
        return;
    const auto measured = MeasureNext(command, std::min(blocks * kEccBlockSectors, kMostSectorsPerRead));
    if (!measured)
        return;
    std::vector<std::uint8_t> answer(kErrorAnswer, 0);
    const std::uint64_t physical = measured->addressLost ? 0 : measured->position + kDvdFirstDataSector;
    scsi::PutBe32(&answer[0], static_cast<std::uint32_t>(physical));
    scsi::PutBe16(&answer[4], Saturated(measured->errors.total.pi));
    scsi::PutBe16(&answer[6], Saturated(measured->errors.total.pif));
    scsi::PutBe16(&answer[10], Saturated(measured->errors.total.pof));
    scsi::PutBe16(&answer[16], Saturated(measured->errors.total.jitter));
    command.Answer(answer, kErrorAnswer);
}

// The kinds of the book-type bits, bit 0 first.
constexpr BookKind kBitKinds[] = {BookKind::PlusR, BookKind::PlusRw, BookKind::MinusR, BookKind::MinusRw};
constexpr std::uint8_t kCurrentOnly = 0x5A;  // byte 11 of a set that leaves the flash alone

// One bit per kind whose book type is DVD-ROM.
template <class BookOf>
std::uint8_t RomBits(BookOf bookOf)
{
    std::uint8_t bits = 0;
    for (std::size_t bit = 0; bit < std::size(kBitKinds); ++bit)
        if (bookOf(kBitKinds[bit]) == 0)
            bits = static_cast<std::uint8_t>(bits | 1u << bit);
    return bits;
}

// F3h 0Eh 70h: byte 3's high nibble names the kinds, its low nibble which of
// them are written as DVD-ROM (the others as they are). Without byte 4 they
// are the drive's settings: flash and current (byte 11 0), or current only
// (5Ah). Byte 4 names the kind of the disc in the drive (02h DVD+RW, 08h
// DVD-RW), whose book type changes directly.
void SetBookTypes(CommandContext& command)
{
    const std::uint8_t kinds = command.Byte(3) >> 4;
    const std::uint8_t rom = command.Byte(3) & 0x0F;
    const std::uint8_t direct = command.Byte(4);
    const std::uint8_t save = command.Byte(11);
    if (direct != 0) {
        const bool plusRw = direct == 0x02;
        if ((!plusRw && direct != 0x08) || (save != 0 && save != kCurrentOnly)) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        const BookKind kind = plusRw ? BookKind::PlusRw : BookKind::MinusRw;
        if (MediumDescription* disc = DiscOfKind(command, {kind}))
            disc->bookType = (rom & direct) ? 0 : OwnBookType(kind);
        return;
    }
    if (kinds == 0 || (save != 0 && save != kCurrentOnly)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    for (std::size_t bit = 0; bit < std::size(kBitKinds); ++bit) {
        if (!(kinds & 1u << bit))
            continue;
        const BookKind kind = kBitKinds[bit];
        const std::uint8_t book = (rom & 1u << bit) ? 0 : OwnBookType(kind);
        if (save == kCurrentOnly) {
            books.SetTemporary(kind, book);
        } else {
            books[kind].defaultBook = book;
            books[kind].temporaryBook = book;
        }
    }
}

// F3h 0Eh 71h reads the book-type bits kept in flash (answer byte 0);
// F3h 0Fh 02h the status with the bits in use (answer byte 6); 0Eh 70h sets
// them; 0Ch and 0Eh 01h/80h are the error measurement.
void NuQsiVendorCommand(CommandContext& command)
{
    NuQsiSettings& nu = command.drive.vendorSettings.nuQsi;
    const BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    std::vector<std::uint8_t> answer;
    if (command.Byte(1) == 0x0C) {
        if (command.Byte(11) != kAccessByte && command.Byte(2) <= 0x06)
            DcErase(command);
        else
            Measuring(command);
        return;
    }
    if (command.Byte(1) == 0x0E && command.Byte(2) == 0x80) {
        ReadErrorData(command);
        return;
    }
    if (command.Byte(1) == 0x0E && command.Byte(2) == 0x70) {
        SetBookTypes(command);
        return;
    }
    if (command.Byte(1) == 0x0E && command.Byte(2) == 0x01) {
        if (!nu.measuringOpen) {
            command.Fail(sense::kCommandSequenceError);
            return;
        }
        nu.measuringMode[0] = command.Byte(3);
        nu.measuringMode[1] = command.Byte(4);
        command.Answer(std::vector<std::uint8_t>(kShortAnswer, 0), kShortAnswer);
        return;
    }
    if (command.Byte(1) == 0x0E && command.Byte(2) == 0x71) {
        answer = {RomBits([&](BookKind kind) { return books[kind].defaultBook; }), 0x00};
    } else if (command.Byte(1) == 0x0F && command.Byte(2) == 0x02) {
        answer.assign(8, 0);
        answer[6] = RomBits([&](BookKind kind) { return books.InUse(kind); });
    } else {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    command.Answer(answer, command.Be16(7));
}

}  // namespace

void RegisterNuQsiCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kNuQsi, .name = "NU/QSI VENDOR F3", .cdbLength = 12, .handler = NuQsiVendorCommand});
}

}  // namespace emu
