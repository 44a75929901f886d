#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

void PreventAllowMediumRemoval(CommandContext& command)
{
    command.drive.removalPrevented = command.Byte(4) & 0x01;
}

void StartStopUnit(CommandContext& command)
{
    const std::uint8_t flags = command.Byte(4);
    const bool loadEject = flags & 0x02;
    const bool start = flags & 0x01;
    DriveState& drive = command.drive;
    if (drive.longOperation) {  // a format, blank or close under way: the unit takes no other work
        command.Fail(drive.longOperation->sense);
        return;
    }
    if (flags & 0xF0)  // power conditions need no model yet
        return;
    if (!loadEject) {
        if (!start)
            drive.StopSpindle();  // the next read spins the disc up again
        return;
    }
    if (start) {
        drive.CloseTray();
        return;
    }
    if (drive.removalPrevented) {
        command.Fail(sense::kRemovalPrevented);
        return;
    }
    drive.OpenTray();
}

void MechanismStatus(CommandContext& command)
{
    const DriveState& drive = command.drive;
    // The header alone: no changer, so no slot table, and the one slot there is.
    std::vector<std::uint8_t> answer(8, 0);
    answer[1] = drive.trayOpen ? 0x10 : 0x00;  // idle mechanism, door state
    scsi::PutBe24(&answer[2], drive.lastAccessedLba);
    answer[5] = 1;  // slots available
    command.Answer(answer, command.Be16(8));
}

}  // namespace

void RegisterMechanismCommands(CommandTable& table)
{
    table.Register(
        {.opcode = mmc::kStartStopUnit, .name = "START STOP UNIT", .cdbLength = 6, .handler = StartStopUnit});
    table.Register({.opcode = mmc::kPreventAllowMediumRemoval,
                    .name = "PREVENT ALLOW MEDIUM REMOVAL",
                    .cdbLength = 6,
                    .handler = PreventAllowMediumRemoval});
    table.Register(
        {.opcode = mmc::kMechanismStatus, .name = "MECHANISM STATUS", .cdbLength = 12, .handler = MechanismStatus});
}

}  // namespace emu
