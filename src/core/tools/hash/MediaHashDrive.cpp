#include "core/tools/hash/MediaHashDrive.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/app/MainDialogCore.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/MediaType.h"
#include "platform/devices/Mounts.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kBurnerInformationLength = 32772;
constexpr std::uint32_t kRegionInformationLength = 2052;
constexpr std::uint32_t kConfigurationLength = 2048;
constexpr int kRecordingManagementData = 0x0D;
constexpr int kCopyrightInformation = 0x01;
constexpr int kCurrentFeatures = 1;
constexpr std::uint16_t kDvdCssFeature = 0x0106;

}  // namespace

MediaHashDrive::MediaHashDrive(MainDialogCore& core) : m_core(core)
{
}

void MediaHashDrive::LockAndDismountVolume()
{
    m_core.m_Drives.m_ScsiCommand.LockAndDismountVolume();
}

void MediaHashDrive::UnlockVolume()
{
    m_core.m_Drives.m_ScsiCommand.UnlockVolume();
}

bool MediaHashDrive::TestMediaPresent()
{
    return m_core.m_Drives.mmc.TestMediaPresent() == 1;
}

int MediaHashDrive::GetMediaType()
{
    return m_core.m_Drives.media.GetMediaType();
}

std::string MediaHashDrive::GetMediaTypeName()
{
    std::string name;
    m_core.m_Drives.media.GetMediaTypeName(name);
    return name;
}

int MediaHashDrive::GetMediaIDString(std::string& id)
{
    id.clear();
    return m_core.m_Drives.media.GetMediaIDString(id);
}

bool MediaHashDrive::IsVideoDvd()
{
    const CDevice* device = m_core.m_Drives.list.m_pCurrentDevice;
    if (!device)
        return false;
    const std::string mounted = MountPointOf(m_core.m_Drives.Sources().devRoot + "/" + device->m_strDriveText);
    return !mounted.empty() && HasFileIgnoringCase(mounted, {"VIDEO_TS", "VIDEO_TS.IFO"});
}

int MediaHashDrive::IsMediaCSSProtected()
{
    LogEntry("IsMediaCSSProtected() - Start");
    std::vector<std::uint8_t> answer(kConfigurationLength, 0);
    if (m_core.m_Drives.mmc.GetConfiguration(kCurrentFeatures, 0, answer.data(), kConfigurationLength) != 0) {
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
    return m_core.m_Drives.reads.ReadDiscStructureNoCheck(2, 0, kRecordingManagementData, kBurnerInformationLength,
                                                          answer.data());
}

int MediaHashDrive::ReadRegionInformation(std::vector<std::uint8_t>& answer)
{
    answer.assign(kRegionInformationLength, 0);
    return m_core.m_Drives.reads.ReadDiscStructureNoCheck(0, 0, kCopyrightInformation, kRegionInformationLength,
                                                          answer.data());
}

int MediaHashDrive::ReadCapacity(std::array<std::uint8_t, 8>& answer)
{
    answer.fill(0);
    return CommandBlock(mmc::kReadCapacity)
        .Execute(m_core.m_Drives.m_ScsiCommand, DataDirection::In, answer.data(), answer.size());
}

int MediaHashDrive::ReadBlock(std::int64_t lba, std::vector<std::uint8_t>& block)
{
    block.assign(kBlockBytes, 0);
    return m_core.m_Drives.reads.ReadBlocks(block.data(), block.size(), lba, 1, true);
}

void MediaHashDrive::SetHighestSpeed()
{
    // An index times step of 0 asks for the highest read and write speed (FFFFh).
    m_core.m_Drives.mmc.SetCdSpeed(0, 0, 0, 0, 0);
}

void MediaHashDrive::PreventMediumRemoval(bool prevent)
{
    m_core.m_Drives.mmc.PreventMediumRemoval(prevent ? 1 : 0);
}

void MediaHashDrive::PollUntilReady()
{
    m_core.PollUntilReady(false);
}

int MediaHashDrive::Read10(std::uint8_t* buffer, std::uint32_t lba, int count, SenseCode& sense)
{
    CScsiCommand& channel = m_core.m_Drives.m_ScsiCommand;
    const auto bytes = static_cast<std::uint32_t>(count) * kBlockBytes;
    const auto lock = channel.Lock();
    const int result = CommandBlock(mmc::kRead10)
                           .SetBe32(2, lba)
                           .SetBe16(7, static_cast<std::uint32_t>(count))
                           .Execute(channel, DataDirection::In, buffer, bytes);
    sense = result != 0 ? SenseOf(channel.GetSenseBuffer()) : SenseCode{};
    if (result == 0 && channel.Residual() != 0) {
        LogEntryF("HashMedia() - READ(10) at %u gave %u bytes too few", lba, channel.Residual());
        return 1;
    }
    return result;
}
