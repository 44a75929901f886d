#include "emu/MediumGeometry.h"

#include "scsi/Profiles.h"
#include "scsi/Bytes.h"

#include <algorithm>

namespace emu {

namespace {
constexpr std::int64_t kFramesPerSecond = 75;
constexpr std::int64_t kLeadInOffset = 150;  // two seconds of pre-gap before LBA 0
}  // namespace

std::uint64_t TotalBlocks(const MediumDescription& disc)
{
    return std::max(disc.totalBlocks, disc.capacityBlocks);
}

std::uint64_t LayerZeroBlocks(const MediumDescription& disc)
{
    if (disc.layers < 2)
        return disc.capacityBlocks;
    return std::min(disc.capacityBlocks, TotalBlocks(disc) / static_cast<std::uint64_t>(disc.layers));
}

std::uint64_t RecordedEnd(const MediumDescription& disc)
{
    std::uint64_t end = 0;
    for (const TrackEntry& track : disc.tracks)
        end = std::max<std::uint64_t>(end, std::uint64_t{track.startLba} + track.blocks);
    return disc.tracks.empty() ? disc.capacityBlocks : end;
}

namespace {

// The lengths the formats give the zones between two sessions, in blocks.
constexpr std::uint64_t kCdFirstLeadOut = 6750;  // 1.5 minutes after the first session
constexpr std::uint64_t kCdLaterLeadOut = 2250;  // 0.5 minutes after a later one
constexpr std::uint64_t kCdLeadIn = 4500;  // 1 minute
constexpr std::uint64_t kCdPreGap = 150;  // 2 seconds before a data track
constexpr std::uint64_t kDvdSessionGap = 12288;  // lead-out or closure and the next lead-in or intro, 24 MiB
constexpr std::uint64_t kDvdEccBlock = 16;
constexpr std::uint64_t kBdCluster = 32;  // a BD-R session ends where its last cluster does

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t unit)
{
    return (value + unit - 1) / unit * unit;
}

std::uint8_t ClosedSessions(const MediumDescription& disc)
{
    return disc.tracks.empty() ? 0 : disc.tracks.back().session;
}

}  // namespace

std::optional<std::int64_t> NextLeadInStart(const MediumDescription& disc)
{
    if (disc.family != MediumFamily::Cd || disc.status != DiscStatus::Appendable || disc.tracks.empty())
        return std::nullopt;
    const std::uint64_t leadOut = ClosedSessions(disc) == 1 ? kCdFirstLeadOut : kCdLaterLeadOut;
    return static_cast<std::int64_t>(RecordedEnd(disc) + leadOut);
}

std::uint64_t NextTrackStart(const MediumDescription& disc)
{
    if (disc.status == DiscStatus::Blank || disc.tracks.empty())
        return 0;
    switch (disc.family) {
    case MediumFamily::Cd:
        if (const auto leadIn = NextLeadInStart(disc))
            return static_cast<std::uint64_t>(*leadIn) + kCdLeadIn;
        break;
    case MediumFamily::Dvd:
    case MediumFamily::HdDvd: return RoundUp(RecordedEnd(disc) + kDvdSessionGap, kDvdEccBlock);
    case MediumFamily::Bd: return RoundUp(RecordedEnd(disc), kBdCluster);
    }
    return RecordedEnd(disc);
}

std::uint64_t NextWritableAddress(const MediumDescription& disc)
{
    const std::uint64_t start = NextTrackStart(disc);
    const bool afterSession = disc.family == MediumFamily::Cd && disc.status == DiscStatus::Appendable
        && !disc.tracks.empty();
    return afterSession ? start + kCdPreGap : start;
}

std::uint64_t FreeBlocks(const MediumDescription& disc)
{
    if (disc.status == DiscStatus::Complete)
        return 0;
    const std::uint64_t next = NextWritableAddress(disc);
    const std::uint64_t total = TotalBlocks(disc);
    return total > next ? total - next : 0;
}

Msf LbaToMsf(std::int64_t lba)
{
    const std::int64_t frames = std::max<std::int64_t>(0, lba + kLeadInOffset);
    return {static_cast<std::uint8_t>(std::min<std::int64_t>(frames / (60 * kFramesPerSecond), 255)),
            static_cast<std::uint8_t>(frames / kFramesPerSecond % 60),
            static_cast<std::uint8_t>(frames % kFramesPerSecond)};
}

std::int64_t MsfToLba(const Msf& time)
{
    return (std::int64_t{time.minute} * 60 + time.second) * kFramesPerSecond + time.frame - kLeadInOffset;
}

void PutAddress(std::uint8_t* at, std::int64_t lba, bool msf)
{
    if (!msf) {
        scsi::PutBe32(at, static_cast<std::uint32_t>(lba));
        return;
    }
    const Msf time = LbaToMsf(lba);
    at[0] = 0;
    at[1] = time.minute;
    at[2] = time.second;
    at[3] = time.frame;
}

bool IsRecordableCd(const MediumDescription& disc)
{
    return disc.family == MediumFamily::Cd && disc.atip.has_value();
}

bool IsRandomWritable(const MediumDescription& disc)
{
    using namespace profile;
    return disc.formatted
        && (disc.profile == kDvdRam || disc.profile == kDvdRwRestricted || disc.profile == kDvdPlusRw
            || disc.profile == kBdRe);
}

void MakeBlank(MediumDescription& disc)
{
    disc.totalBlocks = TotalBlocks(disc);
    disc.capacityBlocks = 0;
    disc.tracks.clear();
    disc.status = DiscStatus::Blank;
    disc.formatted = false;
    disc.formatStopped = false;
    disc.formatStoppedAt = 0;
    if (disc.profile == profile::kDvdRwRestricted)
        disc.profile = profile::kDvdRwSequential;
}

void MakeFormatted(MediumDescription& disc)
{
    disc.totalBlocks = TotalBlocks(disc);
    disc.capacityBlocks = disc.totalBlocks;
    disc.tracks = {TrackEntry{1, 1, 4, 0, static_cast<std::uint32_t>(disc.capacityBlocks)}};
    disc.status = DiscStatus::Complete;
    disc.formatted = true;
    disc.formatStopped = false;
    disc.formatStoppedAt = 0;
    if (disc.profile == profile::kDvdRwSequential)
        disc.profile = profile::kDvdRwRestricted;
}

}  // namespace emu
