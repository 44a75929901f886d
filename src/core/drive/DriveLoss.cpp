#include "core/drive/DriveLoss.h"

#include "core/base/WaitClock.h"
#include "core/drive/MmcCdbs.h"
#include "scsi/Opcodes.h"

namespace {

constexpr int kNotReadyKey = 0x02;
constexpr int kLogicalUnitNotReady = 0x04;
constexpr int kMediumNotPresent = 0x3A;
constexpr std::uint32_t kNotReadyPollMs = 1000;

DriveLoss LossOfAnswer(bool ok, bool lost, const SenseCode& sense)
{
    if (ok)
        return DriveLoss::None;
    if (lost)
        return DriveLoss::DriveGone;
    if (sense.key != kNotReadyKey)
        return DriveLoss::None;
    if (sense.asc == kMediumNotPresent)
        return DriveLoss::DiscGone;
    if (sense.asc == kLogicalUnitNotReady)
        return DriveLoss::NotReady;
    return DriveLoss::None;
}

// How the channel's last command ended, as a read's answer.
BlockReadResult LastAnswer(CScsiCommand& channel, bool ok)
{
    BlockReadResult answer;
    answer.ok = ok;
    if (!ok) {
        answer.lost = channel.LastError() == PassThroughError::Transport;
        answer.sense = SenseOf(channel.GetSenseBuffer());
    }
    return answer;
}

BlockReadResult AskUnitReady(CScsiCommand& channel)
{
    const auto lock = channel.Lock();
    const bool ready = mmc_cdb::TestUnitReady{}.Block().Execute(channel, DataDirection::None, nullptr, 0) == 0;
    return LastAnswer(channel, ready);
}

}  // namespace

DriveLoss LossOf(const BlockReadResult& read)
{
    return LossOfAnswer(read.ok, read.lost, read.sense);
}

DriveLoss LossOf(const CommandAnswer& answer)
{
    return LossOfAnswer(answer.ok, answer.lost, answer.sense);
}

DriveLoss ConfirmLoss(CScsiCommand& channel, WaitClock& clock, const BlockReadResult& read)
{
    DriveLoss loss = LossOf(read);
    if (loss != DriveLoss::DriveGone && loss != DriveLoss::NotReady)
        return loss;
    const std::uint64_t deadline = clock.NowMs() + std::uint64_t{kNotReadySeconds} * 1000;
    for (;;) {
        loss = LossOf(AskUnitReady(channel));
        if (loss != DriveLoss::NotReady || clock.NowMs() >= deadline)
            return loss;
        clock.SleepMs(kNotReadyPollMs);
    }
}

const char* DriveLossText(DriveLoss loss)
{
    switch (loss) {
    case DriveLoss::DiscGone: return "the disc was removed";
    case DriveLoss::DriveGone: return "the drive was lost";
    case DriveLoss::NotReady: return "the drive stays not ready";
    case DriveLoss::None: break;
    }
    return "";
}

DriveLossWatch::DriveLossWatch(CScsiCommand& channel, WaitClock& clock) : m_channel(channel), m_clock(clock)
{
    m_channel.SetFailureWatch(this);
}

DriveLossWatch::~DriveLossWatch()
{
    if (m_armed)
        m_channel.SetFailureWatch(nullptr);
}

void DriveLossWatch::CommandFailed(CScsiCommand& channel)
{
    const DriveLoss loss = ConfirmLoss(channel, m_clock, LastAnswer(channel, false));
    if (loss == DriveLoss::None)
        return;
    m_armed = false;
    channel.SetFailureWatch(nullptr);
    throw DriveLostError(loss);
}
