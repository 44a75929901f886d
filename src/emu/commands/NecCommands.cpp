#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

namespace emu {

namespace {

constexpr std::uint8_t kReadSetting = 0x02;
constexpr std::size_t kAnswerLength = 20;

// C9h 02h: the book-type byte of a medium kind (byte 2) from flash or the
// temporary setting (byte 9), with the command version and the flash writes
// the drive still allows.
void NecVendorCommand(CommandContext& command)
{
    if (!CdbHolds(command, 4, vendor_signature::kNec)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const std::uint8_t kind = command.Byte(2);
    const std::uint8_t selector = command.Byte(9);
    if (command.Byte(1) != kReadSetting || command.Byte(3) != 0x01 || kind > 2 || selector > 1) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const NecSettings& nec = command.drive.vendorSettings.nec;
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    answer[1] = nec.bookType[kind][selector];
    scsi::PutBe16(&answer[2], nec.commandVersion);
    scsi::PutBe16(&answer[4], nec.flashWritesLeft);
    command.Answer(answer, kAnswerLength);
}

// F3h: the error-rate session of firmware 2R8 on, with the measuring cursor
// set by 02h's LBA; older firmware knows no F3h.
void NecErrorScan(CommandContext& command)
{
    NecSettings& nec = command.drive.vendorSettings.nec;
    if (!nec.errorRateCommands) {
        command.Fail(sense::kInvalidOpcode);
        return;
    }
    AnswerF3Session(command, nec.sessionOpen, true);
}

}  // namespace

void RegisterNecCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kErrorScan, .name = "NEC VENDOR F3", .cdbLength = 12, .handler = NecErrorScan});
    table.Register(
        {.opcode = vendor_opcode::kNec, .name = "NEC VENDOR C9", .cdbLength = 10, .handler = NecVendorCommand});
}

}  // namespace emu
