#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

constexpr std::uint8_t kErrorRead = 0x0E;
constexpr std::uint8_t kMeasureEccBlock = 0x10;  // byte 8
constexpr std::size_t kAnswerLength = 16;

// F3h 0Eh with 10h in byte 8: the error counts of the next ECC block the
// drive measures: its sector number in bytes 1-3, PI in 4-5, PIF in 6-7.
void SamsungVendorCommand(CommandContext& command)
{
    bool errorRead = command.Byte(1) == kErrorRead && command.Byte(8) == kMeasureEccBlock;
    for (std::size_t index = 2; index < 8; ++index)
        errorRead = errorRead && command.Byte(index) == 0;
    if (!errorRead) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    const auto measured = MeasureNext(command, kEccBlockSectors);
    if (!measured)
        return;
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    scsi::PutBe24(&answer[1], static_cast<std::uint32_t>(measured->position));
    scsi::PutBe16(&answer[4], measured->errors.total.pi);
    scsi::PutBe16(&answer[6], measured->errors.total.pif);
    command.Answer(answer, kAnswerLength);
}

}  // namespace

void RegisterSamsungCommands(CommandTable& table)
{
    table.Register({.opcode = vendor_opcode::kErrorScan,
                    .name = "SAMSUNG VENDOR F3",
                    .cdbLength = 12,
                    .handler = SamsungVendorCommand});
}

}  // namespace emu
