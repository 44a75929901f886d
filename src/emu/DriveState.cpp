#include "emu/DriveState.h"

#include <algorithm>

namespace emu {

namespace {
bool Lists(const std::vector<std::uint16_t>& profiles, std::uint16_t wanted)
{
    return std::find(profiles.begin(), profiles.end(), wanted) != profiles.end();
}
}  // namespace

std::uint16_t DriveState::CurrentProfile() const
{
    if (!medium || trayOpen)
        return 0;
    const MediumDescription& disc = medium->description;
    if (Lists(identity.profiles, disc.profile))
        return disc.profile;
    for (std::uint16_t fallback : disc.readAsProfiles)
        if (Lists(identity.profiles, fallback))
            return fallback;
    return 0;
}

std::optional<Sense> DriveState::NotReadyReason() const
{
    if (!medium || trayOpen)
        return sense::kNoMedium;
    if (longOperation)
        return sense::kFormatInProgress;
    if (clock->NowMs() < readyAtMs)
        return sense::kNotReadyBecomingReady;
    if (CurrentProfile() == 0)
        return sense::kIncompatibleMedium;
    return std::nullopt;
}

bool DriveState::MediumChangeAttentionDue() const
{
    return mediumChangePending && medium && !trayOpen && clock->NowMs() >= readyAtMs;
}

std::optional<std::uint16_t> DriveState::OperationProgress() const
{
    if (!longOperation)
        return std::nullopt;
    const std::uint64_t elapsed = clock->NowMs() - longOperation->startMs;
    if (longOperation->durationMs == 0 || elapsed >= longOperation->durationMs)
        return 0xFFFF;
    return static_cast<std::uint16_t>(elapsed * 65536 / longOperation->durationMs);
}

void DriveState::SettleLongOperation()
{
    if (!longOperation || clock->NowMs() - longOperation->startMs < longOperation->durationMs)
        return;
    longOperation.reset();
    if (medium)
        medium->description.formatted = true;
}

void DriveState::PlaceMedium(std::optional<LoadedMedium> disc, bool spinUp)
{
    medium = std::move(disc);
    longOperation.reset();
    trayOpen = false;
    readyAtMs = 0;
    mediumChangePending = false;
    if (spinUp && medium) {
        readyAtMs = clock->NowMs() + identity.spinUpMs;
        mediumChangePending = true;
    }
}

void DriveState::CloseTray()
{
    if (!trayOpen)
        return;
    PlaceMedium(std::move(medium), true);
}

void DriveState::SpendTransferTime(std::uint64_t sectors)
{
    constexpr std::uint64_t kDvd1xKBps = 1385;
    const std::uint64_t kBps = readSpeedKBps     ? readSpeedKBps
        : identity.capabilities.maxReadSpeedKBps ? identity.capabilities.maxReadSpeedKBps
                                                 : kDvd1xKBps;
    const std::uint64_t bytes = sectors * (medium ? medium->description.blockSize : 2048);
    clock->Spend(bytes * 1000 / kBps);  // a kB/s is a byte per millisecond
}

std::optional<MediumError> DriveState::FindMediumError(std::uint8_t opcode, std::uint64_t lba, std::uint64_t count)
{
    ErrorRule* first = nullptr;
    std::uint64_t firstBad = 0;
    for (ErrorRule& rule : errorRules) {
        if (rule.kind != ErrorRule::Kind::Sense || !rule.TiedToBlocks() || rule.remaining == 0
            || !rule.MatchesOpcode(opcode))
            continue;
        const std::uint64_t from = std::max(lba, rule.firstBlock);
        const std::uint64_t to = std::min(lba + count, rule.firstBlock + rule.blockCount);
        if (from < to && (!first || from < firstBad)) {
            first = &rule;
            firstBad = from;
        }
    }
    if (!first)
        return std::nullopt;
    if (first->remaining > 0)
        --first->remaining;
    return MediumError{firstBad, first->sense};
}

}  // namespace emu
