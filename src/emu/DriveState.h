#pragma once

#include "emu/BlockSource.h"
#include "emu/Clock.h"
#include "emu/DriveIdentity.h"
#include "emu/ErrorRule.h"
#include "emu/Medium.h"
#include "emu/RecordedBlocks.h"
#include "emu/Sense.h"
#include "emu/SpeedModel.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace emu {

struct LoadedMedium {
    MediumDescription description;
    std::shared_ptr<RecordedBlocks> source;
    BlockRules unreadable;  // the description's unreadable zones, for the reads
};

// A block range failure found by the error list: the first bad block.
struct MediumError {
    std::uint64_t block = 0;
    Sense sense;
};

// A drive that loses track during an error scan: once its measurement
// reaches `position` it reports that position again (or 0, when it lost its
// address altogether) for `answers` answers, -1 for ever, without moving on.
struct StuckPosition {
    std::uint64_t position = 0;
    int answers = -1;
    bool reportsZero = false;
};

// Where the drive's own error measurement stands: the next sector it
// measures (SEEK and the families' start commands move it), and the faults
// injected into its reports.
struct MeasuringState {
    std::uint64_t position = 0;
    std::vector<StuckPosition> stuck;
};

// A stretch of the disc where the drive loses its footing: the first read
// that reaches `block` finds the drive not ready (becoming ready) for
// `durationMs`, as a drive recalibrating there answers.
struct NotReadyWindow {
    std::uint64_t block = 0;
    std::uint32_t durationMs = 0;
};

class DriveState;

// A format, blank or close that goes on after its command returned (the
// immediate bit): the unit answers `sense` with the progress until it ends,
// then `finish` leaves the disc as the operation made it (none: the disc is
// formatted). A DVD+RW's background format runs the same way while the
// unit is ready.
struct LongOperation {
    using Finish = std::function<void(DriveState&, std::uint64_t endMs)>;
    LongOperation() = default;
    LongOperation(std::uint64_t start, std::uint64_t duration, Sense answer = sense::kFormatInProgress,
                  Finish then = {}) :
        startMs(start), durationMs(duration), sense(answer), finish(std::move(then))
    {
    }

    std::uint64_t startMs = 0;
    std::uint64_t durationMs = 0;
    Sense sense = sense::kFormatInProgress;
    Finish finish;
    bool closing = false;  // a CLOSE TRACK/SESSION

    std::uint64_t EndMs() const { return startMs + durationMs; }
    // How far it has come at `nowMs`, of 65536 (65535 at its end).
    std::uint16_t ProgressAt(std::uint64_t nowMs) const;
};

// Media event codes of GET EVENT STATUS NOTIFICATION.
constexpr std::uint8_t kEjectRequestEvent = 0x01;
constexpr std::uint8_t kNewMediaEvent = 0x02;
constexpr std::uint8_t kMediaRemovalEvent = 0x03;

// What the drive is and what it is doing: the state command handlers read
// and change.
class DriveState {
public:
    DriveState(DriveIdentity driveIdentity, std::shared_ptr<Clock> driveClock) :
        identity(std::move(driveIdentity)), clock(std::move(driveClock)), vendorSettings(identity.vendorSettings)
    {
    }

    // The profile the loaded disc is read as; 0 without a readable disc.
    std::uint16_t CurrentProfile() const;
    // Why a command that needs the disc cannot run now; none when it can.
    std::optional<Sense> NotReadyReason() const;
    // Why a command with this opcode cannot run now: NotReadyReason, but a
    // drive that answers ready while it closes hides the close from TEST
    // UNIT READY.
    std::optional<Sense> NotReadyReasonFor(std::uint8_t opcode) const;
    // The unit attention of a medium change, reported once the disc is ready.
    bool MediumChangeAttentionDue() const;
    // How far a running format has come, as a fraction of 65536; none when
    // no format runs.
    std::optional<std::uint16_t> OperationProgress() const;
    // Ends a format, blank or close whose time is up and leaves the disc as
    // it made it; a background format too.
    void SettleLongOperation();
    // Starts an operation now that the host does not wait for (immediate),
    // or, waited for, spends its time on the drive's clock and ends it.
    void RunLongOperation(LongOperation operation, bool immediate);
    // How far a DVD+RW's background format has come, of 65536; none when
    // none runs.
    std::optional<std::uint16_t> BackgroundProgress() const;
    // The background format stopped where it is (a close): the disc stays
    // usable and a restart goes on from there.
    void StopBackgroundFormat();
    // The next long operation ends with this sense instead of its result,
    // reported once to the next command that needs the disc.
    void FailNextLongOperation(const Sense& failure) { longOperationFailure = failure; }
    // The speeds of the loaded medium's family; without a disc, those of the
    // first family the drive reads of CD, DVD, HD DVD and BD.
    const MediumSpeeds& CurrentSpeeds() const;
    // Puts a disc in (or leaves the drive empty) and closes the tray; with
    // spinUp the drive is becoming ready and then reports the change.
    void PlaceMedium(std::optional<LoadedMedium> disc, bool spinUp);
    void CloseTray();
    // The tray opens (the eject button or START STOP UNIT); the disc stays on it.
    void OpenTray();

    // Consults the block rules of the error list for [lba, lba + count).
    std::optional<MediumError> FindMediumError(std::uint8_t opcode, std::uint64_t lba, std::uint64_t count);
    // The drive's fastest reading and writing of the loaded disc, in kB/s.
    std::uint16_t TopReadKBps() const { return CurrentSpeeds().readKBps; }
    std::uint16_t TopWriteKBps() const { return CurrentSpeeds().writeKBps; }
    // How the drive reads the loaded disc now: the speed set (its fastest
    // when none was), the rotation asked for, the disc's track.
    SpinPlan ReadPlan() const;
    // The spindle's fastest rotation, one for every family of discs.
    double SpindleCeilingRpm() const;
    // The time reading `sectors` sectors from `lba` takes: the spindle
    // brought to the block's speed (from standstill after a load: the
    // spin-up), then the transfer at the block's speed.
    void SpendReadTime(std::uint64_t lba, std::uint64_t sectors);
    // A read of [lba, lba + count) that reaches a not-ready window: the
    // drive is becoming ready from now for the window's time (true).
    bool EntersNotReadyWindow(std::uint64_t lba, std::uint64_t count);
    // The spindle stops (a tray opens, a disc is placed, a stop).
    void StopSpindle() { spindleRpm = 0; }

    DriveIdentity identity;
    std::shared_ptr<Clock> clock;
    VendorSettings vendorSettings;
    std::optional<LoadedMedium> medium;
    bool trayOpen = false;
    bool removalPrevented = false;
    std::uint64_t readyAtMs = 0;
    bool mediumChangePending = false;
    std::optional<LongOperation> longOperation;
    std::optional<LongOperation> backgroundFormat;
    std::optional<Sense> longOperationFailure;  // armed for the next long operation
    std::optional<Sense> deferredError;  // a long operation's failure, reported once
    // The sense of the last command that ended in CHECK CONDITION, until the
    // next command: what REQUEST SENSE then returns.
    std::optional<FixedSense> lastSense;
    // The media event that GET EVENT STATUS NOTIFICATION reports next (its
    // event code), once.
    std::optional<std::uint8_t> pendingMediaEvent;
    std::uint16_t readSpeedKBps = 0;  // SET CD SPEED or SET STREAMING; 0: the medium's top speed
    std::uint16_t writeSpeedKBps = 0;
    std::uint8_t rotationControl = 0;  // SET CD SPEED byte 1: 0 the drive's own way (CLV), 1 CAV
    double spindleRpm = 0;
    // Whether a host transfer must be as long as its CDB asks for.
    bool checkTransferLengths = true;
    std::vector<NotReadyWindow> notReadyWindows;
    std::uint32_t lastAccessedLba = 0;
    // Mode pages set with MODE SELECT: they stand for the identity's pages
    // of the same code.
    std::vector<std::vector<std::uint8_t>> selectedModePages;
    std::vector<ErrorRule> errorRules;  // those not tied to blocks
    BlockRules blockRules;
    MeasuringState measuring;
};

}  // namespace emu
