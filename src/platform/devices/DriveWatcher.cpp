#include "platform/devices/DriveWatcher.h"

#include "emu/EmulatedDrive.h"
#include "platform/devices/BlockDevices.h"

#include <array>
#include <chrono>

namespace {

constexpr std::uint32_t kReadyCheckTimeoutSeconds = 10;

struct Answer {
    bool delivered = false;
    int key = 0;
    int asc = 0;
};

Answer TestUnitReady(PassThrough& drive)
{
    const std::array<std::uint8_t, 6> cdb{};
    std::array<std::uint8_t, 18> sense{};
    const PassThroughResult result = drive.Execute(cdb.data(), cdb.size(), DataDirection::None, nullptr, 0,
                                                   sense.data(), sense.size(), kReadyCheckTimeoutSeconds);
    if (!result.Delivered())
        return {};
    if ((sense[0] & 0x70) == 0)
        return {true, 0, 0};
    return {true, sense[2] & 0x0F, sense[12]};
}

}  // namespace

DriveWatcher::DriveWatcher(std::string sysBlockRoot, std::shared_ptr<DeviceOpener> opener, EmulatedDrives emulated,
                           Sink sink) :
    m_sysBlockRoot(std::move(sysBlockRoot)),
    m_pOpener(std::move(opener)),
    m_emulated(std::move(emulated)),
    m_sink(std::move(sink))
{
    PollNow();  // what is there now is known: only changes from here on are told
    for (const auto& [name, drive] : m_emulated)
        m_listenerIds.push_back(drive->AddTrayListener([this, driveText = name] { PollDrive(driveText); }));
}

DriveWatcher::~DriveWatcher()
{
    // Listeners first: a drive may be telling one now, and it waits for our poll.
    for (std::size_t i = 0; i < m_emulated.size(); ++i)
        m_emulated[i].second->RemoveTrayListener(m_listenerIds[i]);
    Stop();
}

void DriveWatcher::Start(std::uint32_t intervalMs)
{
    Stop();
    if (intervalMs == 0)
        return;
    {
        std::lock_guard lock(m_runMutex);
        m_bStop = false;
    }
    m_thread = std::thread([this, intervalMs] { Run(intervalMs); });
}

void DriveWatcher::Stop()
{
    {
        std::lock_guard lock(m_runMutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DriveWatcher::SetPaused(std::function<bool()> paused)
{
    std::lock_guard lock(m_mutex);
    m_paused = std::move(paused);
}

void DriveWatcher::Run(std::uint32_t intervalMs)
{
    for (;;) {
        {
            std::unique_lock lock(m_runMutex);
            if (m_wake.wait_for(lock, std::chrono::milliseconds(intervalMs), [this] { return m_bStop; }))
                return;
        }
        std::lock_guard lock(m_mutex);
        PollLocked(!(m_paused && m_paused()));
    }
}

void DriveWatcher::PollNow()
{
    std::lock_guard lock(m_mutex);
    PollLocked(true);
}

void DriveWatcher::PollDrive(const std::string& driveText)
{
    std::lock_guard lock(m_mutex);
    PollDriveLocked(driveText);
}

std::set<std::string> DriveWatcher::ListDrives() const
{
    std::set<std::string> drives;
    for (const std::string& name : ListOpticalDrives(m_sysBlockRoot))
        drives.insert(name);
    for (const auto& [name, drive] : m_emulated)
        drives.insert(name);
    return drives;
}

void DriveWatcher::PollLocked(bool askDrives)
{
    const std::set<std::string> drives = ListDrives();
    if (m_bListKnown) {
        for (const std::string& gone : m_drives)
            if (!drives.count(gone)) {
                m_discs.erase(gone);
                m_sink({false, false, gone});
            }
        for (const std::string& came : drives)
            if (!m_drives.count(came))
                m_sink({true, false, came});
    }
    m_drives = drives;
    m_bListKnown = true;
    if (!askDrives)
        return;
    for (const std::string& name : m_drives)
        PollDriveLocked(name);
}

void DriveWatcher::PollDriveLocked(const std::string& driveText)
{
    const DiscState now = AskDrive(driveText);
    if (now == DiscState::Unknown)
        return;
    DiscState& known = m_discs[driveText];
    const DiscState before = known;
    known = now;
    if (before == DiscState::Unknown || before == now)
        return;
    m_sink({now == DiscState::Present, true, driveText});
}

DriveWatcher::DiscState DriveWatcher::AskDrive(const std::string& driveText)
{
    DeviceOpenFailure failure;
    const std::unique_ptr<PassThrough> drive = m_pOpener ? m_pOpener->Open(driveText, failure) : nullptr;
    if (!drive)
        return DiscState::Unknown;
    Answer answer = TestUnitReady(*drive);
    if (answer.delivered && answer.key == 6 && answer.asc == 0x28)  // the medium changed: ask how it is now
        answer = TestUnitReady(*drive);
    if (!answer.delivered)
        return DiscState::Unknown;
    if (answer.key == 0)
        return DiscState::Present;
    if (answer.key == 2 && answer.asc == 0x3A)
        return DiscState::Absent;
    return DiscState::Unknown;  // becoming ready, or busy: the next poll tells
}
