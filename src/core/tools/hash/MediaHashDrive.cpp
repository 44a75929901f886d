#include "core/tools/hash/MediaHashDrive.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "platform/devices/Mounts.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kBurnerInformationLength = disc_structure::kRecordingManagementLength;
constexpr std::uint32_t kRegionInformationLength = disc_structure::kPhysicalFormatLength;
constexpr std::uint32_t kConfigurationLength = 2048;
constexpr int kCurrentFeatures = 1;
constexpr std::uint16_t kDvdCssFeature = 0x0106;

}  // namespace

MediaHashDrive::MediaHashDrive(DriveContext& drives) : m_drives(drives)
{
}

void MediaHashDrive::LockAndDismountVolume()
{
    m_drives.m_ScsiCommand.LockAndDismountVolume();
}

void MediaHashDrive::UnlockVolume()
{
    m_drives.m_ScsiCommand.UnlockVolume();
}

bool MediaHashDrive::TestMediaPresent()
{
    return m_drives.mmc.TestMediaPresent() == 1;
}

int MediaHashDrive::GetMediaType()
{
    return m_drives.media.GetMediaType();
}

std::string MediaHashDrive::GetMediaTypeName()
{
    std::string name;
    m_drives.media.GetMediaTypeName(name);
    return name;
}

int MediaHashDrive::GetMediaIDString(std::string& id)
{
    id.clear();
    return m_drives.media.GetMediaIDString(id);
}

bool MediaHashDrive::IsVideoDvd()
{
    const CDevice* device = m_drives.list.m_pCurrentDevice;
    if (!device)
        return false;
    const std::string mounted = MountPointOf(m_drives.Sources().devRoot + "/" + device->m_strDriveText);
    return !mounted.empty() && HasFileIgnoringCase(mounted, {"VIDEO_TS", "VIDEO_TS.IFO"});
}

int MediaHashDrive::IsMediaCSSProtected()
{
    LogEntry("IsMediaCSSProtected() - Start");
    std::vector<std::uint8_t> answer(kConfigurationLength, 0);
    if (m_drives.mmc.GetConfiguration(kCurrentFeatures, 0, answer.data(), kConfigurationLength) != 0) {
        LogEntry("IsMediaCSSProtected() - SCSI_Cmd_GetConfiguration failed");
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(scsi::GetBe32(answer.data()) + 4, answer.size());
    if (length < 12) {
        LogEntry("IsMediaCSSProtected() - ERROR feature length < 12");
        return 0;
    }
    for (std::size_t at = 8; at + 4 <= length; at += 4 + answer[at + 3])
        if (scsi::GetBe16(&answer[at]) == kDvdCssFeature)
            return 1;
    return 0;
}

int MediaHashDrive::ReadBurnerInformation(std::vector<std::uint8_t>& answer)
{
    answer.assign(kBurnerInformationLength, 0);
    return m_drives.reads.ReadDiscStructureNoCheck(2, 0, disc_structure::kRecordingManagementData,
                                                   kBurnerInformationLength, answer.data());
}

int MediaHashDrive::ReadRegionInformation(std::vector<std::uint8_t>& answer)
{
    answer.assign(kRegionInformationLength, 0);
    return m_drives.reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kCopyrightInformation,
                                                   kRegionInformationLength, answer.data());
}

CapacityAnswer MediaHashDrive::ReadCapacity()
{
    return m_drives.reads.ReadCapacityAnswer();
}

int MediaHashDrive::ReadBlock(std::int64_t lba, std::vector<std::uint8_t>& block)
{
    block.assign(kBlockBytes, 0);
    return m_drives.reads.ReadBlocks(block.data(), block.size(), lba, 1, true);
}

void MediaHashDrive::SetHighestSpeed()
{
    // An index times step of 0 asks for the highest read and write speed (FFFFh).
    m_drives.mmc.SetCdSpeed(0, 0, 0, 0, 0);
}

void MediaHashDrive::PreventMediumRemoval(bool prevent)
{
    m_drives.mmc.PreventMediumRemoval(prevent ? 1 : 0);
}

void MediaHashDrive::PollUntilReady()
{
    m_drives.mmc.PollUntilReady();
}

int MediaHashDrive::Read10(std::uint8_t* buffer, std::uint32_t lba, int count, SenseCode& sense)
{
    const std::size_t bytes = static_cast<std::size_t>(count) * kBlockBytes;
    const BlockReadResult read = m_drives.reads.Read10(lba, static_cast<std::uint32_t>(count), {buffer, bytes});
    sense = read.ok ? SenseCode{} : read.sense;
    if (read.ok && read.transferred != bytes) {
        LogEntryF("HashMedia() - READ(10) at %u gave %u bytes too few", lba,
                  static_cast<unsigned>(bytes - read.transferred));
        return 1;
    }
    return read.ok ? 0 : 1;
}
