#pragma once

#include "core/base/MessageIds.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/drive/DriveGuards.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanThreads.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class ScanContext;
class ScanWindowPort;
struct DeviceBroadcast;

// A range text as the scan reads it: hexadecimal as strtol reads it (what
// follows the digits is ignored, none gives 0) into a signed 32-bit value,
// out of range clamped, then widened; in the C locale.
std::int64_t ParseLbaText(const std::string& text);
// "%X" of the value.
std::string FormatLbaText(int lba);

// Scan control of the scan window: Start, Stop, the scan range, the
// pre-fill, the media set-up, Eject and Close, device changes and dropped
// files. Runs on the window's thread; the scan itself runs on a thread the
// controller owns and joins, with the tray locked and the media-change
// notification off, both given back at Stop (also when the controller goes).
class ScanControl {
public:
    ScanControl(ScanContext& context, ScanWindowPort& window, ScanThreadTable threads = ScanThreads());
    ~ScanControl();
    ScanControl(const ScanControl&) = delete;
    ScanControl& operator=(const ScanControl&) = delete;

    // "&Start" (1275).
    void OnStart();
    // "S&top" (1274) and the end of every scan. While the scan thread is
    // still ending, the running position and the display texts stay its own.
    void OnStop();
    // The medium's range into the range values: 0 when set; 1 when READ
    // CAPACITY failed, and for a blank medium (after its message, with the
    // window stopped).
    int ReadCapacityRange();
    // "Set ": the range dialog with the range read from the drive; its texts
    // (none after Cancel: the range stays) become the scan range.
    void OnSetLba();
    // The scan range from the texts of the range dialog.
    void SetRangeTexts(const std::string& startText, const std::string& endText);
    // Empty points up to the start block, so the scan goes on at its place.
    void PrefillGraphs(std::int64_t startLba);
    // The window and the media texts set up for a scan.
    void SetupMedia(bool clearGraphs);
    // The wait above on the window's context.
    int WaitForUnitReady(int seconds);
    // PREVENT ALLOW MEDIUM REMOVAL: the command's result.
    int LockTray(bool lock);
    // The eject button (1088).
    void OnEject();
    // WM_CLOSE: false while a scan runs (after its message), else the window
    // may end its run (the volume unlocked, the current graphs cleared).
    bool OnClose();
    // WM_DEVICECHANGE (event DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE).
    void OnDeviceChange(WPARAM event, const DeviceBroadcast& notice);
    // WM_DROPFILES: the paths dropped, in order.
    void OnDropFiles(const std::vector<std::string>& paths);

    // Waits until the scan thread has ended (a stopped scan ends within one
    // read).
    void JoinScanThread();
    bool ScanThreadRunning() const;

    // The scan range: the texts of the edits (1610, 1609), the range the
    // range dialog opens with, and the texts' values, which are also the
    // context's m_llStartLba and m_llEndLba when a scan starts.
    ScanRange range;

private:
    enum class RangeRead { Set, Failed, Blank };
    RangeRead ReadRange();
    bool CheckRange();
    void ParseRangeTexts();
    void RestoreNotification();
    void ShowNoMedia();
    bool StartScanThread();

    ScanContext& m_context;
    ScanWindowPort& m_window;
    ScanThreadTable m_threads;
    std::optional<TrayLock> m_trayLock;
    std::optional<MediaChangeNotificationOff> m_notificationOff;
    std::thread m_thread;
    std::atomic<bool> m_threadEnded{true};
};
