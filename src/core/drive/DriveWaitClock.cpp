#include "core/drive/DriveWaitClock.h"

namespace {

class EmulatedDriveWaitClock : public WaitClock {
public:
    explicit EmulatedDriveWaitClock(std::shared_ptr<EmulatedDriveTime> time) : m_time(std::move(time)) {}
    std::uint64_t NowMs() const override { return m_time->NowMs(); }
    void SleepMs(std::uint32_t milliseconds) override { m_time->Wait(milliseconds); }

private:
    std::shared_ptr<EmulatedDriveTime> m_time;
};

}  // namespace

DriveWaitClock::DriveWaitClock(const std::vector<NamedEmulatedDrive>& emulated) : m_current(SystemWaitClock())
{
    for (const auto& [name, drive] : emulated)
        if (drive)
            if (auto time = EmulatedDriveTimeOf(*drive))
                m_emulated.emplace(name, std::make_shared<EmulatedDriveWaitClock>(std::move(time)));
}

void DriveWaitClock::Follow(const std::string& driveText)
{
    const auto found = m_emulated.find(driveText);
    std::lock_guard lock(m_mutex);
    m_current = found != m_emulated.end() ? found->second : SystemWaitClock();
}

bool DriveWaitClock::FollowsSystemClock() const
{
    return Current() == SystemWaitClock();
}

std::shared_ptr<WaitClock> DriveWaitClock::Current() const
{
    std::lock_guard lock(m_mutex);
    return m_current;
}

std::uint64_t DriveWaitClock::NowMs() const
{
    return Current()->NowMs();
}

void DriveWaitClock::SleepMs(std::uint32_t milliseconds)
{
    Current()->SleepMs(milliseconds);
}
