#pragma once

#include "core/drive/Device.h"
#include "core/drive/EmulatedDrives.h"
#include "core/drive/ScsiCommand.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class EmulatedDeviceOpener;

// Where the drives come from: the system's block devices under two roots
// (fixture trees in tests) and the emulated drives, which are listed after
// the machine's optical drives unless their name stands in for one of them.
struct DriveSources {
    std::string sysBlockRoot = "/sys/block";
    std::string devRoot = "/dev";
    std::vector<NamedEmulatedDrive> emulated;
    std::vector<std::string> problems;  // items of the emulate setting that were left out

    // The machine's drives and those QUENZARIO_EMULATE asks for.
    static DriveSources FromEnvironment();
};

// What the user interface shows while the drives are listed.
struct DriveListHooks {
    // The start-up interrogation box: a message and a window title.
    std::function<void(const std::string& message, const std::string& title)> driveAdded;
    std::function<void(const std::string& text)> showWaitBox;
    std::function<void()> hideWaitBox;
    // The rest of a drive selection once the drive is current (MMC test,
    // media and configuration, page refresh).
    std::function<void(CDevice& device)> deviceSelected;
};

enum class SelectionOutcome { Selected, Refused, Fatal };

// The drive side of the main window: the command channel, the lists of
// optical drives and of disks, the current drive, the drive list's entries
// and selection, and the raw data buffer. The dialog shows what this holds.
class DriveContext {
public:
    explicit DriveContext(DriveSources sources = DriveSources::FromEnvironment());
    ~DriveContext();
    DriveContext(const DriveContext&) = delete;
    DriveContext& operator=(const DriveContext&) = delete;

    bool InitInterfaces();
    bool FillDeviceComboList();
    bool FillHDDComboList();
    CDevice* GetSelectedDevice();
    SelectionOutcome OnSelchangeDevicescombo(bool scanWindowOpen = false);
    void ReleaseDevices();

    // The disks the hard-disk test offers, and the removable ones the flash
    // test offers (empty, with the message to show, when there are none).
    std::vector<CDevice*> HddTestDrives() const;
    std::vector<CDevice*> FlashTestDrives(std::string& message) const;

    // The drive list as the combo box shows it: "identity (drive text)".
    const std::vector<std::string>& DeviceComboEntries() const { return m_deviceComboEntries; }
    int GetDeviceComboSel() const { return m_nDeviceComboSel; }
    void SetDeviceComboSel(int index);

    const DriveSources& Sources() const { return m_sources; }
    DriveListHooks& Hooks() { return m_hooks; }

    CScsiCommand m_ScsiCommand;
    std::vector<std::unique_ptr<CDevice>> m_DeviceList;
    std::vector<std::unique_ptr<CDevice>> m_HddList;
    CDevice* m_pCurrentDevice = nullptr;
    std::array<std::uint8_t, 4096> m_DataBuffer{};

private:
    std::vector<std::string> OpticalDriveTexts() const;
    std::unique_ptr<CDevice> ProbeOpticalDrive(const std::string& driveText, int& answered,
                                               std::vector<std::string>& reasons);
    void SetCurrentDevice(CDevice* device);
    void ReportEmulationProblems() const;

    DriveSources m_sources;
    std::shared_ptr<EmulatedDeviceOpener> m_pOpener;
    DriveListHooks m_hooks;
    std::vector<std::string> m_deviceComboEntries;
    int m_nDeviceComboSel = -1;
};
