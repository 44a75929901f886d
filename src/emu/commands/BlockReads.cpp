#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cstring>

namespace emu {

namespace {

void ReadCapacity(CommandContext& command)
{
    const bool partialMediumIndicator = command.Byte(8) & 0x01;
    if (!partialMediumIndicator && command.Be32(2) != 0) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const MediumDescription& disc = command.drive.medium->description;
    const std::uint64_t lastBlock = disc.capacityBlocks ? disc.capacityBlocks - 1 : 0;
    std::vector<std::uint8_t> answer(8, 0);
    scsi::PutBe32(&answer[0], static_cast<std::uint32_t>(std::min<std::uint64_t>(lastBlock, 0xFFFFFFFFu)));
    scsi::PutBe32(&answer[4], disc.blockSize);
    command.Answer(answer, answer.size());
}

// Copies blocks [lba, lba + count) into out, which holds `room` bytes; a
// buffer shorter than the blocks gets their first bytes only.
bool CopyBlocks(LoadedMedium& disc, std::uint64_t lba, std::uint32_t count, std::uint8_t* out, std::size_t room,
                std::size_t& copied)
{
    const std::uint32_t blockSize = disc.description.blockSize;
    const std::size_t wanted = std::min(room, std::size_t{count} * blockSize);
    const auto whole = static_cast<std::uint32_t>(wanted / blockSize);
    copied = 0;
    if (whole && !disc.source->Read(lba, whole, blockSize, out))
        return false;
    copied = std::size_t{whole} * blockSize;
    if (const std::size_t rest = wanted - copied) {
        std::vector<std::uint8_t> block(blockSize);
        if (!disc.source->Read(lba + whole, 1, blockSize, block.data()))
            return false;
        std::memcpy(out + copied, block.data(), rest);
        copied += rest;
    }
    return true;
}

void Read10(CommandContext& command)
{
    const std::uint64_t lba = command.Be32(2);
    const std::uint32_t count = command.Be16(7);
    DriveState& drive = command.drive;
    LoadedMedium& disc = *drive.medium;
    if (lba + count > disc.description.capacityBlocks) {
        command.Fail(sense::kLbaOutOfRange);
        return;
    }
    if (count == 0)
        return;
    const auto bad = drive.FindMediumError(mmc::kRead10, lba, count);
    const auto goodBlocks = static_cast<std::uint32_t>(bad ? bad->block - lba : count);
    std::size_t room = 0;
    std::uint8_t* out = command.DataIn(room);
    std::size_t copied = 0;
    if (out && !CopyBlocks(disc, lba, goodBlocks, out, room, copied)) {
        command.Fail(sense::kUnrecoveredReadError, static_cast<std::uint32_t>(lba));
        return;
    }
    command.SetTransferred(copied);
    drive.lastAccessedLba = static_cast<std::uint32_t>(lba + count - 1);
    if (bad)
        command.Fail(bad->sense, static_cast<std::uint32_t>(bad->block));
}

}  // namespace

void RegisterBlockReads(CommandTable& table)
{
    table.Register({.opcode = mmc::kReadCapacity,
                    .name = "READ CAPACITY",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = ReadCapacity});
    table.Register(
        {.opcode = mmc::kRead10, .name = "READ(10)", .cdbLength = 10, .needsReadyMedium = true, .handler = Read10});
}

}  // namespace emu
