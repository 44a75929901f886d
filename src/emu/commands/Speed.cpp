#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::uint16_t kMaximumSpeed = 0xFFFF;

std::uint16_t Clamp(std::uint16_t requested, std::uint16_t maximum)
{
    return requested == kMaximumSpeed ? maximum : std::min(requested, maximum);
}

void SetCdSpeed(CommandContext& command)
{
    if ((command.Byte(1) & 0x03) > 1) {  // rotation control: CLV or CAV only
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    DriveState& drive = command.drive;
    const DriveCapabilities& caps = drive.identity.capabilities;
    drive.readSpeedKBps = Clamp(command.Be16(2), caps.maxReadSpeedKBps);
    drive.writeSpeedKBps = Clamp(command.Be16(4), caps.maxWriteSpeedKBps);
}

}  // namespace

void RegisterSpeedCommands(CommandTable& table)
{
    table.Register({.opcode = mmc::kSetCdSpeed, .name = "SET CD SPEED", .cdbLength = 12, .handler = SetCdSpeed});
}

}  // namespace emu
