#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/drive/DriveLoss.h"
#include "core/tools/erase/EraseSink.h"
#include "scsi/DiscStructure.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class DriveContext;
class TrayLock;
class UserPrompt;

namespace erasing {

// The ranges of DC erase: physical sectors of a DVD-RW or DVD+RW from
// 2D000h, and the markers of the CD forms (-1 quick, 0 full).
constexpr std::int64_t kDcDvdStart = 0x2D000;
constexpr std::int64_t kDcDvdQuickEnd = kDvdFirstDataSector;  // where the data zone begins
constexpr std::int64_t kDcDvdDataStart = 0x2FE00;  // a DVD-RW's data steps begin here
constexpr std::int64_t kDcCdQuick = -1;
constexpr std::int64_t kDcCdFull = 0;
constexpr int kDcDataSteps = 20;

// One data step: physical sectors first to last.
struct DcEraseStep {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool operator==(const DcEraseStep&) const = default;
};

// The 20 data steps of a DVD range: the total (range end - 2FE00h on a
// DVD-RW, range end - range start on a DVD+RW) in portions of a twentieth,
// each step from the last one's end + 1 to its first + one portion, the
// last one to the range end.
std::vector<DcEraseStep> DcEraseDataSteps(int mediaType, std::int64_t rangeStart, std::int64_t rangeEnd);

// What a DC erase runs with: the media type, the range, the speed (x) and
// the set-up's mode and range type.
struct DcErasePlan {
    int mediaType = 0;
    std::int64_t rangeStart = 0;
    std::int64_t rangeEnd = 0;
    int speed = 4;
    int mode = 0;
    int rangeType = 2;
    DestructiveOperation confirmation;
};

// The speed the erase runs at when the drive tells none.
constexpr int kDcDefaultSpeed = 4;

// DC erase through the Nu/QSI family's F3h 0Ch commands. The checks and
// then DoErase run on a worker (nothing written before the confirmation). Every way out of DoErase leaves the erase
// mode, allows removal and ejects the disc; every wait is bounded and Stop is asked in every loop; a disc or drive gone
// ends it as a failure.
class DcErase {
public:
    DcErase(DriveContext& drive, EraseSink& sink);

    // The drive's write speed in x for the media type (SET CD SPEED to the
    // fastest, then the capabilities page's current write speed); 0 when it
    // tells none.
    int GetDriveSpeeds(int mediaType);
    // READ TRACK INFORMATION of track 1: its free blocks + 30000h; none on failure.
    std::optional<std::int64_t> ReadTrackInfo(std::string* failure = nullptr);
    // The end of a full erase of a DVD: past the free blocks of track 1 and
    // past the recorded blocks READ CAPACITY tells (a closed disc has no free
    // blocks), or when it fails the last track's end, + 30000h; none when
    // track 1 or the recorded part could not be read.
    std::optional<std::int64_t> FullEraseEnd(std::string* failure = nullptr);
    // The checks before an erase of the range: a rewritable disc (media type
    // 3, 9, 101, or 100 whose disc information says erasable), the question
    // when the disc holds data, the speed; none when it ends here (after its
    // message or status).
    std::optional<DcErasePlan> Prepare(int mediaType, std::int64_t rangeStart, std::int64_t rangeEnd, bool quick,
                                       UserPrompt* prompt);
    EraseResult DoErase(const DcErasePlan& plan, const std::function<bool()>& stop);

private:
    struct Outcome;
    Outcome EraseDvd(const DcErasePlan& plan, const std::function<bool()>& stop);
    Outcome EraseCd(const DcErasePlan& plan, const std::function<bool()>& stop);
    Outcome SetUp(const DcErasePlan& plan, const std::function<bool()>& stop);
    // Polls the step's state until the drive is idle: none then, else how it ended.
    std::optional<Outcome> PollStep(int percent, const std::function<bool()>& stop, std::uint64_t limitMs);
    Outcome Complete();
    // The end of the disc's last track (READ DISC INFORMATION, then READ
    // TRACK INFORMATION of that track) + 30000h; none on failure.
    std::optional<std::int64_t> LastTrackEnd(std::string* failure);
    EraseResult End(TrayLock& lock, const Outcome& outcome);
    // TEST UNIT READY until the drive is ready, for up to 20 seconds (a drive
    // still busy then is asked by the next command): the loss when the disc
    // or the drive has gone.
    DriveLoss WaitUnitReady();
    // The failure of a wait that found the disc or the drive gone.
    std::optional<Outcome> WaitGone();
    void Sleep(std::uint32_t milliseconds);

    DriveContext& m_drive;
    EraseSink& m_sink;
};

}  // namespace erasing
