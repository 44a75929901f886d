#include "emu/MediumGeometry.h"
#include "scsi/Profiles.h"
#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

enum DescriptorType : std::uint8_t { kUnformatted = 1, kFormatted = 2, kNoMediumOrUnknown = 3 };
constexpr std::size_t kParameterListLength = 12;

struct FormatOffer {
    std::uint8_t type = 0;  // the format type FORMAT UNIT takes
    std::uint32_t parameter = 0;  // type-dependent: block length, packet size ...
};

// The formats a rewritable disc offers.
std::vector<FormatOffer> FormatOffers(const MediumDescription& disc)
{
    using namespace profile;
    if (!disc.erasable)
        return {};
    switch (disc.profile) {
    case kCdRw: return {{0x10, 32}};
    case kDvdRam: return {{0x00, 2048}};
    case kDvdRwRestricted:
    case kDvdRwSequential: return {{0x10, 16}, {0x15, 16}};
    case kDvdPlusRw:
    case kDvdPlusRwDl: return {{0x26, 0}};
    case kBdRe: return {{0x00, 0}, {0x30, 0}};
    default: return {};
    }
}

// The largest disc the drive takes, for the answer without a disc.
std::uint32_t LargestDiscBlocks(const DriveIdentity& drive)
{
    const auto reads = [&](std::uint16_t low, std::uint16_t high) {
        return std::any_of(drive.profiles.begin(), drive.profiles.end(),
                           [&](std::uint16_t p) { return p >= low && p <= high; });
    };
    if (reads(profile::kBdRom, profile::kBdRe))
        return 12219392;
    if (reads(profile::kDvdRom, profile::kDvdPlusRDl))
        return 2295104;
    return 359846;
}

void PutDescriptor(std::vector<std::uint8_t>& answer, std::uint64_t blocks, std::uint8_t typeByte,
                   std::uint32_t parameter)
{
    const std::size_t at = answer.size();
    answer.resize(at + 8);
    scsi::PutBe32(&answer[at], static_cast<std::uint32_t>(std::min<std::uint64_t>(blocks, 0xFFFFFFFF)));
    answer[at + 4] = typeByte;
    scsi::PutBe24(&answer[at + 5], parameter);
}

void ReadFormatCapacities(CommandContext& command)
{
    DriveState& drive = command.drive;
    std::vector<std::uint8_t> answer(4, 0);
    if (!drive.medium || drive.trayOpen) {
        PutDescriptor(answer, LargestDiscBlocks(drive.identity), kNoMediumOrUnknown, 2048);
    } else if (const auto notReady = drive.NotReadyReason()) {
        command.Fail(*notReady);
        return;
    } else {
        const MediumDescription& disc = drive.medium->description;
        if (disc.erasable && !disc.formatted)
            PutDescriptor(answer, TotalBlocks(disc), kUnformatted, disc.blockSize);
        else if (disc.erasable || disc.status == DiscStatus::Complete)
            PutDescriptor(answer, disc.capacityBlocks, kFormatted, disc.blockSize);
        else  // an open write-once disc: its capacity is known once it is closed
            PutDescriptor(answer, TotalBlocks(disc), kNoMediumOrUnknown, disc.blockSize);
        for (const FormatOffer& offer : FormatOffers(disc))
            PutDescriptor(answer, TotalBlocks(disc), static_cast<std::uint8_t>(offer.type << 2), offer.parameter);
    }
    answer[3] = static_cast<std::uint8_t>(answer.size() - 4);
    command.Answer(answer, command.Be16(7));
}

void FormatUnit(CommandContext& command)
{
    const bool formatData = command.Byte(1) & 0x10;
    if (!formatData || (command.Byte(1) & 0x07) != 0x01) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    std::size_t length = 0;
    const std::uint8_t* list = command.DataOut(length);
    if (!list || length < kParameterListLength || scsi::GetBe16(&list[2]) != 8) {
        command.Fail(sense::kInvalidFieldInParameterList);
        return;
    }
    command.SetTransferred(kParameterListLength);
    DriveState& drive = command.drive;
    MediumDescription& disc = drive.medium->description;
    const std::vector<FormatOffer> offers = FormatOffers(disc);
    if (offers.empty()) {
        command.Fail(sense::kCannotFormatMedium);
        return;
    }
    const std::uint8_t type = list[8] >> 2;
    if (std::none_of(offers.begin(), offers.end(), [&](const FormatOffer& offer) { return offer.type == type; })) {
        command.Fail(sense::kInvalidFieldInParameterList);
        return;
    }
    const bool immediate = list[1] & 0x02;
    if (immediate)
        drive.longOperation = LongOperation{drive.clock->NowMs(), drive.identity.formatMs};
    else
        disc.formatted = true;  // the host waited for the whole format
}

}  // namespace

void RegisterFormatting(CommandTable& table)
{
    table.Register({.opcode = mmc::kFormatUnit,
                    .name = "FORMAT UNIT",
                    .cdbLength = 6,
                    .needsReadyMedium = true,
                    .handler = FormatUnit});
    table.Register({.opcode = mmc::kReadFormatCapacities,
                    .name = "READ FORMAT CAPACITIES",
                    .cdbLength = 10,
                    .handler = ReadFormatCapacities});
}

}  // namespace emu
