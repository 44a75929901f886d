#include "core/drive/DriveContext.h"

#include "core/app/AppProfile.h"
#include "core/app/BusyFlags.h"
#include "core/app/Format.h"
#include "core/app/LogFile.h"
#include "core/app/UserPrompt.h"
#include "platform/devices/BlockDevices.h"
#include "platform/passthrough/EmulatedPassThrough.h"
#include "platform/passthrough/SystemDeviceOpener.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string InquiryFailureText(const CScsiCommand& channel, const std::uint8_t* sense)
{
    if (channel.LastError() != PassThroughError::None)
        return channel.LastErrorText();
    return Format("sense %X/%02X/%02X", sense[2] & 0x0F, sense[12], sense[13]);
}

}  // namespace

DriveSources DriveSources::FromEnvironment()
{
    DriveSources sources;
    if (const char* setting = std::getenv(kEmulateVariable); setting && *setting)
        sources.emulated = MakeEmulatedDrives(setting, sources.problems);
    return sources;
}

DriveContext::DriveContext(DriveSources sources) :
    m_sources(std::move(sources)),
    m_pOpener(std::make_shared<EmulatedDeviceOpener>(
        std::make_shared<SystemDeviceOpener>(m_sources.devRoot, m_sources.sysBlockRoot)))
{
    for (const auto& [name, drive] : m_sources.emulated)
        m_pOpener->Add(name, drive);
    m_ScsiCommand.SetDeviceOpener(m_pOpener);
}

DriveContext::~DriveContext()
{
    ReleaseDevices();
}

void DriveContext::SetWaitClock(std::shared_ptr<WaitClock> clock)
{
    m_pWaitClock = clock ? std::move(clock) : SystemWaitClock();
}

void DriveContext::SetCurrentDevice(CDevice* device)
{
    m_pCurrentDevice = device;
    m_ScsiCommand.SetCurrentDevice(device);
}

void DriveContext::SetDeviceComboSel(int index)
{
    m_nDeviceComboSel = index >= 0 && index < static_cast<int>(m_deviceComboEntries.size()) ? index : -1;
}

std::vector<std::string> DriveContext::OpticalDriveTexts() const
{
    std::vector<std::string> texts = ListOpticalDrives(m_sources.sysBlockRoot);
    for (const std::string& name : m_pOpener->DriveTexts())
        if (std::find(texts.begin(), texts.end(), name) == texts.end())
            texts.push_back(name);
    return texts;
}

std::unique_ptr<CDevice> DriveContext::ProbeOpticalDrive(const std::string& driveText, int& answered,
                                                         std::vector<std::string>& reasons)
{
    const auto lock = m_ScsiCommand.Lock();
    if (!m_ScsiCommand.associate(driveText)) {
        LogEntry("FillDeviceComboList() - Device Inquiry resulted in an error");
        reasons.push_back(m_ScsiCommand.LastOpenFailure().text);
        return nullptr;
    }
    auto record = std::make_unique<CDevice>();
    SetCurrentDevice(record.get());
    std::uint8_t answer[kInquiryLength] = {};
    *m_ScsiCommand.Cdb(0) = mmc::kInquiry;
    *m_ScsiCommand.Cdb(4) = kInquiryLength;
    *m_ScsiCommand.Cdb(5) = 0;
    const int failed = m_ScsiCommand.ExecuteAndClose(DataDirection::In, answer, kInquiryLength);
    SetCurrentDevice(nullptr);
    if (failed) {
        LogEntry("FillDeviceComboList() - Device Inquiry resulted in an error");
        reasons.push_back(driveText + " did not answer INQUIRY: "
                          + InquiryFailureText(m_ScsiCommand, m_ScsiCommand.GetSenseBuffer()));
        return nullptr;
    }
    record->m_strDriveText = driveText;
    record->m_nEnumIndex = answered;
    if (!record->TakeInquiry(answer, kInquiryLength - std::min(m_ScsiCommand.Residual(), kInquiryLength))) {
        reasons.push_back(driveText + " gave no identification");
        return nullptr;
    }
    ++answered;
    return record;
}

bool DriveContext::FillDeviceComboList()
{
    LogEntry("Start FillDeviceComboList()");
    m_ScsiCommand.CloseIfOpen();  // associate keeps an open drive: each probe must open its own
    const std::vector<std::string> texts = OpticalDriveTexts();
    std::vector<std::string> reasons;
    if (texts.empty())
        reasons.push_back("No optical drive node (" + m_sources.devRoot + "/srN) exists on this machine.");
    const int step = texts.empty() ? 0 : 100 / static_cast<int>(texts.size());
    int lookedAt = 0;
    int answered = 0;
    for (const std::string& text : texts) {
        ++lookedAt;
        LogEntry("FillDeviceComboList() - Probing " + text);
        auto record = ProbeOpticalDrive(text, answered, reasons);
        if (!record)
            continue;
        if (record->m_nDeviceType != DTYPE_CDROM && record->m_nDeviceType != DTYPE_WORM) {
            LogEntry("FillDeviceComboList() - Device Type not DTYPE_CDROM, DTYPE_WORM or DTYPE_DASD");
            reasons.push_back(text + " is not an optical drive");
            continue;
        }
        record->m_nBusType = m_pOpener->QueryBusType(text);
        if (m_hooks.driveAdded)
            m_hooks.driveAdded(Format(" Adding drive %s", record->m_strIdentity.c_str()),
                               Format("Quenzario Drive Scan %d%% Complete", lookedAt * step));
        m_DeviceList.push_back(std::move(record));
    }

    m_deviceComboEntries.clear();
    for (const auto& device : m_DeviceList)
        m_deviceComboEntries.push_back(
            Format("%s (%2s)", device->m_strIdentity.c_str(), device->m_strDriveText.c_str()));
    SetDeviceComboSel(0);
    if (!m_DeviceList.empty()) {
        LogEntry("End FillDevicesComboList()");
        return true;
    }
    LogEntry("FillDevicesComboList() - No suitable devices found");
    std::string message = "No optical devices were found. Quenzario cannot run without one drive at least\n";
    for (const std::string& reason : reasons)
        message += "\n" + reason;
    AppMessageBox(message);
    return false;
}

bool DriveContext::FillHDDComboList()
{
    if (!m_HddList.empty())
        return true;
    if (m_hooks.showWaitBox)
        m_hooks.showWaitBox("Scanning for hard drives...");
    LogEntry("Start FillHDDComboList()");
    m_ScsiCommand.CloseIfOpen();
    int index = 0;
    for (const BlockDeviceInfo& disk : ListDisks(m_sources.sysBlockRoot)) {
        auto record = std::make_unique<CDevice>();
        FillDiskRecord(*record, disk);
        record->m_nEnumIndex = index++;
        if (record->m_nDeviceType != DTYPE_DASD) {
            LogEntry("FillHDDComboList() - Device Type not DTYPE_DASD");
            continue;
        }
        m_HddList.push_back(std::move(record));
    }
    LogEntry("End FillHDDComboList()");
    if (m_hooks.hideWaitBox)
        m_hooks.hideWaitBox();
    m_ScsiCommand.CloseIfOpen();
    return true;
}

void DriveContext::ReportEmulationProblems() const
{
    if (m_sources.problems.empty())
        return;
    std::string message = std::string(kEmulateVariable) + " asks for drives that cannot be made; they are left out:\n";
    for (const std::string& problem : m_sources.problems) {
        LogEntry(std::string(kEmulateVariable) + ": " + problem);
        message += "\n" + problem;
    }
    AppMessageBox(message + "\n\n" + DescribeEmulatePresets(), "Emulated drives", MB_OK | MB_ICONEXCLAMATION);
}

bool DriveContext::InitInterfaces()
{
    LogEntry("InitInterfaces() - Start");
    LogEntry("InitInterfaces() - First time run");
    LogEntry("OS is Win2k or later, SPTI is mandatory");
    LogEntry("Attempting to read all devices and create device list");
    ReportEmulationProblems();
    if (!FillDeviceComboList()) {
        LogEntry("Fatal Error - FillDeviceComboList() function failed - returned false");
        AppMessageBox("SPTI init failed For SPTI, your login needs administrator rights.\n");
        return false;
    }
    LogEntry("Device list created successfully - selecting default device");
    const int selected = std::max(0, GetAppProfileInt("SelectedDevice", 0));
    if (GetAppProfileInt("RememberDevice", 1) == 1 && selected < static_cast<int>(m_deviceComboEntries.size())) {
        SetDeviceComboSel(selected);
    } else {
        WriteAppProfileInt("SelectedDevice", 0);
        SetDeviceComboSel(0);
    }
    if (OnSelchangeDevicescombo() == SelectionOutcome::Fatal)
        return false;
    if (m_pCurrentDevice)
        LogEntry("Device selected = " + m_pCurrentDevice->m_strDriveText + " " + m_pCurrentDevice->m_strIdentity);
    LogEntry("InitInterfaces() - End");
    return true;
}

CDevice* DriveContext::GetSelectedDevice()
{
    LogEntry("Start GetSelectedDevice()");
    int selected = m_nDeviceComboSel;
    if (selected < 0 || selected >= static_cast<int>(m_deviceComboEntries.size()))
        selected = 0;
    if (selected >= static_cast<int>(m_DeviceList.size())) {
        AppMessageBox("Error selecting device");
        return nullptr;
    }
    LogEntry("End GetSelectedDevice()");
    return m_DeviceList[static_cast<std::size_t>(selected)].get();
}

SelectionOutcome DriveContext::OnSelchangeDevicescombo(bool scanWindowOpen)
{
    if (g_bErrorTestRunning == 1 || g_bSpeedTestRunning == 1 || g_bCreateIsoRunning == 1 || scanWindowOpen) {
        AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
        return SelectionOutcome::Refused;
    }
    LogEntry("Start OnSelchangeDevicescombo()");
    m_DataBuffer.fill(0);
    m_ScsiCommand.CloseIfOpen();
    CDevice* device = GetSelectedDevice();
    if (!device) {
        AppMessageBox("Fatal Error Getting Selected Device");
        return SelectionOutcome::Fatal;
    }
    SetCurrentDevice(device);
    LogEntry("OnSelchangeDevicescombo() - Device selected = " + device->m_strIdentity);
    if (m_hooks.deviceSelected)
        m_hooks.deviceSelected(*device);
    LogEntry("End OnSelchangeDevicescombo()");
    return SelectionOutcome::Selected;
}

void DriveContext::ReleaseDevices()
{
    m_ScsiCommand.CloseIfOpen();
    SetCurrentDevice(nullptr);
    while (!m_DeviceList.empty())
        m_DeviceList.pop_back();
    while (!m_HddList.empty())
        m_HddList.pop_back();
    m_deviceComboEntries.clear();
    m_nDeviceComboSel = -1;
}

std::vector<CDevice*> DriveContext::HddTestDrives() const
{
    std::vector<CDevice*> drives;
    for (const auto& disk : m_HddList)
        if (disk->m_bDiskRecord)
            drives.push_back(disk.get());
    return drives;
}

std::vector<CDevice*> DriveContext::FlashTestDrives(std::string& message) const
{
    std::vector<CDevice*> drives;
    if (m_HddList.empty()) {
        message = "No removable flash drives found";
        return drives;
    }
    for (const auto& disk : m_HddList)
        if (disk->m_bRemovable)
            drives.push_back(disk.get());
    if (drives.empty())
        message = "No removable flash drives found (NOTE: eSata flash are not designated as removable)";
    return drives;
}
