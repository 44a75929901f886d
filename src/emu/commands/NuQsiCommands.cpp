#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>

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

// F3h 0Eh 71h reads the book-type bits kept in flash (answer byte 0);
// F3h 0Fh 02h the status with the bits in use (answer byte 6); 0Ch and
// 0Eh 01h/80h are the error measurement.
void NuQsiVendorCommand(CommandContext& command)
{
    NuQsiSettings& nu = command.drive.vendorSettings.nuQsi;
    std::vector<std::uint8_t> answer;
    if (command.Byte(1) == 0x0C) {
        Measuring(command);
        return;
    }
    if (command.Byte(1) == 0x0E && command.Byte(2) == 0x80) {
        ReadErrorData(command);
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
        answer = {nu.flashBooks, 0x00};
    } else if (command.Byte(1) == 0x0F && command.Byte(2) == 0x02) {
        answer.assign(8, 0);
        answer[6] = nu.currentBooks;
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
