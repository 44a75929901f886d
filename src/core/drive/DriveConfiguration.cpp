#include "core/drive/DriveConfiguration.h"

#include "core/app/LogFile.h"
#include "core/drive/CapabilityWalks.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/Device.h"
#include "core/drive/MediaIdentification.h"
#include "core/drive/MediaType.h"
#include "core/drive/MmcCommands.h"
#include "core/drive/vendor/BenqCommands.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t kConfigurationLimit = 65534;
constexpr std::uint32_t kModeSenseFirst = 252;
constexpr std::uint32_t kModeSenseLimit = 2048;
constexpr int kCapabilitiesPage = 0x2A;

void Tell(WrapperNotice* notice, const char* message)
{
    if (notice)
        notice->messageBox = message;
}

}  // namespace

DriveConfiguration::DriveConfiguration(CScsiCommand& channel, MmcCommands& mmc, MediaIdentification& media,
                                       BenqCommands& benq, CDevice* const& current) :
    m_ScsiCommand(channel), m_mmc(mmc), m_media(media), m_benq(benq), m_pCurrentDevice(current)
{
}

bool DriveConfiguration::GetDriveConfiguration(WrapperNotice* notice)
{
    LogEntry("GetDriveConfiguration() - Start");
    const int dataLength = m_mmc.GetConfigurationDataLength();
    if (dataLength == 0 || !m_pCurrentDevice) {
        LogEntry("GetDriveConfiguration() returned an error");
        Tell(notice, "A 'GetDriveConfiguration' error has occurred.   Some removable drives can cause this.");
        return false;
    }
    CDevice& device = *m_pCurrentDevice;
    // The data length counts the bytes after its own four; the answer is asked for whole.
    const auto length = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{static_cast<std::uint32_t>(dataLength)} + 4, kConfigurationLimit));
    std::vector<std::uint8_t> buffer(length, 0);
    if (m_mmc.GetConfiguration(0, 0x0000, buffer.data(), length) != 0) {
        LogEntry("GetDriveConfiguration() - GetConfiguration(0,0) failed returned error");
        LogEntry("GetDriveConfiguration() - This error is a major problem and unexpected");
        Tell(notice,
             "A major error has occurred with the drive.  the drive details cannot be read.  Probable "
             "firmware, drive or driver error.");
        return false;
    }
    if (!ApplyProfileList(device, buffer)) {
        LogEntry("GetDriveConfiguration() - ERROR Length < 12");
        return false;
    }
    std::fill(buffer.begin(), buffer.end(), 0);
    if (m_mmc.GetConfiguration(0, 0x0001, buffer.data(), length) != 0) {
        LogEntry("GetDriveConfiguration() - SCSI_Cmd_GetConfiguration sub command 1 failed returned error");
        return false;
    }
    ApplyFeatureDescriptors(device, buffer);
    ApplyCrossRules(device);
    ApplyModelCorrections(device);
    DoModeSensePages(notice);
    ApplyModePageCorrections(device);
    GetDriveSerialNumber();
    LogEntry("GetDriveConfiguration() - End");
    return true;
}

bool DriveConfiguration::DoModeSensePages(WrapperNotice* notice)
{
    LogEntry("Start DoModeSensePages()");
    if (!m_pCurrentDevice)
        return false;
    CDevice& device = *m_pCurrentDevice;
    ClearDriveClass(device);
    std::vector<std::uint8_t> answer(kModeSenseLimit, 0);
    LogEntry("SCSI_Cmd_ModeSense10 1");
    if (m_mmc.ReadAllModePages(answer, kModeSenseLimit) != 0) {
        LogEntry("DoModeSensePages() - SCSI_Cmd_ModeSense10 - Page 3Fh failed");
        Tell(notice, "Error, ModeSense command failed.  Probable firmware or drive error");
        return false;
    }
    ModePageFindings findings;
    ApplyModePages(device, answer, m_nLightScribePageCount, findings);
    if (!findings.capabilitiesPageFound) {
        std::fill(answer.begin(), answer.end(), 0);
        if (CommandBlock(mmc::kModeSense10)
                .Set(2, kCapabilitiesPage)
                .SetBe16(7, kModeSenseFirst)
                .Execute(m_ScsiCommand, DataDirection::In, answer.data(), kModeSenseFirst)
            == 0)
            ApplyModePages(device, answer, m_nLightScribePageCount, findings);
    }
    if (findings.capabilitiesPageFound)
        m_nLoadingMechanism = findings.loadingMechanism;
    SettleDriveClass(device);
    const int mediaType = m_media.GetMediaType();
    if (mediaType != kMediaBdRom && mediaType != kMediaBdR && mediaType != kMediaBdRe)
        device.m_bSolidBurn = m_benq.DetectForSolidBurn().value;
    LogEntry("End DoModeSensePages()");
    return true;
}

bool DriveConfiguration::GetDriveSerialNumber()
{
    LogEntry("Start GetDriveSerialNumber()");
    if (!m_pCurrentDevice)
        return false;
    std::vector<std::uint8_t> answer(2048, 0);
    if (m_mmc.GetConfiguration(0, 0x0108, answer.data(), static_cast<std::uint32_t>(answer.size())) != 0) {
        LogEntry("GetDriveSerialNumber() - Command SCSI_Cmd_GetConfiguration failed, returned non zero");
        return false;
    }
    m_pCurrentDevice->m_szSerialNumber = SerialNumberFromFeature(answer);
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
