#pragma once

#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "platform/passthrough/EmulatedDrives.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

class CScsiCommand;
class DiskList;
class DriveWaitClock;
class EmulatedDeviceOpener;

// Where the drives come from: the system's block devices under two roots
// (fixture trees in tests) and the emulated drives, which are listed after
// the machine's optical drives unless their name stands in for one of them.
struct DriveSources {
    std::string sysBlockRoot = "/sys/block";
    std::string devRoot = "/dev";
    std::vector<NamedEmulatedDrive> emulated;
    std::vector<std::string> problems;  // items of the emulate setting that were left out
    std::uint32_t watchIntervalMs = 2000;  // how often the drive watcher looks; 0: only when asked

    // The machine's drives and those QUENZARIO_EMULATE asks for.
    static DriveSources FromEnvironment();
};

// What the user interface shows while the drive list is built and a drive
// is chosen.
struct DriveListHooks {
    // The start-up interrogation box: a message and a window title.
    std::function<void(const std::string& message, const std::string& title)> driveAdded;
    // The rest of a drive selection once the drive is current (MMC test,
    // media and configuration, page refresh).
    std::function<void(CDevice& device)> deviceSelected;
};

// A message box the drive list has for the user. The list shows nothing
// itself (it runs where no box may be shown): its caller shows these, in order.
struct DriveListMessage {
    DriveListMessage(std::string messageText, std::string messageCaption = {}, unsigned messageType = MB_OK) :
        text(std::move(messageText)), caption(std::move(messageCaption)), type(messageType)
    {
    }
    bool operator==(const DriveListMessage&) const = default;

    std::string text;
    std::string caption;  // empty: the program's own
    unsigned type;
};

// What building the list came to, and what the user is to be told.
struct DriveListResult {
    bool ok = false;
    std::vector<DriveListMessage> messages;
    explicit operator bool() const { return ok; }
};

enum class SelectionOutcome { Selected, Refused, Fatal };

struct SelectionResult {
    SelectionOutcome outcome = SelectionOutcome::Selected;
    std::vector<DriveListMessage> messages;
};

// What start-up tells after the reasons when no drive could be used: what a
// drive needs on this system, and the emulated drives.
constexpr const char* kNoUsableDriveMessage
    = "Quenzario needs read and write access to an optical drive's device node (/dev/srN): the user must be in "
      "the group that owns the node (usually \"cdrom\"; log in again after joining it), or run as root.\n\n"
      "Without a drive it runs on emulated drives: set QUENZARIO_EMULATE, for example QUENZARIO_EMULATE=default.";

// The exit status of the process when start-up ends because no drive could be used.
constexpr int kNoUsableDriveExitStatus = 1;

// Shows the messages of a list result as message boxes, in order.
void ShowDriveListMessages(const std::vector<DriveListMessage>& messages);

// The optical drives the program knows, the drive list's entries and
// selection, and the current drive: the one record every drive command goes
// to. The command channel and the drive's wait clock follow the current drive
// from here.
class DriveList {
public:
    // rawBuffer: the raw-command data buffer, emptied when another drive is chosen.
    DriveList(CScsiCommand& channel, const DriveSources& sources, EmulatedDeviceOpener& opener, DiskList& disks,
              std::span<std::uint8_t> rawBuffer, DriveWaitClock& clock);
    ~DriveList();
    DriveList(const DriveList&) = delete;
    DriveList& operator=(const DriveList&) = delete;

    DriveListResult InitInterfaces();
    DriveListResult FillDeviceComboList();
    // The record of the list's selection; null when the list has none there.
    CDevice* GetSelectedDevice();
    SelectionResult OnSelchangeDevicescombo(bool scanWindowOpen = false);
    // Frees the optical and the disk records; no drive is current afterwards.
    void ReleaseDevices();
    // After a drive came or went: both lists again, keeping the selection
    // when its index still exists, else entry 0 (also remembered in
    // "SelectedDevice"). Not ok when no optical drive is left.
    DriveListResult RebuildDeviceList();

    // The drive list as the combo box shows it: "identity (drive text)".
    const std::vector<std::string>& DeviceComboEntries() const { return m_deviceComboEntries; }
    int GetDeviceComboSel() const { return m_nDeviceComboSel; }
    void SetDeviceComboSel(int index);

    DriveListHooks hooks;
    std::vector<std::unique_ptr<CDevice>> m_DeviceList;
    // Changed only through the list, under the channel's lock.
    CDevice* m_pCurrentDevice = nullptr;

private:
    std::unique_ptr<CDevice> ProbeOpticalDrive(const std::string& driveText, int& answered,
                                               std::vector<std::string>& reasons);
    void SetCurrentDevice(CDevice* device);

    CScsiCommand& m_channel;
    const DriveSources& m_sources;
    EmulatedDeviceOpener& m_opener;
    DiskList& m_disks;
    std::span<std::uint8_t> m_rawBuffer;
    DriveWaitClock& m_clock;
    std::vector<std::string> m_deviceComboEntries;
    int m_nDeviceComboSel = -1;
};
