#include "emu/DriveState.h"

#include "emu/MediumGeometry.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cmath>
#include <utility>

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
    if (trayOpen)
        return sense::kNoMediumTrayOpen;
    if (!medium)
        return sense::kNoMedium;
    if (longOperation)
        return longOperation->sense;
    if (clock->NowMs() < readyAtMs)
        return sense::kNotReadyBecomingReady;
    if (CurrentProfile() == 0)
        return sense::kIncompatibleMedium;
    return std::nullopt;
}

std::optional<Sense> DriveState::NotReadyReasonFor(std::uint8_t opcode) const
{
    const std::optional<Sense> reason = NotReadyReason();
    const bool hidden = opcode == mmc::kTestUnitReady && identity.readyWhileClosing && longOperation
        && longOperation->closing && reason && *reason == longOperation->sense;
    return hidden ? std::nullopt : reason;
}

bool DriveState::MediumChangeAttentionDue() const
{
    return mediumChangePending && medium && !trayOpen && clock->NowMs() >= readyAtMs;
}

std::uint16_t LongOperation::ProgressAt(std::uint64_t nowMs) const
{
    const std::uint64_t elapsed = nowMs - startMs;
    if (durationMs == 0 || elapsed >= durationMs)
        return 0xFFFF;
    return static_cast<std::uint16_t>(elapsed * 65536 / durationMs);
}

std::optional<std::uint16_t> DriveState::OperationProgress() const
{
    if (!longOperation)
        return std::nullopt;
    return longOperation->ProgressAt(clock->NowMs());
}

std::optional<std::uint16_t> DriveState::BackgroundProgress() const
{
    if (!backgroundFormat)
        return std::nullopt;
    return backgroundFormat->ProgressAt(clock->NowMs());
}

void DriveState::SettleLongOperation()
{
    // A background format that a foreground part starts begins at that part's end.
    for (int settled = 0; settled < 2; ++settled) {
        if (longOperation && clock->NowMs() >= longOperation->EndMs()) {
            LongOperation ended = std::move(*longOperation);
            longOperation.reset();
            if (longOperationFailure) {
                deferredError = *longOperationFailure;
                longOperationFailure.reset();
            } else if (ended.finish) {
                ended.finish(*this, ended.EndMs());
            } else if (medium) {
                medium->description.formatted = true;
            }
        }
        if (backgroundFormat && clock->NowMs() >= backgroundFormat->EndMs()) {
            backgroundFormat.reset();
            if (medium) {
                medium->description.formatStopped = false;
                medium->description.formatStoppedAt = 0;
            }
        }
    }
}

void DriveState::RunLongOperation(LongOperation operation, bool immediate)
{
    operation.startMs = clock->NowMs();
    longOperation = std::move(operation);
    if (!immediate) {  // the command returns when the work is done
        clock->Spend(longOperation->durationMs * 1000);
        SettleLongOperation();
    }
}

void DriveState::StopBackgroundFormat()
{
    if (!backgroundFormat || !medium)
        return;
    medium->description.formatStopped = true;
    medium->description.formatStoppedAt = backgroundFormat->ProgressAt(clock->NowMs());
    backgroundFormat.reset();
}

const MediumSpeeds& DriveState::CurrentSpeeds() const
{
    const DriveCapabilities& caps = identity.capabilities;
    if (medium && !trayOpen) {
        switch (medium->description.family) {
        case MediumFamily::Cd: return caps.cd;
        case MediumFamily::Dvd: return caps.dvd;
        case MediumFamily::HdDvd: return caps.hdDvd;
        case MediumFamily::Bd: return caps.bd;
        }
    }
    for (const MediumSpeeds* speeds : {&caps.cd, &caps.dvd, &caps.hdDvd, &caps.bd})
        if (speeds->readKBps)
            return *speeds;
    return caps.cd;
}

void DriveState::PlaceMedium(std::optional<LoadedMedium> disc, bool spinUp)
{
    medium = std::move(disc);
    longOperation.reset();
    backgroundFormat.reset();
    deferredError.reset();
    trayOpen = false;
    readyAtMs = 0;
    mediumChangePending = false;
    readSpeedKBps = writeSpeedKBps = 0;  // a new disc runs at its own speeds
    StopSpindle();
    if (spinUp && medium) {
        readyAtMs = clock->NowMs() + identity.spinUpMs;
        mediumChangePending = true;
        pendingMediaEvent = kNewMediaEvent;
    }
}

void DriveState::OpenTray()
{
    StopBackgroundFormat();
    if (!trayOpen && medium)
        pendingMediaEvent = kMediaRemovalEvent;
    trayOpen = true;
    mediumChangePending = false;
    StopSpindle();
}

void DriveState::CloseTray()
{
    if (!trayOpen)
        return;
    PlaceMedium(std::move(medium), true);
}

SpinPlan DriveState::ReadPlan() const
{
    SpinPlan plan;
    const MediumFamily family = medium ? medium->description.family : MediumFamily::Cd;
    const int layers = medium ? medium->description.layers : 1;
    plan.geometry = GeometryOf(family, layers);
    plan.topX = std::max(1.0, TopReadKBps() / plan.geometry.kBpsPer1x);
    plan.targetX = RequestedSpeed(readSpeedKBps, plan.geometry, plan.topX);
    plan.ceilingRpm = SpindleCeilingRpm();
    // Asked for CAV, the drive turns the disc at one speed. Otherwise a speed
    // its spindle can hold even at the centre it reads at constant linear
    // velocity, a faster one in its own way.
    const ReadRotations& rotations = identity.rotations;
    const bool clvEverywhere = plan.targetX <= plan.CeilingSpeedAt(plan.geometry.startRadius);
    plan.rotation = rotationControl == 1 ? Rotation::Cav : clvEverywhere ? Rotation::Clv : rotations.For(family);
    plan.zones = rotations.zones;
    if (medium && layers > 1) {
        const std::uint64_t layerZero = LayerZeroBlocks(medium->description);
        if (layerZero < medium->description.capacityBlocks)
            plan.layerZeroBlocks = layerZero;
    }
    return plan;
}

double DriveState::SpindleCeilingRpm() const
{
    if (identity.rotations.spindleCeilingRpm > 0)
        return identity.rotations.spindleCeilingRpm;
    // The rotation of the fastest family's top speed at the outer edge.
    const DriveCapabilities& caps = identity.capabilities;
    const std::pair<MediumFamily, const MediumSpeeds*> families[] = {{MediumFamily::Cd, &caps.cd},
                                                                     {MediumFamily::Dvd, &caps.dvd},
                                                                     {MediumFamily::HdDvd, &caps.hdDvd},
                                                                     {MediumFamily::Bd, &caps.bd}};
    double ceiling = 0;
    for (const auto& [family, speeds] : families) {
        const TrackGeometry geometry = GeometryOf(family, 1);
        if (speeds->readKBps)
            ceiling = std::max(ceiling, RpmOf(geometry, speeds->readKBps / geometry.kBpsPer1x, geometry.outerRadius));
    }
    return ceiling;
}

void DriveState::SpendReadTime(std::uint64_t lba, std::uint64_t sectors)
{
    if (sectors == 0)
        return;
    constexpr double kSettledShare = 0.03;  // smaller changes happen while the drive reads
    const SpinPlan plan = ReadPlan();
    const double wanted = plan.RpmAt(lba);
    const double change = std::abs(wanted - spindleRpm);
    std::uint64_t microseconds = plan.TransferMicroseconds(lba, sectors);
    if (change > kSettledShare * wanted)
        microseconds += static_cast<std::uint64_t>(change / identity.rotations.spindleRpmPerSecond * 1e6);
    spindleRpm = wanted;
    clock->Spend(microseconds);
}

bool DriveState::EntersNotReadyWindow(std::uint64_t lba, std::uint64_t count)
{
    const auto window = std::find_if(notReadyWindows.begin(), notReadyWindows.end(),
                                     [&](const NotReadyWindow& w) { return w.block < lba + count; });
    if (window == notReadyWindows.end())
        return false;
    readyAtMs = clock->NowMs() + window->durationMs;
    notReadyWindows.erase(window);
    spindleRpm = 0;  // it spins up again
    return true;
}

std::optional<MediumError> DriveState::FindMediumError(std::uint8_t opcode, std::uint64_t lba, std::uint64_t count)
{
    std::uint64_t firstBad = 0;
    ErrorRule* first = blockRules.FindFirst(opcode, lba, count, firstBad);
    if (medium) {
        std::uint64_t damaged = 0;
        ErrorRule* scratch = medium->unreadable.FindFirst(opcode, lba, count, damaged);
        if (scratch && (!first || damaged < firstBad)) {
            first = scratch;
            firstBad = damaged;
        }
    }
    if (!first)
        return std::nullopt;
    if (first->remaining > 0)
        --first->remaining;
    return MediumError{firstBad, first->sense};
}

void BlockRules::Add(const ErrorRule& rule)
{
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), rule.firstBlock,
                                     [](std::uint64_t block, const Entry& e) { return block < e.rule.firstBlock; });
    m_entries.insert(at, Entry{rule, m_added++});
    m_longest = std::max(m_longest, rule.blockCount);
}

void BlockRules::Clear()
{
    m_entries.clear();
    m_longest = 0;
    m_added = 0;
}

ErrorRule* BlockRules::FindFirst(std::uint8_t opcode, std::uint64_t lba, std::uint64_t count, std::uint64_t& firstBad)
{
    // Only rules that begin less than the longest rule before lba can reach it.
    const std::uint64_t from = lba >= m_longest ? lba - m_longest + 1 : 0;
    auto it = std::lower_bound(m_entries.begin(), m_entries.end(), from,
                               [](const Entry& e, std::uint64_t block) { return e.rule.firstBlock < block; });
    Entry* first = nullptr;
    for (; it != m_entries.end() && it->rule.firstBlock < lba + count; ++it) {
        const ErrorRule& rule = it->rule;
        if (rule.kind != ErrorRule::Kind::Sense || rule.remaining == 0 || !rule.MatchesOpcode(opcode))
            continue;
        const std::uint64_t bad = std::max(lba, rule.firstBlock);
        if (bad >= std::min(lba + count, rule.firstBlock + rule.blockCount))
            continue;
        if (!first || bad < firstBad || (bad == firstBad && it->order < first->order)) {
            first = &*it;
            firstBad = bad;
        }
    }
    return first ? &first->rule : nullptr;
}

}  // namespace emu
