#include "core/drive/DriveLoss.h"

#include "core/drive/CommandBlock.h"
#include "core/drive/ScsiCommand.h"
#include "scsi/Opcodes.h"

namespace {

constexpr int kNotReady = 0x02;
constexpr int kMediumNotPresent = 0x3A;

DriveLoss LossOfAnswer(bool ok, bool lost, const SenseCode& sense)
{
    if (ok)
        return DriveLoss::None;
    if (lost)
        return DriveLoss::DriveGone;
    if (sense.key == kNotReady && sense.asc == kMediumNotPresent)
        return DriveLoss::DiscGone;
    return DriveLoss::None;
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

namespace {

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

}  // namespace

DriveLoss ConfirmLoss(CScsiCommand& channel, const BlockReadResult& read)
{
    const DriveLoss loss = LossOf(read);
    if (loss != DriveLoss::DriveGone)
        return loss;
    const auto lock = channel.Lock();
    const bool ready = CommandBlock(mmc::kTestUnitReady).Execute(channel, DataDirection::None, nullptr, 0) == 0;
    return LossOf(LastAnswer(channel, ready));
}

DriveLoss LastCommandLoss(CScsiCommand& channel)
{
    const auto lock = channel.Lock();
    return ConfirmLoss(channel, LastAnswer(channel, false));
}

const char* DriveLossText(DriveLoss loss)
{
    switch (loss) {
    case DriveLoss::DiscGone: return "the disc was removed";
    case DriveLoss::DriveGone: return "the drive was lost";
    case DriveLoss::None: break;
    }
    return "";
}
