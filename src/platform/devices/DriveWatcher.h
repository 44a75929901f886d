#pragma once

#include "platform/passthrough/PassThrough.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace emu {
class EmulatedDrive;
}  // namespace emu

// A drive, or the disc in a drive, came or went.
struct DriveChange {
    bool arrival = true;  // false: removal
    bool media = true;  // true: a disc; false: the drive itself
    std::string driveText;
    bool operator==(const DriveChange&) const = default;
};

// Stands in for the system's device-change broadcasts. It tells when optical
// drives come and go (the entries of /sys/block) and when a disc arrives in a
// drive or leaves it: each drive is asked TEST UNIT READY through a handle of
// its own, never through the program's command channel. Emulated drives are
// asked at once whenever their tray or disc changes; every drive is asked on
// each periodic poll. What the drives answer when the watcher is made (and a
// drive's first answer after it came) is taken as it stands without a word,
// so only changes are told.
class DriveWatcher {
public:
    using Sink = std::function<void(const DriveChange&)>;
    using EmulatedDrives = std::vector<std::pair<std::string, std::shared_ptr<emu::EmulatedDrive>>>;

    DriveWatcher(std::string sysBlockRoot, std::shared_ptr<DeviceOpener> opener, EmulatedDrives emulated, Sink sink);
    ~DriveWatcher();
    DriveWatcher(const DriveWatcher&) = delete;
    DriveWatcher& operator=(const DriveWatcher&) = delete;

    // Polls every intervalMs on a thread of its own until Stop.
    void Start(std::uint32_t intervalMs);
    void Stop();
    // While it answers true the periodic poll asks no drive (a running
    // operation owns the drives); the drive list is still watched.
    void SetPaused(std::function<bool()> paused);

    // One poll now, on the calling thread: the drive list, then every drive.
    void PollNow();
    // Asks one drive now.
    void PollDrive(const std::string& driveText);

private:
    enum class DiscState { Unknown, Present, Absent };

    void PollLocked(bool askDrives);
    void PollDriveLocked(const std::string& driveText);
    DiscState AskDrive(const std::string& driveText);
    std::set<std::string> ListDrives() const;
    void Run(std::uint32_t intervalMs);

    const std::string m_sysBlockRoot;
    const std::shared_ptr<DeviceOpener> m_pOpener;
    const EmulatedDrives m_emulated;
    const Sink m_sink;
    std::vector<int> m_listenerIds;  // one per emulated drive, in its order

    std::mutex m_mutex;  // one poll at a time
    bool m_bListKnown = false;
    std::set<std::string> m_drives;
    std::map<std::string, DiscState> m_discs;
    std::function<bool()> m_paused;

    std::mutex m_runMutex;
    std::condition_variable m_wake;
    bool m_bStop = false;
    std::thread m_thread;
};
