#pragma once

#include "core/drive/MmcTypes.h"
#include "core/drive/ScsiCommand.h"

#include <cstdint>
#include <exception>
#include <string>

class WaitClock;

// What a failed command says of the drive and its disc. A long run stops at
// the first answer that says either has gone, or that the drive stays not
// ready: every later command would fail the same way.
enum class DriveLoss {
    None,
    DiscGone,  // NOT READY, MEDIUM NOT PRESENT (2/3Ah/xx)
    DriveGone,  // the command was lost: no status (unplugged, the device gone)
    NotReady,  // LOGICAL UNIT NOT READY (2/04h/xx) that waiting does not end
};

// From the answer alone: a lost answer and a NOT READY one only may be a
// loss (ConfirmLoss tells).
DriveLoss LossOf(const BlockReadResult& read);
DriveLoss LossOf(const CommandAnswer& answer);

// The answer's loss as TEST UNIT READY confirms it. A lost command can also
// be one that took too long on a damaged disc: it is a lost drive only when
// TEST UNIT READY is lost too (or says the disc has gone). A drive that
// answers NOT READY is asked again once a second on the clock: it is taken
// as stuck only when it is still not ready after kNotReadySeconds.
constexpr std::uint32_t kNotReadySeconds = 30;
DriveLoss ConfirmLoss(CScsiCommand& channel, WaitClock& clock, const BlockReadResult& read);

// "the disc was removed", "the drive was lost", "the drive stays not ready";
// "" for None.
const char* DriveLossText(DriveLoss loss);

// What a DriveLossWatch throws.
class DriveLostError : public std::exception {
public:
    explicit DriveLostError(DriveLoss lost) : loss(lost) {}
    const char* what() const noexcept override { return DriveLossText(loss); }

    DriveLoss loss;
};

// While it lives, every failed command the thread that made it sends on the
// channel is judged at once by ConfirmLoss, and the first loss is thrown as
// DriveLostError out of that command: a long run stops there, before any
// retry or message of its own. It throws once; the commands that give the
// drive back go out after it unwatched.
class DriveLossWatch : private FailureWatch {
public:
    DriveLossWatch(CScsiCommand& channel, WaitClock& clock);
    ~DriveLossWatch() override;
    DriveLossWatch(const DriveLossWatch&) = delete;
    DriveLossWatch& operator=(const DriveLossWatch&) = delete;

private:
    void CommandFailed(CScsiCommand& channel) override;

    CScsiCommand& m_channel;
    WaitClock& m_clock;
    bool m_armed = true;
};
