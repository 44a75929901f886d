#include "core/tools/hash/MediaHashDrive.h"

#include "core/app/Format.h"
#include "core/app/LogFile.h"
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
constexpr std::uint32_t kPhysicalFormatLength = 2052;
constexpr std::uint32_t kAdipLength = 260;
constexpr std::uint32_t kPrePitLength = 68;
constexpr std::uint32_t kConfigurationLength = 2048;
constexpr int kRecordingManagementData = 0x0D;
constexpr int kCopyrightInformation = 0x01;
constexpr int kPreRecordedInformation = 0x0E;
constexpr int kAdipInformation = 0x11;
constexpr int kBdMediaType = 1;
constexpr int kCurrentFeatures = 1;
constexpr std::uint16_t kDvdCssFeature = 0x0106;

// The characters 21h to 7Dh of answer[first..last], others dropped.
std::string PrintableOf(const std::vector<std::uint8_t>& answer, std::size_t first, std::size_t last)
{
    std::string text;
    for (std::size_t i = first; i <= last && i < answer.size(); ++i)
        if (answer[i] >= 0x21 && answer[i] <= 0x7D)
            text.push_back(static_cast<char>(answer[i]));
    return text;
}

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
    if (!TestMediaPresent())
        return 0;
    MmcMediaReads& reads = m_core.m_Drives.reads;
    switch (GetMediaType()) {
    case kMediaDvdRom:
    case kMediaDvdPlusRw:
    case kMediaDvdPlusR:
    case kMediaDvdPlusRDl: {
        std::vector<std::uint8_t> answer(kPhysicalFormatLength, 0);
        if (reads.ReadDiscStructureNoCheck(0, 0, 0x00, kPhysicalFormatLength, answer.data()) != 0) {
            answer.assign(kPhysicalFormatLength, 0);
            if (reads.ReadDiscStructureNoCheck(0, 0, kAdipInformation, kAdipLength, answer.data()) != 0)
                return 0;
        }
        const std::string maker = AnswerText(answer, 23, 8);
        const std::string kind = AnswerText(answer, 31, 3);
        if (maker.empty() && kind.empty())
            return 0;
        id = Format("%-8s%3s", maker.c_str(), kind.c_str());
        return 1;
    }
    case kMediaDvdMinusR:
    case kMediaDvdMinusRw:
    case kMediaDvdMinusRDl: {
        PollUntilReady();
        std::vector<std::uint8_t> answer(kPrePitLength, 0);
        if (reads.ReadDiscStructureNoCheck(0, 0, kPreRecordedInformation, kPrePitLength, answer.data()) != 0)
            return 0;
        id = PrintableOf(answer, 21, 26) + PrintableOf(answer, 29, 34);
        return 1;
    }
    case kMediaDvdRam: {
        PollUntilReady();
        std::vector<std::uint8_t> answer(kPhysicalFormatLength, 0);
        if (reads.ReadDiscStructureNoCheck(0, 0, 0x00, kPhysicalFormatLength, answer.data()) != 0)
            return 0;
        id = PrintableOf(answer, 553, 616);
        return 1;
    }
    case kMediaBdRom: id = Format("%-11s", "BD-ROM"); return 0;
    case kMediaBdR:
    case kMediaBdRe:
    case kMediaBdRRandom: {
        LogEntry("GetMediaIDString() - Blu-ray media found");
        BDDiscInfo info{};
        if (reads.GetBDDiStruct(info) != 0)
            return 0;
        id = std::string(info.manufacturerId, strnlen(info.manufacturerId, sizeof info.manufacturerId))
            + std::string(info.mediaTypeId, strnlen(info.mediaTypeId, sizeof info.mediaTypeId));
        return 1;
    }
    default: return 0;
    }
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
