#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>
#include <cmath>

namespace emu {

namespace {

constexpr std::uint8_t kFamilyByte = 0x6C;
constexpr std::uint8_t kSignatureCommand = 0x80;

// 33h 6Ch 80h: byte 3 opens (1) or closes (0) the measuring mode, behind
// the family's signature in bytes 4-6; the answer is as long as bytes 7-9
// ask, its first byte the mode now in force.
void SignatureCommand(CommandContext& command)
{
    if (!CdbHolds(command, 4, vendor_signature::kCyberdrive) || command.Byte(3) > 1) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    CyberdriveSettings& cyberdrive = command.drive.vendorSettings.cyberdrive;
    cyberdrive.measuringMode = command.Byte(3) == 1;
    cyberdrive.positioned = false;
    const std::uint32_t length = scsi::GetBe32(&command.cdb[6]) & 0xFFFFFF;
    std::vector<std::uint8_t> answer(length, 0);
    if (!answer.empty())
        answer[0] = cyberdrive.measuringMode ? 1 : 0;
    command.Answer(answer, length);
}

constexpr std::uint8_t kPlace = 0xA9;
constexpr std::uint8_t kMeasure = 0xB1;
constexpr std::size_t kPlaceAnswer = 32;
constexpr std::size_t kMeasurementHead = 12;
constexpr std::uint32_t kSectorsPerAnswer = 8 * kEccBlockSectors;

bool InMeasuringMode(CommandContext& command)
{
    if (!command.drive.vendorSettings.cyberdrive.measuringMode) {
        command.Fail(sense::kCommandSequenceError);
        return false;
    }
    return HasReadyMedium(command);
}

// 33h 6Ch A9h: places the measurement at the LBA of bytes 3-5 (bit 7 of
// byte 3 set); bytes 6-7 are the drive's own parameters.
void Place(CommandContext& command)
{
    if ((command.Byte(3) & 0x80) == 0) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!InMeasuringMode(command))
        return;
    const std::uint32_t lba = scsi::GetBe24(&command.cdb[3]) & 0x7FFFFF;
    if (lba >= command.drive.medium->description.capacityBlocks) {
        command.Fail(sense::kLbaOutOfRange);
        return;
    }
    MoveMeasurementTo(command.drive, lba);
    command.drive.vendorSettings.cyberdrive.positioned = true;
    command.Answer(std::vector<std::uint8_t>(kPlaceAnswer, 0), kPlaceAnswer);
}

// 33h 6Ch B1h: the next 128 sectors measured from the cursor, as long an
// answer as bytes 6-8 ask: the position reached (bit 7 of byte 0 set), PI
// in bytes 3-4, PO in 5-6 and the raw jitter in 10-11. At the end of the
// recorded data the drive reports the end and counts nothing.
void Measure(CommandContext& command)
{
    if (!InMeasuringMode(command))
        return;
    DriveState& drive = command.drive;
    if (!drive.vendorSettings.cyberdrive.positioned) {
        command.Fail(sense::kCommandSequenceError);
        return;
    }
    const std::uint32_t length = scsi::GetBe24(&command.cdb[6]);
    std::vector<std::uint8_t> answer(std::max<std::size_t>(length, kMeasurementHead), 0);
    const std::uint64_t first = drive.measuring.position;
    const std::uint64_t end = drive.medium->description.capacityBlocks;
    std::uint64_t reported = std::min(first, end);
    if (first < end) {
        const auto measured = MeasureNext(
            command, static_cast<std::uint32_t>(std::min<std::uint64_t>(kSectorsPerAnswer, end - first)));
        if (!measured)
            return;
        // A drive that keeps its place reports it; else where it has come to.
        reported = drive.measuring.position == first ? measured->position : drive.measuring.position;
        scsi::PutBe16(&answer[3], std::min<std::uint32_t>(measured->errors.total.pi, 0xFFFF));
        scsi::PutBe16(&answer[5], std::min<std::uint32_t>(measured->errors.total.po, 0xFFFF));
        const double jitter = measured->errors.total.jitter / 1000.0;
        scsi::PutBe16(&answer[10], static_cast<std::uint32_t>(std::ceil(jitter * jitter * 10240)));
    }
    scsi::PutBe24(&answer[0], static_cast<std::uint32_t>(reported) | 0x800000);
    answer.resize(length);
    command.Answer(answer, length);
}

void CyberdriveVendorCommand(CommandContext& command)
{
    if (command.Byte(1) != kFamilyByte) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    switch (command.Byte(2)) {
    case kSignatureCommand: SignatureCommand(command); return;
    case kPlace: Place(command); return;
    case kMeasure: Measure(command); return;
    default: command.Fail(sense::kInvalidFieldInCdb);
    }
}

}  // namespace

void RegisterCyberdriveCommands(CommandTable& table)
{
    table.Register({.opcode = vendor_opcode::kCyberdrive,
                    .name = "CYBERDRIVE VENDOR 33",
                    .cdbLength = 12,
                    .handler = CyberdriveVendorCommand});
}

}  // namespace emu
