#include "emu/MediumGeometry.h"
#include "scsi/Profiles.h"
#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::size_t kDiscInformationLength = 34;
constexpr std::size_t kTrackInformationLength = 48;
enum AddressType : std::uint8_t { kByLba = 0, kByTrack = 1, kBySession = 2 };
constexpr std::uint8_t kInvisibleTrack = 0xFF;

void PutTime(std::uint8_t* at, const Msf& time)
{
    at[0] = 0;
    at[1] = time.minute;
    at[2] = time.second;
    at[3] = time.frame;
}

// The tracks a host sees: the recorded ones, then the incomplete track a
// writer appends to while the disc is open.
std::vector<TrackEntry> VisibleTracks(const MediumDescription& disc)
{
    std::vector<TrackEntry> tracks;
    if (disc.status != DiscStatus::Blank)
        tracks = disc.tracks;
    if (disc.status != DiscStatus::Complete) {
        TrackEntry open;
        open.number = static_cast<std::uint8_t>(tracks.empty() ? 1 : tracks.back().number + 1);
        open.session = static_cast<std::uint8_t>(tracks.empty() ? 1 : tracks.back().session + 1);
        open.startLba = static_cast<std::uint32_t>(NextTrackStart(disc));
        const std::uint64_t total = TotalBlocks(disc);
        open.blocks = static_cast<std::uint32_t>(total > open.startLba ? total - open.startLba : 0);
        tracks.push_back(open);
    }
    return tracks;
}

std::uint8_t DiscStatusField(const MediumDescription& disc)
{
    if (IsRandomWritable(disc))
        return 0x03;
    switch (disc.status) {
    case DiscStatus::Blank: return 0x00;
    case DiscStatus::Appendable: return 0x01;
    case DiscStatus::Complete: break;
    }
    return 0x02;
}

// A DVD+RW's background format: 0 never formatted, 1 stopped before its
// end, 2 running, 3 complete.
std::uint8_t BackgroundFormatStatus(const DriveState& drive)
{
    const MediumDescription& disc = drive.medium->description;
    if (disc.profile != profile::kDvdPlusRw && disc.profile != profile::kDvdPlusRwDl)
        return 0;
    if (!disc.formatted)
        return 0x00;
    if (drive.backgroundFormat)
        return 0x02;
    return disc.formatStopped ? 0x01 : 0x03;
}

void ReadDiscInformation(CommandContext& command)
{
    if ((command.Byte(1) & 0x07) != 0) {  // only the standard disc information
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const MediumDescription& disc = command.drive.medium->description;
    const std::vector<TrackEntry> tracks = VisibleTracks(disc);
    if (tracks.empty()) {  // a closed disc described without tracks
        command.Fail(sense::kIncompatibleMedium);
        return;
    }
    const bool cd = disc.family == MediumFamily::Cd;
    const std::uint8_t lastSessionState = disc.status == DiscStatus::Complete ? 0x03
        : disc.status == DiscStatus::Blank                                    ? 0x00
                                                                              : 0x01;
    std::vector<std::uint8_t> answer(kDiscInformationLength, 0);
    scsi::PutBe16(&answer[0], kDiscInformationLength - 2);
    answer[2] = static_cast<std::uint8_t>((disc.erasable ? 0x10 : 0) | (lastSessionState << 2) | DiscStatusField(disc));
    answer[3] = 1;  // first track on the disc
    const TrackEntry& last = tracks.back();
    answer[4] = last.session;
    const auto firstInLast = std::find_if(tracks.begin(), tracks.end(),
                                          [&](const TrackEntry& track) { return track.session == last.session; });
    answer[5] = firstInLast->number;
    answer[6] = last.number;
    answer[7] = static_cast<std::uint8_t>(0x20 | BackgroundFormatStatus(command.drive));  // unrestricted use
    if (disc.status == DiscStatus::Complete) {  // nothing more can be written
        scsi::PutBe32(&answer[16], 0xFFFFFFFF);
        scsi::PutBe32(&answer[20], 0xFFFFFFFF);
    } else if (cd && disc.atip) {
        // Times: where the next lead-in starts (on a blank disc the maker's
        // lead-in start from the pre-groove), and the last lead-out start the
        // pre-groove allows.
        if (const auto leadIn = NextLeadInStart(disc))
            PutAddress(&answer[16], *leadIn, true);
        else
            PutTime(&answer[16], disc.atip->leadInStart);
        PutTime(&answer[20], disc.atip->lastLeadOutStart);
    } else {
        PutAddress(&answer[16], last.startLba, cd);
        PutAddress(&answer[20], static_cast<std::int64_t>(TotalBlocks(disc)), cd);
    }
    command.Answer(answer, command.Be16(7));
}

const TrackEntry* FindTrack(const std::vector<TrackEntry>& tracks, std::uint8_t addressType, std::uint32_t address)
{
    for (const TrackEntry& track : tracks) {
        const bool found = addressType == kByTrack ? track.number == address
            : addressType == kBySession
            ? track.session == address
            : address >= track.startLba && address - track.startLba < std::max(track.blocks, 1u);
        if (found)
            return &track;
    }
    return nullptr;
}

std::vector<std::uint8_t> TrackInformation(const MediumDescription& disc, const TrackEntry& track, bool open)
{
    std::vector<std::uint8_t> answer(kTrackInformationLength, 0);
    scsi::PutBe16(&answer[0], kTrackInformationLength - 2);
    answer[2] = track.number;
    answer[3] = track.session;
    answer[5] = track.control & 0x0F;
    answer[6] = static_cast<std::uint8_t>((open ? 0x40 : 0) | 0x01);  // blank, mode 1 data
    // Blocks of one ECC cluster; CD tracks are not written in fixed packets here.
    const std::uint32_t blockingFactor = disc.family == MediumFamily::Bd ? 32
        : disc.family == MediumFamily::Cd                                ? 0
                                                                         : 16;
    scsi::PutBe32(&answer[8], track.startLba);
    scsi::PutBe32(&answer[20], blockingFactor);
    scsi::PutBe32(&answer[24], track.blocks);
    if (open) {
        answer[7] = 0x01;  // next writable address valid
        scsi::PutBe32(&answer[12], static_cast<std::uint32_t>(NextWritableAddress(disc)));
        scsi::PutBe32(&answer[16], static_cast<std::uint32_t>(FreeBlocks(disc)));
    } else if (track.blocks) {
        answer[7] = 0x02;  // last recorded address valid
        scsi::PutBe32(&answer[28], track.startLba + track.blocks - 1);
    }
    return answer;
}

void ReadTrackInformation(CommandContext& command)
{
    const std::uint8_t addressType = command.Byte(1) & 0x03;
    const std::uint32_t address = command.Be32(2);
    const MediumDescription& disc = command.drive.medium->description;
    const std::vector<TrackEntry> tracks = VisibleTracks(disc);
    const bool wantsOpenTrack = addressType == kByTrack && address == kInvisibleTrack;
    const TrackEntry* track = wantsOpenTrack ? (disc.status == DiscStatus::Complete ? nullptr : &tracks.back())
                                             : FindTrack(tracks, addressType, address);
    if (addressType > kBySession || !track) {
        command.Fail(addressType == kByLba ? sense::kLbaOutOfRange : sense::kInvalidFieldInCdb);
        return;
    }
    const bool open = disc.status != DiscStatus::Complete && track == &tracks.back();
    command.Answer(TrackInformation(disc, *track, open), command.Be16(7));
}

}  // namespace

void RegisterDiscInformation(CommandTable& table)
{
    table.Register({.opcode = mmc::kReadDiscInformation,
                    .name = "READ DISC INFORMATION",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = ReadDiscInformation});
    table.Register({.opcode = mmc::kReadTrackInformation,
                    .name = "READ TRACK INFORMATION",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = ReadTrackInformation});
}

}  // namespace emu
