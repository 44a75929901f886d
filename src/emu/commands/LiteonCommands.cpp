#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

constexpr std::size_t kAnswerLength = 128;
enum BookTypeFunction : std::uint8_t { kRead = 0x00, kSet = 0x01, kStatus10 = 0x10, kStatus20 = 0x20 };

// DFh 1Bh: the jitter probe. DFh 00h 0Fh: the book-type function in byte 3
// (read, set to byte 4, or one of two status words in answer bytes 2-3).
void LiteonVendorCommand(CommandContext& command)
{
    VendorSettings& liteon = command.drive.vendorSettings;
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    if (command.Byte(1) == 0x1B) {
        answer[0] = liteon.liteonJitterProbe;
        command.Answer(answer, kAnswerLength);
        return;
    }
    if (command.Byte(1) != 0x00 || command.Byte(2) != 0x0F) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    switch (command.Byte(3)) {
    case kRead: answer[0] = liteon.liteonBookType; break;
    case kSet:
        if (command.Byte(4) > 2) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        liteon.liteonBookType = command.Byte(4);
        return;
    case kStatus10: scsi::PutBe16(&answer[2], liteon.liteonStatus10); break;
    case kStatus20: scsi::PutBe16(&answer[2], liteon.liteonStatus20); break;
    default: command.Fail(sense::kInvalidFieldInCdb); return;
    }
    command.Answer(answer, kAnswerLength);
}

}  // namespace

void RegisterLiteonCommands(CommandTable& table)
{
    table.Register({.opcode = vendor_opcode::kLiteon,
                    .name = "LITE-ON VENDOR DF",
                    .cdbLength = 12,
                    .handler = LiteonVendorCommand});
}

}  // namespace emu
