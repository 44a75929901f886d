#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

// SEEK(10): moves the head to the block; a drive that measures its error
// rates starts there.
void Seek10(CommandContext& command)
{
    const std::uint64_t lba = command.Be32(2);
    const std::uint64_t blocks = std::max<std::uint64_t>(command.drive.medium->description.capacityBlocks, 1);
    if (lba >= blocks) {
        command.Fail(sense::kLbaOutOfRange);
        return;
    }
    command.drive.lastAccessedLba = static_cast<std::uint32_t>(lba);
    MoveMeasurementTo(command.drive, lba);
}

}  // namespace

void RegisterSeek(CommandTable& table)
{
    table.Register(
        {.opcode = mmc::kSeek10, .name = "SEEK(10)", .cdbLength = 10, .needsReadyMedium = true, .handler = Seek10});
}

}  // namespace emu
