#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

// F3h 0Eh 71h reads the book-type bits kept in flash (answer byte 0);
// F3h 0Fh 02h the status with the bits in use (answer byte 6).
void NuQsiVendorCommand(CommandContext& command)
{
    const NuQsiSettings& nu = command.drive.vendorSettings.nuQsi;
    std::vector<std::uint8_t> answer;
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
