#include "emu/CdSector.h"
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

// Whether a block of a CD lies in an audio track, which holds no blocks of
// 2048 bytes: READ(10) refuses it, READ CD gives its 2352 bytes of sound.
bool InAudioTrack(const MediumDescription& disc, std::uint64_t lba)
{
    if (disc.family != MediumFamily::Cd)
        return false;
    for (const TrackEntry& track : disc.tracks)
        if (lba >= track.startLba && lba < std::uint64_t{track.startLba} + track.blocks)
            return !(track.control & 0x04);
    return false;
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
    if (!command.TransferIs(std::size_t{count} * disc.description.blockSize) || count == 0)
        return;
    if (InAudioTrack(disc.description, lba)) {
        command.Fail(sense::kIllegalModeForTrack);
        return;
    }
    if (drive.EntersNotReadyWindow(lba, count)) {
        command.Fail(sense::kNotReadyBecomingReady);
        return;
    }
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
    drive.SpendReadTime(lba, goodBlocks);
    drive.lastAccessedLba = static_cast<std::uint32_t>(lba + count - 1);
    if (bad)
        command.Fail(bad->sense, static_cast<std::uint32_t>(bad->block));
}

// The parts of a Mode 1 sector that READ CD byte 9 asks for: sync, header,
// user data, EDC/ECC (a Mode 1 sector has no subheader).
struct SectorParts {
    std::size_t from = 0;
    std::size_t size = 0;
};

std::vector<SectorParts> RequestedParts(std::uint8_t flags)
{
    std::vector<SectorParts> parts;
    if (flags & 0x80)
        parts.push_back({0, 12});
    if ((flags >> 5) & 0x01)
        parts.push_back({12, 4});
    if (flags & 0x10)
        parts.push_back({16, kCdUserDataBytes});
    if (flags & 0x08)
        parts.push_back({16 + kCdUserDataBytes, kRawCdSectorBytes - 16 - kCdUserDataBytes});
    return parts;
}

// The bytes READ CD gives of one sector for the fields byte 9 asks for.
std::size_t SectorBytes(const MediumDescription& disc, std::uint64_t lba, std::uint8_t flags)
{
    if (InAudioTrack(disc, lba))
        return (flags & 0xF8) ? kRawCdSectorBytes : 0;
    std::size_t bytes = 0;
    for (const SectorParts& part : RequestedParts(flags))
        bytes += part.size;
    return bytes;
}

void ReadCd(CommandContext& command)
{
    DriveState& drive = command.drive;
    LoadedMedium& disc = *drive.medium;
    if (disc.description.family != MediumFamily::Cd) {
        command.Fail(sense::kIllegalModeForTrack);
        return;
    }
    const std::uint64_t lba = command.Be32(2);
    const std::uint32_t count = (std::uint32_t{command.Byte(6)} << 16) | command.Be16(7);
    const std::uint8_t flags = command.Byte(9);
    if (lba + count > disc.description.capacityBlocks) {
        command.Fail(sense::kLbaOutOfRange);
        return;
    }
    std::size_t transfer = 0;
    for (std::uint32_t i = 0; i < count; ++i)
        transfer += SectorBytes(disc.description, lba + i, flags);
    if (!command.TransferIs(transfer))
        return;
    if (drive.EntersNotReadyWindow(lba, count)) {
        command.Fail(sense::kNotReadyBecomingReady);
        return;
    }
    const auto bad = drive.FindMediumError(mmc::kReadCd, lba, count);
    const auto goodSectors = static_cast<std::uint32_t>(bad ? bad->block - lba : count);
    std::size_t room = 0;
    std::uint8_t* out = command.DataIn(room);
    std::size_t copied = 0;
    std::vector<std::uint8_t> user(kCdUserDataBytes);
    std::vector<std::uint8_t> audio(kRawCdSectorBytes);
    for (std::uint32_t i = 0; out && i < goodSectors && copied < room; ++i) {
        const auto take = [&](const std::uint8_t* bytes, std::size_t size) {
            const std::size_t step = std::min(size, room - copied);
            std::memcpy(out + copied, bytes, step);
            copied += step;
        };
        if (InAudioTrack(disc.description, lba + i)) {
            // Sound has no sync or headers: any field asked for gives the whole sector.
            if (flags & 0xF8) {
                if (!disc.source->Read(lba + i, 1, kRawCdSectorBytes, audio.data()))
                    return command.Fail(sense::kUnrecoveredReadError, static_cast<std::uint32_t>(lba + i));
                take(audio.data(), audio.size());
            }
            continue;
        }
        if (!disc.source->Read(lba + i, 1, kCdUserDataBytes, user.data()))
            return command.Fail(sense::kUnrecoveredReadError, static_cast<std::uint32_t>(lba + i));
        const auto sector = MakeMode1Sector(static_cast<std::int64_t>(lba + i),
                                            std::span<const std::uint8_t, kCdUserDataBytes>(user.data(), user.size()));
        for (const SectorParts& part : RequestedParts(flags))
            take(sector.data() + part.from, part.size);
    }
    command.SetTransferred(copied);
    drive.SpendReadTime(lba, goodSectors);
    if (count)
        drive.lastAccessedLba = static_cast<std::uint32_t>(lba + count - 1);
    if (bad)
        command.Fail(bad->sense, static_cast<std::uint32_t>(bad->block));
}

void Seek10(CommandContext& command)
{
    const std::uint64_t lba = command.Be32(2);
    if (lba >= command.drive.medium->description.capacityBlocks) {
        command.Fail(sense::kLbaOutOfRange);
        return;
    }
    command.drive.lastAccessedLba = static_cast<std::uint32_t>(lba);
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
    table.Register(
        {.opcode = mmc::kReadCd, .name = "READ CD", .cdbLength = 12, .needsReadyMedium = true, .handler = ReadCd});
    table.Register(
        {.opcode = mmc::kSeek10, .name = "SEEK(10)", .cdbLength = 10, .needsReadyMedium = true, .handler = Seek10});
}

}  // namespace emu
