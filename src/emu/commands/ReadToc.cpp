#include "emu/MediumGeometry.h"
#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

enum TocFormat : std::uint8_t { kToc = 0, kSessionInfo = 1, kFullToc = 2, kPma = 3, kAtip = 4, kCdText = 5 };
constexpr std::uint8_t kLeadOut = 0xAA;
constexpr std::uint8_t kAdrPosition = 0x10;  // Q sub-channel mode 1: position data

void PutTime(std::vector<std::uint8_t>& out, const Msf& time)
{
    out.insert(out.end(), {time.minute, time.second, time.frame});
}

void AddTrackDescriptor(std::vector<std::uint8_t>& out, std::uint8_t control, std::uint8_t number, std::int64_t lba,
                        bool msf)
{
    out.insert(out.end(), {0x00, static_cast<std::uint8_t>(kAdrPosition | (control & 0x0F)), number, 0x00});
    const std::size_t at = out.size();
    out.resize(at + 4);
    PutAddress(&out[at], lba, msf);
}

// Sets the data length of the header to what follows it.
void Finish(std::vector<std::uint8_t>& answer)
{
    scsi::PutBe16(&answer[0], static_cast<std::uint32_t>(answer.size() - 2));
}

std::int64_t LeadOutLba(const MediumDescription& disc)
{
    const TrackEntry& last = disc.tracks.back();
    return std::int64_t{last.startLba} + last.blocks;
}

bool Toc(const MediumDescription& disc, std::uint8_t from, bool msf, std::vector<std::uint8_t>& answer)
{
    const TrackEntry& last = disc.tracks.back();
    if (from > last.number && from != kLeadOut)
        return false;
    answer = {0, 0, disc.tracks.front().number, last.number};
    for (const TrackEntry& track : disc.tracks)
        if (from != kLeadOut && track.number >= from)
            AddTrackDescriptor(answer, track.control, track.number, track.startLba, msf);
    AddTrackDescriptor(answer, last.control, kLeadOut, LeadOutLba(disc), msf);
    return true;
}

std::vector<std::uint8_t> SessionInfo(const MediumDescription& disc, bool msf)
{
    const std::uint8_t lastSession = disc.tracks.back().session;
    std::vector<std::uint8_t> answer = {0, 0, 1, lastSession};
    for (const TrackEntry& track : disc.tracks)
        if (track.session == lastSession) {
            AddTrackDescriptor(answer, track.control, track.number, track.startLba, msf);
            break;
        }
    return answer;
}

void AddFullTocEntry(std::vector<std::uint8_t>& out, const TrackEntry& track, std::uint8_t point, const Msf& time)
{
    out.insert(out.end(),
               {track.session, static_cast<std::uint8_t>(kAdrPosition | (track.control & 0x0F)), 0x00, point, 0x00,
                0x00, 0x00, 0x00});
    PutTime(out, time);
}

// The raw Q sub-channel of each session's lead-in: first track, last track,
// lead-out start, then each track's start, always as times.
std::vector<std::uint8_t> FullToc(const MediumDescription& disc)
{
    const std::uint8_t lastSession = disc.tracks.back().session;
    std::vector<std::uint8_t> answer = {0, 0, 1, lastSession};
    for (std::uint8_t session = 1; session <= lastSession; ++session) {
        std::vector<const TrackEntry*> tracks;
        for (const TrackEntry& track : disc.tracks)
            if (track.session == session)
                tracks.push_back(&track);
        if (tracks.empty())
            continue;
        const TrackEntry& first = *tracks.front();
        const TrackEntry& last = *tracks.back();
        AddFullTocEntry(answer, first, 0xA0, Msf{first.number, 0x00, 0});  // CD-DA or CD-ROM disc
        AddFullTocEntry(answer, last, 0xA1, Msf{last.number, 0, 0});
        AddFullTocEntry(answer, last, 0xA2, LbaToMsf(std::int64_t{last.startLba} + last.blocks));
        for (const TrackEntry* track : tracks)
            AddFullTocEntry(answer, *track, track->number, LbaToMsf(track->startLba));
    }
    return answer;
}

std::vector<std::uint8_t> Atip(const MediumDescription& disc)
{
    std::vector<std::uint8_t> answer = {0, 0, 0, 0};
    // Byte 2 of the descriptor: bit 7 always set, bit 6 the disc type (CD-RW).
    answer.insert(answer.end(), {0xD0, 0x40, static_cast<std::uint8_t>(0x80 | (disc.erasable ? 0x40 : 0x00)), 0x00});
    PutTime(answer, disc.atip->leadInStart);
    answer.push_back(0x00);
    PutTime(answer, disc.atip->lastLeadOutStart);
    answer.resize(answer.size() + 13, 0);  // A1-A3 values are not given
    return answer;
}

void ReadToc(CommandContext& command)
{
    const bool msf = command.Byte(1) & 0x02;
    const std::uint8_t format = command.Byte(2) & 0x0F;
    const MediumDescription& disc = command.drive.medium->description;
    const bool cd = disc.family == MediumFamily::Cd;
    bool known = !disc.tracks.empty() && disc.status != DiscStatus::Blank;
    std::vector<std::uint8_t> answer;
    switch (format) {
    case kToc: known = known && Toc(disc, command.Byte(6), msf, answer); break;
    case kSessionInfo:
        if (known)
            answer = SessionInfo(disc, msf);
        break;
    case kFullToc:
        known = known && cd;
        if (known)
            answer = FullToc(disc);
        break;
    case kPma:
        known = IsRecordableCd(disc);
        answer = {0, 0, 0, 0};
        break;  // the PMA is empty once a disc is closed
    case kAtip:
        known = IsRecordableCd(disc);
        if (known)
            answer = Atip(disc);
        break;
    case kCdText:
        known = cd;
        answer = {0, 0, 0, 0};
        break;  // no CD-Text on these discs
    default: known = false; break;
    }
    if (!known) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    Finish(answer);
    command.Answer(answer, command.Be16(7));
}

}  // namespace

void RegisterReadToc(CommandTable& table)
{
    table.Register({.opcode = mmc::kReadTocPmaAtip,
                    .name = "READ TOC/PMA/ATIP",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = ReadToc});
}

}  // namespace emu
