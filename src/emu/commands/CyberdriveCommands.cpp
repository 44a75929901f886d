#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

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
    const std::uint32_t length = scsi::GetBe32(&command.cdb[6]) & 0xFFFFFF;
    std::vector<std::uint8_t> answer(length, 0);
    if (!answer.empty())
        answer[0] = cyberdrive.measuringMode ? 1 : 0;
    command.Answer(answer, length);
}

void CyberdriveVendorCommand(CommandContext& command)
{
    if (command.Byte(1) == kFamilyByte && command.Byte(2) == kSignatureCommand) {
        SignatureCommand(command);
        return;
    }
    command.Fail(sense::kInvalidFieldInCdb);
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
