#pragma once

#include "core/base/WaitClock.h"
#include "platform/passthrough/EmulatedDrives.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The wait clock of the current drive: an emulated drive's own time where
// the drive has one (its waits spend the drive's time, and the reads the
// program times took the model's time, however much a paced drive shortens
// them), the system clock for the machine's drives and when no drive is
// current.
class DriveWaitClock : public WaitClock {
public:
    explicit DriveWaitClock(const std::vector<NamedEmulatedDrive>& emulated);

    // Follows the drive of this drive text; a text of no emulated drive (or
    // an empty one) follows the system clock.
    void Follow(const std::string& driveText);
    // Whether the current drive's time is the system clock.
    bool FollowsSystemClock() const;

    std::uint64_t NowMs() const override;
    void SleepMs(std::uint32_t milliseconds) override;

private:
    std::shared_ptr<WaitClock> Current() const;

    std::map<std::string, std::shared_ptr<WaitClock>> m_emulated;
    mutable std::mutex m_mutex;
    std::shared_ptr<WaitClock> m_current;
};
