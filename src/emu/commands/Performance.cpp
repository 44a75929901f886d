#include "emu/MediumGeometry.h"
#include "scsi/Profiles.h"
#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::uint8_t kPerformanceData = 0x00;
constexpr std::uint8_t kWriteSpeedData = 0x03;
constexpr std::size_t kDescriptorLength = 16;

struct Extent {
    std::uint32_t startLba = 0;
    std::uint32_t startKBps = 0;
    std::uint32_t endLba = 0;
    std::uint32_t endKBps = 0;
};

// Nominal read performance: a CAV curve from 40 % of the top speed at the
// inside to the top speed at the outside, one extent a layer (the second
// layer of an opposite-track-path disc runs from the outside back in).
std::vector<Extent> ReadExtents(const DriveState& drive)
{
    const MediumDescription& disc = drive.medium->description;
    const std::uint32_t top = drive.CurrentSpeeds().readKBps;
    const std::uint32_t inside = top * 4 / 10;
    if (disc.capacityBlocks == 0)
        return {};
    const auto last = static_cast<std::uint32_t>(disc.capacityBlocks - 1);
    const auto layerZero = static_cast<std::uint32_t>(LayerZeroBlocks(disc));
    if (disc.layers < 2 || layerZero == 0 || layerZero >= disc.capacityBlocks) {
        // Zones of equal length, the speed rising from one to the next.
        const std::uint32_t zones = std::max<std::uint32_t>(1, drive.identity.capabilities.readPerformanceZones);
        std::vector<Extent> extents;
        for (std::uint32_t zone = 0; zone < zones; ++zone) {
            const auto from = static_cast<std::uint32_t>(std::uint64_t{last + 1} * zone / zones);
            const auto to = static_cast<std::uint32_t>(std::uint64_t{last + 1} * (zone + 1) / zones - 1);
            extents.push_back(
                {from, inside + (top - inside) * zone / zones, to, inside + (top - inside) * (zone + 1) / zones});
        }
        return extents;
    }
    return {{0, inside, layerZero - 1, top}, {layerZero, top, last, inside}};
}

// A disc the drive can write: one of a family it writes, not a pressed one.
bool Writable(const DriveState& drive)
{
    const MediumDescription& disc = drive.medium->description;
    using namespace profile;
    const bool pressed = disc.profile == kCdRom || disc.profile == kDvdRom || disc.profile == kBdRom
        || disc.profile == kHdDvdRom;
    return drive.CurrentSpeeds().writeKBps != 0 && !pressed && TotalBlocks(disc) != 0;
}

std::vector<Extent> WriteExtents(const DriveState& drive)
{
    if (!Writable(drive))
        return {};
    const std::uint32_t top = drive.CurrentSpeeds().writeKBps;
    return {{0, top, static_cast<std::uint32_t>(TotalBlocks(drive.medium->description) - 1), top}};
}

void PutExtents(std::vector<std::uint8_t>& answer, const std::vector<Extent>& extents)
{
    for (const Extent& extent : extents) {
        const std::size_t at = answer.size();
        answer.resize(at + kDescriptorLength);
        scsi::PutBe32(&answer[at], extent.startLba);
        scsi::PutBe32(&answer[at + 4], extent.startKBps);
        scsi::PutBe32(&answer[at + 8], extent.endLba);
        scsi::PutBe32(&answer[at + 12], extent.endKBps);
    }
}

// Write speed descriptors: one per speed the drive offers for the disc,
// fastest first, each over the whole disc.
void PutWriteSpeeds(std::vector<std::uint8_t>& answer, const DriveState& drive, std::size_t wanted)
{
    if (!Writable(drive))
        return;
    const MediumSpeeds& speeds = drive.CurrentSpeeds();
    const auto endLba = static_cast<std::uint32_t>(TotalBlocks(drive.medium->description) - 1);
    for (std::size_t i = 0; i < speeds.writeSpeedsKBps.size() && i < wanted; ++i) {
        const std::size_t at = answer.size();
        answer.resize(at + kDescriptorLength, 0);  // byte 0: default rotation control
        scsi::PutBe32(&answer[at + 4], endLba);
        scsi::PutBe32(&answer[at + 8], speeds.readKBps);
        scsi::PutBe32(&answer[at + 12], speeds.writeSpeedsKBps[i]);
    }
}

void GetPerformance(CommandContext& command)
{
    const std::uint8_t type = command.Byte(10);
    if (type != kPerformanceData && type != kWriteSpeedData) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const std::size_t wanted = command.Be16(8);
    std::vector<std::uint8_t> answer(8, 0);
    if (type == kWriteSpeedData) {
        PutWriteSpeeds(answer, command.drive, wanted);
    } else {
        const bool write = command.Byte(1) & 0x04;
        const bool exceptions = command.Byte(1) & 0x03;
        std::vector<Extent> extents;
        if (!exceptions)  // no slow areas to report
            extents = write ? WriteExtents(command.drive) : ReadExtents(command.drive);
        if (extents.size() > wanted)
            extents.resize(wanted);
        answer[4] = static_cast<std::uint8_t>((write ? 0x02 : 0) | (exceptions ? 0x01 : 0));
        PutExtents(answer, extents);
    }
    scsi::PutBe32(&answer[0], static_cast<std::uint32_t>(answer.size() - 4));
    // The host makes room for the header and the descriptors it asked for
    // (6 bytes each of an exceptions list, else 16).
    const bool exceptionsList = type == kPerformanceData && (command.Byte(1) & 0x03);
    command.Answer(answer, 8 + wanted * (exceptionsList ? 6 : kDescriptorLength));
}

}  // namespace

void RegisterPerformance(CommandTable& table)
{
    table.Register({.opcode = mmc::kGetPerformance,
                    .name = "GET PERFORMANCE",
                    .cdbLength = 12,
                    .needsReadyMedium = true,
                    .handler = GetPerformance});
}

}  // namespace emu
