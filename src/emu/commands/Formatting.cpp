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
constexpr std::uint8_t kImmediate = 0x02;  // FORMAT UNIT header byte 1
constexpr std::uint8_t kPlusRwFormat = 0x26;
enum BlankType : std::uint8_t { kBlankFull = 0, kBlankMinimal = 1 };

struct FormatOffer {
    std::uint8_t type = 0;  // the format type FORMAT UNIT takes
    std::uint32_t parameter = 0;  // type-dependent: block length, packet size ...
};

// The formats a rewritable disc offers, in the order the drives list them:
// full (00h) and quick (15h) on DVD-RW, the DVD+RW format (26h), the full
// formats of DVD-RAM and BD-RE (with and without certification), CD-RW packets.
std::vector<FormatOffer> FormatOffers(const MediumDescription& disc)
{
    using namespace profile;
    if (!disc.erasable)
        return {};
    switch (disc.profile) {
    case kCdRw: return {{0x10, 32}};
    case kDvdRam: return {{0x00, 2048}};
    case kDvdRwRestricted:
    case kDvdRwSequential: return {{0x00, 16}, {0x10, 16}, {0x15, 16}};
    case kDvdPlusRw:
    case kDvdPlusRwDl: return {{kPlusRwFormat, 0}};
    case kBdRe: return {{0x00, 0}, {0x30, 0}, {0x31, 0}};
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

// Whether the drive records on the loaded disc's family at all.
bool Writes(const DriveState& drive)
{
    return drive.TopWriteKBps() != 0;
}

// A DVD+RW's format: a foreground part (the unit not ready), then the rest in
// the background while the disc can be used; with the restart bit, a
// background format that was stopped goes on where it stopped.
void FormatPlusRw(CommandContext& command, const std::uint8_t* list)
{
    DriveState& drive = command.drive;
    MediumDescription& disc = drive.medium->description;
    const bool immediate = list[1] & kImmediate;
    const std::uint32_t background = drive.identity.backgroundFormatMs;
    if (list[11] & 0x01) {
        if (!disc.formatStopped || drive.backgroundFormat) {
            command.Fail(sense::kInvalidFieldInParameterList);  // nothing to restart
            return;
        }
        const std::uint64_t rest = std::uint64_t{background} * (65536u - disc.formatStoppedAt) / 65536u;
        drive.backgroundFormat = LongOperation{drive.clock->NowMs(), rest};
        disc.formatStopped = false;
        return;
    }
    drive.backgroundFormat.reset();
    LongOperation foreground{0, drive.identity.formatMs, sense::kFormatInProgress,
                             [background](DriveState& state, std::uint64_t endMs) {
                                 MakeFormatted(state.medium->description);
                                 state.medium->source->EraseAll();
                                 state.backgroundFormat = LongOperation{endMs, background};
                             }};
    drive.RunLongOperation(std::move(foreground), immediate);
}

void FormatUnit(CommandContext& command)
{
    const bool formatData = command.Byte(1) & 0x10;
    if (!formatData || (command.Byte(1) & 0x07) != 0x01) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!command.TransferIs(kParameterListLength))
        return;
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
    if (offers.empty() || !Writes(drive)) {
        command.Fail(sense::kCannotFormatMedium);
        return;
    }
    const std::uint8_t type = list[8] >> 2;
    if (std::none_of(offers.begin(), offers.end(), [&](const FormatOffer& offer) { return offer.type == type; })) {
        command.Fail(sense::kInvalidFieldInParameterList);
        return;
    }
    if (type == kPlusRwFormat) {
        FormatPlusRw(command, list);
        return;
    }
    using namespace profile;
    const bool dvdMinus = disc.profile == kDvdRwSequential || disc.profile == kDvdRwRestricted;
    LongOperation operation{0, type == 0x15 ? drive.identity.quickFormatMs : drive.identity.formatMs};
    if (dvdMinus || disc.profile == kDvdRam)  // the whole disc written anew
        operation.finish = [](DriveState& state, std::uint64_t) {
            MakeFormatted(state.medium->description);
            state.medium->source->EraseAll();
        };
    drive.RunLongOperation(std::move(operation), list[1] & kImmediate);
}

// BLANK (A1h) of a CD-RW or DVD-RW: full or minimal; the disc reads blank
// afterwards, and after a full blank nothing of the old data is left.
void Blank(CommandContext& command)
{
    DriveState& drive = command.drive;
    const MediumDescription& disc = drive.medium->description;
    using namespace profile;
    const bool blankable = disc.erasable
        && (disc.profile == kCdRw || disc.profile == kDvdRwSequential || disc.profile == kDvdRwRestricted);
    if (!blankable || !Writes(drive)) {
        command.Fail(sense::kCannotWriteMedium);
        return;
    }
    const std::uint8_t type = command.Byte(1) & 0x07;
    if (type != kBlankFull && type != kBlankMinimal) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const bool full = type == kBlankFull;
    LongOperation operation{0, full ? drive.identity.fullBlankMs : drive.identity.minimalBlankMs,
                            sense::kLongOperationInProgress, [full](DriveState& state, std::uint64_t) {
                                MakeBlank(state.medium->description);
                                if (full)
                                    state.medium->source->EraseAll();
                            }};
    drive.RunLongOperation(std::move(operation), command.Byte(1) & 0x10);
}

// CLOSE TRACK/SESSION (5Bh) on the random writable discs but BD-RE: a
// DVD+RW's background format stops where it is (the disc stays usable, a
// restart goes on from there); elsewhere the drive only finishes what it wrote.
void CloseTrackSession(CommandContext& command)
{
    DriveState& drive = command.drive;
    const MediumDescription& disc = drive.medium->description;
    const std::uint8_t function = command.Byte(2) & 0x07;
    if (function > 2) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!IsRandomWritable(disc)) {
        command.Fail(sense::kCommandSequenceError);  // no open track or session this drive closes
        return;
    }
    if (disc.profile == profile::kBdRe) {  // BD drives' command references: not valid for BD-RE
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    drive.StopBackgroundFormat();
    LongOperation close{0, drive.identity.closeMs, sense::kLongOperationInProgress, [](DriveState&, std::uint64_t) {}};
    close.closing = true;
    drive.RunLongOperation(std::move(close), command.Byte(1) & 0x01);
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
    table.Register(
        {.opcode = mmc::kBlank, .name = "BLANK", .cdbLength = 12, .needsReadyMedium = true, .handler = Blank});
    table.Register({.opcode = mmc::kCloseTrackSession,
                    .name = "CLOSE TRACK/SESSION",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = CloseTrackSession});
}

}  // namespace emu
