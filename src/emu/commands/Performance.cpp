#include "emu/MediumGeometry.h"
#include "emu/Profiles.h"
#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

constexpr std::uint8_t kPerformanceData = 0x00;
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
    const std::uint32_t top = drive.identity.capabilities.maxReadSpeedKBps;
    const std::uint32_t inside = top * 4 / 10;
    if (disc.capacityBlocks == 0)
        return {};
    const auto last = static_cast<std::uint32_t>(disc.capacityBlocks - 1);
    const auto layerZero = static_cast<std::uint32_t>(LayerZeroBlocks(disc));
    if (disc.layers < 2 || layerZero == 0 || layerZero >= disc.capacityBlocks)
        return {{0, inside, last, top}};
    return {{0, inside, layerZero - 1, top}, {layerZero, top, last, inside}};
}

std::vector<Extent> WriteExtents(const DriveState& drive)
{
    const MediumDescription& disc = drive.medium->description;
    const std::uint32_t top = drive.identity.capabilities.maxWriteSpeedKBps;
    using namespace profile;
    const bool pressed = disc.profile == kCdRom || disc.profile == kDvdRom || disc.profile == kBdRom
        || disc.profile == kHdDvdRom;
    if (top == 0 || pressed || TotalBlocks(disc) == 0)
        return {};
    return {{0, top, static_cast<std::uint32_t>(TotalBlocks(disc) - 1), top}};
}

void GetPerformance(CommandContext& command)
{
    if (command.Byte(10) != kPerformanceData) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const bool write = command.Byte(1) & 0x04;
    const bool exceptions = command.Byte(1) & 0x03;
    std::vector<Extent> extents;
    if (!exceptions)  // no slow areas to report
        extents = write ? WriteExtents(command.drive) : ReadExtents(command.drive);
    const std::size_t wanted = command.Be16(8);
    if (extents.size() > wanted)
        extents.resize(wanted);

    std::vector<std::uint8_t> answer(8, 0);
    answer[4] = static_cast<std::uint8_t>((write ? 0x02 : 0) | (exceptions ? 0x01 : 0));
    for (const Extent& extent : extents) {
        const std::size_t at = answer.size();
        answer.resize(at + kDescriptorLength);
        scsi::PutBe32(&answer[at], extent.startLba);
        scsi::PutBe32(&answer[at + 4], extent.startKBps);
        scsi::PutBe32(&answer[at + 8], extent.endLba);
        scsi::PutBe32(&answer[at + 12], extent.endKBps);
    }
    scsi::PutBe32(&answer[0], static_cast<std::uint32_t>(answer.size() - 4));
    command.Answer(answer, answer.size());
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
