#include "core/drive/DriveConfiguration.h"

#include "core/base/LogFile.h"
#include "core/drive/CapabilityWalks.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/Device.h"
#include "core/drive/MediaIdentification.h"
#include "core/drive/MediaType.h"
#include "core/drive/MmcCommands.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/BenqCommands.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t kConfigurationLimit = 65534;
constexpr std::uint32_t kModeSenseFirst = 252;
constexpr std::uint32_t kModeSenseLimit = 2048;
constexpr int kCapabilitiesPage = 0x2A;

// The program's message, and which command failed and why.
void Tell(WrapperNotice* notice, const char* message, const std::string& reason)
{
    if (!notice)
        return;
    notice->messageBox = message;
    if (!reason.empty())
        notice->messageBox += "\n\n" + reason;
}

// The pages the capability reading uses, asked one by one from a drive that
// refuses the page list: the capabilities, LabelFlash and LightScribe pages.
constexpr std::uint8_t kConfigurationPages[] = {0x2A, 0x2D, 0x31};

}  // namespace

DriveConfiguration::DriveConfiguration(CScsiCommand& channel, MmcCommands& mmc, MediaIdentification& media,
                                       BenqCommands& benq, CDevice* const& current) :
    m_ScsiCommand(channel), m_mmc(mmc), m_media(media), m_benq(benq), m_pCurrentDevice(current)
{
}

bool DriveConfiguration::GetDriveConfiguration(WrapperNotice* notice)
{
    LogEntry("GetDriveConfiguration() - Start");
    // What this reading cannot read is unknown, whatever an earlier one found.
    if (CDevice* device = m_pCurrentDevice) {
        device->m_bFeaturesRead = device->m_bPhysicalInterfaceRead = device->m_bSerialNumberRead = false;
        device->m_bCapabilitiesPageRead = device->m_bModePagesRead = false;
    }
    m_bLoadingMechanismRead = false;
    int dataLength = 0;
    bool refused = false;
    {
        const auto lock = m_ScsiCommand.Lock();
        dataLength = m_mmc.GetConfigurationDataLength();
        if (dataLength == 0 || !m_pCurrentDevice) {
            LogEntry("GetDriveConfiguration() returned an error");
            Tell(notice, "A 'GetDriveConfiguration' error has occurred.   Some removable drives can cause this.",
                 m_pCurrentDevice ? LastGetConfigurationFailure() : std::string());
            refused = m_pCurrentDevice && WasRefused(m_ScsiCommand);
        }
    }
    if (refused) {
        // A drive without GET CONFIGURATION (before MMC-3) still tells its
        // capabilities page.
        LogEntry("GetDriveConfiguration() - the capabilities are read from the mode pages alone");
        DoModeSensePages();
        ApplyModePageCorrections(*m_pCurrentDevice);
    }
    if (dataLength == 0 || !m_pCurrentDevice)
        return false;
    CDevice& device = *m_pCurrentDevice;
    // The data length counts the bytes after its own four; the answer is asked for whole.
    const auto length = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{static_cast<std::uint32_t>(dataLength)} + 4, kConfigurationLimit));
    std::vector<std::uint8_t> fromCore(length, 0);
    std::vector<std::uint8_t> all(length, 0);
    {
        const auto lock = m_ScsiCommand.Lock();
        if (m_mmc.GetConfiguration(0, 0x0000, all.data(), length) != 0) {
            LogEntry("GetDriveConfiguration() - GetConfiguration(0,0) failed returned error");
            LogEntry("GetDriveConfiguration() - This error is a major problem and unexpected");
            Tell(notice,
                 "A major error has occurred with the drive.  the drive details cannot be read.  Probable "
                 "firmware, drive or driver error.",
                 LastGetConfigurationFailure());
            return false;
        }
    }
    if (!ApplyProfileList(device, all)) {
        LogEntry("GetDriveConfiguration() - ERROR Length < 12");
        return false;
    }
    bool fromCoreRead = false;
    {
        const auto lock = m_ScsiCommand.Lock();
        fromCoreRead = m_mmc.GetConfiguration(0, 0x0001, fromCore.data(), length) == 0;
        refused = !fromCoreRead && WasRefused(m_ScsiCommand);
    }
    if (!fromCoreRead && !refused) {
        LogEntry("GetDriveConfiguration() - SCSI_Cmd_GetConfiguration sub command 1 failed returned error");
        return false;
    }
    if (refused)
        LogEntry("GetDriveConfiguration() - sub command 1 refused, the features are taken from feature 0 on");
    ApplyFeatureDescriptors(device, fromCoreRead ? fromCore : all);
    device.m_bFeaturesRead = true;
    ApplyCrossRules(device);
    ApplyModelCorrections(device);
    DoModeSensePages(notice);
    ApplyModePageCorrections(device);
    GetDriveSerialNumber(all);
    LogEntry("GetDriveConfiguration() - End");
    return true;
}

std::string DriveConfiguration::LastGetConfigurationFailure() const
{
    return DescribeLastFailure(m_ScsiCommand, "GET CONFIGURATION", mmc::kGetConfiguration);
}

bool DriveConfiguration::DoModeSensePages(WrapperNotice* notice)
{
    LogEntry("Start DoModeSensePages()");
    if (!m_pCurrentDevice)
        return false;
    CDevice& device = *m_pCurrentDevice;
    ClearDriveClass(device);
    device.m_bCapabilitiesPageRead = device.m_bModePagesRead = false;
    m_bLoadingMechanismRead = false;
    std::vector<std::uint8_t> answer(kModeSenseLimit, 0);
    LogEntry("SCSI_Cmd_ModeSense10 1");
    {
        const auto lock = m_ScsiCommand.Lock();
        if (m_mmc.ReadAllModePages(answer, kModeSenseLimit, nullptr, kConfigurationPages) != 0) {
            LogEntry("DoModeSensePages() - SCSI_Cmd_ModeSense10 - Page 3Fh failed");
            Tell(notice, "Error, ModeSense command failed.  Probable firmware or drive error",
                 DescribeLastFailure(m_ScsiCommand, "MODE SENSE(10)", mmc::kModeSense10));
            // What the features tell of the drive class stays.
            ClassFromConfiguration(device);
            return false;
        }
    }
    device.m_bModePagesRead = true;
    ModePageFindings findings;
    ApplyModePages(device, answer, m_nLightScribePageCount, findings);
    if (!findings.capabilitiesPageFound) {
        std::fill(answer.begin(), answer.end(), 0);
        if (mmc_cdb::ModeSense10{.pageCode = kCapabilitiesPage, .allocation = kModeSenseFirst}.Block().Execute(
                m_ScsiCommand, DataDirection::In, answer.data(), kModeSenseFirst)
            == 0)
            ApplyModePages(device, answer, m_nLightScribePageCount, findings);
    }
    device.m_bCapabilitiesPageRead = findings.capabilitiesPageFound;
    if (findings.capabilitiesPageFound) {
        m_nLoadingMechanism = findings.loadingMechanism;
        m_bLoadingMechanismRead = true;
    } else {
        ClassFromConfiguration(device);
    }
    SettleDriveClass(device);
    const int mediaType = m_media.GetMediaType();
    if (mediaType != kMediaBdRom && mediaType != kMediaBdR && mediaType != kMediaBdRe)
        device.m_bSolidBurn = m_benq.DetectForSolidBurn().value;
    LogEntry("End DoModeSensePages()");
    return true;
}

bool DriveConfiguration::GetDriveSerialNumber(std::span<const std::uint8_t> featureList)
{
    LogEntry("Start GetDriveSerialNumber()");
    if (!m_pCurrentDevice)
        return false;
    CDevice& device = *m_pCurrentDevice;
    device.m_bSerialNumberRead = false;
    std::vector<std::uint8_t> answer(2048, 0);
    bool refused = false;
    {
        const auto lock = m_ScsiCommand.Lock();
        if (m_mmc.GetConfiguration(0, 0x0108, answer.data(), static_cast<std::uint32_t>(answer.size())) == 0) {
            device.m_szSerialNumber = SerialNumberFromFeature(answer);
            device.m_bSerialNumberRead = true;
            LogEntry("End GetDriveSerialNumber()");
            return true;
        }
        refused = WasRefused(m_ScsiCommand);
    }
    if (!refused || featureList.empty()) {
        LogEntry("GetDriveSerialNumber() - Command SCSI_Cmd_GetConfiguration failed, returned non zero");
        return false;
    }
    // A drive that takes no starting feature but 0 has given the serial
    // feature, if it has one, in its whole list.
    LogEntry("GetDriveSerialNumber() - feature 0108h taken from the whole feature list");
    const auto feature = FindFeature(featureList, 0x0108);
    const std::string serial = feature ? SerialNumberText(feature->bytes) : std::string();
    device.m_szSerialNumber = serial.empty() ? "None" : serial;
    device.m_bSerialNumberRead = true;
    LogEntry("End GetDriveSerialNumber()");
    return true;
}

int DriveConfiguration::GetPlusDriveGeneration()
{
    LogEntry("Start GetPlusDriveGeneration()");
    GetDriveConfiguration();
    if (!m_pCurrentDevice)
        return 0;
    return (m_pCurrentDevice->m_bDvdPlusRWrite ? 1 : 0) + (m_pCurrentDevice->m_bDvdPlusRwWrite ? 1 : 0);
}
