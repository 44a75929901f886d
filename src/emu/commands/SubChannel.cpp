#include "emu/MediumGeometry.h"
#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

enum SubChannelFormat : std::uint8_t { kCurrentPosition = 0x01, kCatalogNumber = 0x02, kTrackIsrc = 0x03 };
constexpr std::size_t kPositionDataLength = 12;
constexpr std::size_t kCatalogDataLength = 20;
constexpr std::uint8_t kNoAudioStatus = 0x15;
constexpr std::uint8_t kAdrPosition = 0x10;  // Q sub-channel mode 1: position data
constexpr std::uint8_t kAdrIsrc = 0x30;  // Q sub-channel mode 3: ISRC

const TrackEntry* TrackAt(const MediumDescription& disc, std::uint32_t lba)
{
    const TrackEntry* found = disc.tracks.empty() ? nullptr : &disc.tracks.front();
    for (const TrackEntry& track : disc.tracks)
        if (track.startLba <= lba)
            found = &track;
    return found;
}

const TrackEntry* TrackNumbered(const MediumDescription& disc, std::uint8_t number)
{
    for (const TrackEntry& track : disc.tracks)
        if (track.number == number)
            return &track;
    return nullptr;
}

// A time within a track: no lead-in offset.
void PutRelativeAddress(std::uint8_t* at, std::uint32_t frames, bool msf)
{
    if (!msf) {
        scsi::PutBe32(at, frames);
        return;
    }
    constexpr std::uint32_t kFramesPerSecond = 75;
    at[0] = 0;
    at[1] = static_cast<std::uint8_t>(std::min<std::uint32_t>(frames / (60 * kFramesPerSecond), 255));
    at[2] = static_cast<std::uint8_t>(frames / kFramesPerSecond % 60);
    at[3] = static_cast<std::uint8_t>(frames % kFramesPerSecond);
}

// READ SUB-CHANNEL from the Q sub-channel: the head's position (data format
// 01h, where the last access left it), the media catalogue number (02h) and
// a track's ISRC (03h; none is recorded on these discs). Without SubQ only
// the header comes.
void ReadSubChannel(CommandContext& command)
{
    const bool msf = command.Byte(1) & 0x02;
    const bool subQ = command.Byte(2) & 0x40;
    const std::uint8_t format = command.Byte(3);
    const MediumDescription& disc = command.drive.medium->description;
    if (disc.family != MediumFamily::Cd) {
        command.Fail(sense::kIncompatibleFormat);
        return;
    }
    if (subQ && format != kCurrentPosition && format != kCatalogNumber && format != kTrackIsrc) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    std::vector<std::uint8_t> answer(4, 0);
    answer[1] = kNoAudioStatus;
    if (subQ && format == kCurrentPosition) {
        const std::uint32_t lba = command.drive.lastAccessedLba;
        const TrackEntry* track = TrackAt(disc, lba);
        if (!track) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        answer.resize(4 + kPositionDataLength, 0);
        answer[4] = kCurrentPosition;
        answer[5] = static_cast<std::uint8_t>(kAdrPosition | (track->control & 0x0F));
        answer[6] = track->number;
        answer[7] = 1;  // index
        PutAddress(&answer[8], lba, msf);
        PutRelativeAddress(&answer[12], lba - track->startLba, msf);
        scsi::PutBe16(&answer[2], static_cast<std::uint32_t>(kPositionDataLength));
    } else if (subQ && format == kCatalogNumber) {
        answer.resize(4 + kCatalogDataLength, 0);
        answer[4] = kCatalogNumber;
        if (disc.catalogNumber.size() == 13) {
            answer[8] = 0x80;  // MCVal
            for (std::size_t i = 0; i < 13; ++i)
                answer[9 + i] = static_cast<std::uint8_t>(disc.catalogNumber[i]);
        }
        scsi::PutBe16(&answer[2], static_cast<std::uint32_t>(kCatalogDataLength));
    } else if (subQ) {
        const TrackEntry* track = TrackNumbered(disc, command.Byte(6));
        if (!track) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        answer.resize(4 + kCatalogDataLength, 0);
        answer[4] = kTrackIsrc;
        answer[5] = static_cast<std::uint8_t>(kAdrIsrc | (track->control & 0x0F));
        answer[6] = track->number;  // TCVal clear: no ISRC
        scsi::PutBe16(&answer[2], static_cast<std::uint32_t>(kCatalogDataLength));
    }
    command.Answer(answer, command.Be16(7));
}

}  // namespace

void RegisterSubChannel(CommandTable& table)
{
    table.Register({.opcode = mmc::kReadSubChannel,
                    .name = "READ SUB-CHANNEL",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = ReadSubChannel});
}

}  // namespace emu
