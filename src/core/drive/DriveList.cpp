#include "core/drive/DriveList.h"

#include "core/base/AppProfile.h"
#include "core/base/BusyFlags.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/DiskList.h"
#include "core/drive/DriveWaitClock.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/ScsiCommand.h"
#include "platform/devices/BlockDevices.h"
#include "platform/passthrough/EmulatedPassThrough.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string InquiryFailureText(const CScsiCommand& channel, const std::uint8_t* sense)
{
    if (channel.LastError() != PassThroughError::None)
        return channel.LastErrorText();
    return Format("sense %X/%02X/%02X", sense[2] & 0x0F, sense[12], sense[13]);
}

// The machine's optical drives, then the emulated ones that stand in for none of them.
std::vector<std::string> OpticalDriveTexts(const DriveSources& sources, const EmulatedDeviceOpener& opener)
{
    std::vector<std::string> texts = ListOpticalDrives(sources.sysBlockRoot);
    for (const std::string& name : opener.DriveTexts())
        if (std::find(texts.begin(), texts.end(), name) == texts.end())
            texts.push_back(name);
    return texts;
}

// The items of the emulate setting that were left out, for the log and the user.
std::vector<DriveListMessage> EmulationProblems(const DriveSources& sources)
{
    if (sources.problems.empty())
        return {};
    std::string message = std::string(kEmulateVariable) + " asks for drives that cannot be made; they are left out:\n";
    for (const std::string& problem : sources.problems) {
        LogEntry(std::string(kEmulateVariable) + ": " + problem);
        message += "\n" + problem;
    }
    return {{message + "\n\n" + DescribeEmulatePresets(), "Emulated drives", MB_OK | MB_ICONEXCLAMATION}};
}

void Append(std::vector<DriveListMessage>& to, const std::vector<DriveListMessage>& messages)
{
    to.insert(to.end(), messages.begin(), messages.end());
}

}  // namespace

DriveSources DriveSources::FromEnvironment()
{
    DriveSources sources;
    if (const char* setting = std::getenv(kEmulateVariable); setting && *setting)
        sources.emulated = MakeEmulatedDrives(setting, sources.problems);
    return sources;
}

void ShowDriveListMessages(const std::vector<DriveListMessage>& messages)
{
    for (const DriveListMessage& message : messages)
        AppMessageBox(message.text, message.caption, message.type);
}

DriveList::DriveList(CScsiCommand& channel, const DriveSources& sources, EmulatedDeviceOpener& opener, DiskList& disks,
                     std::span<std::uint8_t> rawBuffer, DriveWaitClock& clock) :
    m_channel(channel), m_sources(sources), m_opener(opener), m_disks(disks), m_rawBuffer(rawBuffer), m_clock(clock)
{
    m_channel.FollowCurrentDevice(&m_pCurrentDevice);
}

DriveList::~DriveList()
{
    ReleaseDevices();
    m_channel.FollowCurrentDevice(nullptr);
}

void DriveList::SetCurrentDevice(CDevice* device)
{
    const auto lock = m_channel.Lock();  // the channel reads it when it opens a drive
    m_pCurrentDevice = device;
    m_clock.Follow(device ? device->m_strDriveText : std::string());
}

void DriveList::SetDeviceComboSel(int index)
{
    m_nDeviceComboSel = index >= 0 && index < static_cast<int>(m_deviceComboEntries.size()) ? index : -1;
}

std::unique_ptr<CDevice> DriveList::ProbeOpticalDrive(const std::string& driveText, int& answered,
                                                      std::vector<std::string>& reasons)
{
    const auto lock = m_channel.Lock();
    if (!m_channel.associate(driveText)) {
        LogEntry("FillDeviceComboList() - Device Inquiry resulted in an error");
        reasons.push_back(m_channel.LastOpenFailure().text);
        return nullptr;
    }
    auto record = std::make_unique<CDevice>();
    SetCurrentDevice(record.get());
    std::uint8_t answer[kInquiryLength] = {};
    const int failed = mmc_cdb::Inquiry{.allocation = kInquiryLength}.Block().Execute(m_channel, DataDirection::In,
                                                                                      answer, kInquiryLength);
    m_channel.CloseAssociateHandle();
    SetCurrentDevice(nullptr);
    if (failed) {
        LogEntry("FillDeviceComboList() - Device Inquiry resulted in an error");
        reasons.push_back(driveText
                          + " did not answer INQUIRY: " + InquiryFailureText(m_channel, m_channel.GetSenseBuffer()));
        return nullptr;
    }
    record->m_strDriveText = driveText;
    record->m_nEnumIndex = answered;
    if (!record->TakeInquiry(answer, kInquiryLength - std::min(m_channel.Residual(), kInquiryLength))) {
        reasons.push_back(driveText + " gave no identification");
        return nullptr;
    }
    ++answered;
    return record;
}

DriveListResult DriveList::FillDeviceComboList()
{
    LogEntry("Start FillDeviceComboList()");
    m_channel.CloseIfOpen();  // associate keeps an open drive: each probe must open its own
    const std::vector<std::string> texts = OpticalDriveTexts(m_sources, m_opener);
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
        record->m_nBusType = m_opener.QueryBusType(text);
        if (hooks.driveAdded)
            hooks.driveAdded(Format(" Adding drive %s", record->m_strIdentity.c_str()),
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
        return {true, {}};
    }
    LogEntry("FillDevicesComboList() - No suitable devices found");
    std::string message = "No optical devices were found. Quenzario cannot run without one drive at least\n";
    for (const std::string& reason : reasons)
        message += "\n" + reason;
    return {false, {{message}}};
}

DriveListResult DriveList::InitInterfaces()
{
    LogEntry("InitInterfaces() - Start");
    LogEntry("InitInterfaces() - First time run");
    LogEntry("OS is Win2k or later, SPTI is mandatory");
    LogEntry("Attempting to read all devices and create device list");
    DriveListResult result{false, EmulationProblems(m_sources)};
    const DriveListResult listed = FillDeviceComboList();
    Append(result.messages, listed.messages);
    if (!listed) {
        LogEntry("Fatal Error - FillDeviceComboList() function failed - returned false");
        result.messages.push_back({kNoUsableDriveMessage});
        return result;
    }
    LogEntry("Device list created successfully - selecting default device");
    const int selected = std::max(0, GetAppProfileInt("SelectedDevice", 0));
    if (GetAppProfileInt("RememberDevice", 1) == 1 && selected < static_cast<int>(m_deviceComboEntries.size())) {
        SetDeviceComboSel(selected);
    } else {
        WriteAppProfileInt("SelectedDevice", 0);
        SetDeviceComboSel(0);
    }
    const SelectionResult selection = OnSelchangeDevicescombo();
    Append(result.messages, selection.messages);
    if (selection.outcome == SelectionOutcome::Fatal)
        return result;
    if (m_pCurrentDevice)
        LogEntry("Device selected = " + m_pCurrentDevice->m_strDriveText + " " + m_pCurrentDevice->m_strIdentity);
    LogEntry("InitInterfaces() - End");
    result.ok = true;
    return result;
}

CDevice* DriveList::GetSelectedDevice()
{
    LogEntry("Start GetSelectedDevice()");
    int selected = m_nDeviceComboSel;
    if (selected < 0 || selected >= static_cast<int>(m_deviceComboEntries.size()))
        selected = 0;
    if (selected >= static_cast<int>(m_DeviceList.size()))
        return nullptr;
    LogEntry("End GetSelectedDevice()");
    return m_DeviceList[static_cast<std::size_t>(selected)].get();
}

SelectionResult DriveList::OnSelchangeDevicescombo(bool scanWindowOpen)
{
    if (g_bErrorTestRunning == 1 || g_bSpeedTestRunning == 1 || g_bCreateIsoRunning == 1 || scanWindowOpen)
        return {SelectionOutcome::Refused,
                {{"You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION}}};
    LogEntry("Start OnSelchangeDevicescombo()");
    std::fill(m_rawBuffer.begin(), m_rawBuffer.end(), 0);
    m_channel.CloseIfOpen();
    CDevice* device = GetSelectedDevice();
    if (!device)
        return {SelectionOutcome::Fatal, {{"Error selecting device"}, {"Fatal Error Getting Selected Device"}}};
    SetCurrentDevice(device);
    LogEntry("OnSelchangeDevicescombo() - Device selected = " + device->m_strIdentity);
    if (hooks.deviceSelected)
        hooks.deviceSelected(*device);
    LogEntry("End OnSelchangeDevicescombo()");
    return {SelectionOutcome::Selected, {}};
}

void DriveList::ReleaseDevices()
{
    m_channel.CloseIfOpen();
    SetCurrentDevice(nullptr);
    while (!m_DeviceList.empty())
        m_DeviceList.pop_back();
    m_disks.ReleaseDisks();
    m_deviceComboEntries.clear();
    m_nDeviceComboSel = -1;
}

DriveListResult DriveList::RebuildDeviceList()
{
    const int remembered = std::max(m_nDeviceComboSel, 0);
    ReleaseDevices();
    DriveListResult listed = FillDeviceComboList();
    if (remembered >= static_cast<int>(m_deviceComboEntries.size())) {
        WriteAppProfileInt("SelectedDevice", 0);
        SetDeviceComboSel(0);
    } else {
        SetDeviceComboSel(remembered);
    }
    return listed;
}
