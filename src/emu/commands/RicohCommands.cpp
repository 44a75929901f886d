#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

// FAh 00h / 10h: the book-type byte the drive writes on DVD+RW / DVD+R, in
// answer byte 4.
void RicohVendorCommand(CommandContext& command)
{
    const RicohSettings& ricoh = command.drive.vendorSettings.ricoh;
    std::vector<std::uint8_t> answer(6, 0);
    if (command.Byte(1) == 0x00) {
        answer[4] = ricoh.plusRwBook;
    } else if (command.Byte(1) == 0x10) {
        answer[4] = ricoh.plusRBook;
    } else {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    command.Answer(answer, command.Be16(7));
}

}  // namespace

void RegisterRicohCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kRicoh, .name = "RICOH VENDOR FA", .cdbLength = 10, .handler = RicohVendorCommand});
}

}  // namespace emu
