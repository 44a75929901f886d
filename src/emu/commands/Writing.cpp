#include "emu/MediumGeometry.h"
#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

// WRITE(10) on the discs written in place (DVD-RAM, DVD-RW in restricted
// overwrite, DVD+RW, BD-RE, once formatted): the blocks read back as written.
void Write10(CommandContext& command)
{
    DriveState& drive = command.drive;
    LoadedMedium& disc = *drive.medium;
    if (!IsRandomWritable(disc.description) || drive.TopWriteKBps() == 0) {
        command.Fail(sense::kCannotWriteMedium);
        return;
    }
    const std::uint64_t lba = command.Be32(2);
    const std::uint32_t count = command.Be16(7);
    if (lba + count > disc.description.capacityBlocks) {
        command.Fail(sense::kLbaOutOfRange);
        return;
    }
    const std::uint32_t blockSize = disc.description.blockSize;
    if (!command.TransferIs(std::size_t{count} * blockSize))
        return;
    std::size_t length = 0;
    const std::uint8_t* data = command.DataOut(length);
    if (count == 0)
        return;
    if (!data || length < std::size_t{count} * blockSize) {
        command.Fail(sense::kInvalidFieldInCdb);  // the host sends fewer bytes than the blocks asked for
        return;
    }
    const auto bad = drive.FindMediumError(mmc::kWrite10, lba, count);
    const auto written = static_cast<std::uint32_t>(bad ? bad->block - lba : count);
    disc.source->Write(lba, written, blockSize, data);
    command.SetTransferred(std::size_t{count} * blockSize);
    drive.clock->Spend(std::uint64_t{written} * blockSize * 1000 / drive.TopWriteKBps());
    drive.lastAccessedLba = static_cast<std::uint32_t>(lba + count - 1);
    if (bad)
        command.Fail(bad->sense, static_cast<std::uint32_t>(bad->block));
}

void RezeroUnit(CommandContext& command)
{
    command.drive.lastAccessedLba = 0;
}

}  // namespace

void RegisterWriting(CommandTable& table)
{
    table.Register(
        {.opcode = mmc::kWrite10, .name = "WRITE(10)", .cdbLength = 10, .needsReadyMedium = true, .handler = Write10});
    table.Register({.opcode = mmc::kRezeroUnit,
                    .name = "REZERO UNIT",
                    .cdbLength = 6,
                    .needsReadyMedium = true,
                    .handler = RezeroUnit});
}

}  // namespace emu
