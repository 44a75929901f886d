#include "core/drive/MediaIdentification.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/Device.h"
#include "core/drive/MediaType.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/MmcCommands.h"
#include "core/drive/MmcMediaReads.h"
#include "core/drive/ScsiCommand.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"
#include "scsi/Profiles.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using disc_structure::kAdipInformation;
using disc_structure::kAdipLength;
using disc_structure::kPhysicalFormat;
using disc_structure::kPhysicalFormatLength;
using disc_structure::kPrerecordedInformation;
using disc_structure::kPrerecordedLength;
constexpr std::uint8_t kFullTocFormat = 0x02;
constexpr std::uint32_t kFullTocLength = 2048;
constexpr std::size_t kPerformanceHeader = 8;
constexpr std::size_t kPerformanceDescriptor = 16;
constexpr std::uint32_t kPerformanceDescriptors = 2;  // one extent a layer
// The header and the descriptors asked for.
constexpr std::uint32_t kPerformanceLength = kPerformanceHeader + kPerformanceDescriptor * kPerformanceDescriptors;

// The CD-like discs whose type comes from their table of contents (the
// DDCD-ROM is not one of them).
bool ReadsTypeFromToc(int number)
{
    using namespace profile;
    switch (number) {
    case kCdRom:
    case kCdR:
    case kCdRw:
    case kDdcdR:
    case kDdcdRw:
    case kHdBurnRom:
    case kHdBurnR:
    case kHdBurnRw: return true;
    default: return false;
    }
}

constexpr int kReadySeconds = 120;  // a disc spinning up

// The printable characters (21h to 7Dh) of answer[first, first + count).
std::string PrintableCharacters(const std::vector<std::uint8_t>& answer, std::size_t first, std::size_t count)
{
    std::string text;
    for (std::size_t index = first; index < first + count && index < answer.size(); ++index)
        if (answer[index] >= 0x21 && answer[index] <= 0x7D)
            text += static_cast<char>(answer[index]);
    return text;
}

// A text field that ends at its first zero byte.
std::string FieldText(const std::uint8_t* field, std::size_t width)
{
    std::string text;
    for (std::size_t index = 0; index < width && field[index] != 0; ++index)
        text += static_cast<char>(field[index]);
    return text;
}

}  // namespace

MediaIdentification::MediaIdentification(CScsiCommand& channel, MmcCommands& mmc, MmcMediaReads& reads,
                                         CDevice* const& current) :
    m_ScsiCommand(channel), m_mmc(mmc), m_reads(reads), m_pCurrentDevice(current)
{
}

int MediaIdentification::GetDriveProfile(int& profile)
{
    std::vector<std::uint8_t> answer(2048, 0);
    const int result = m_mmc.GetConfiguration(0, 0, answer.data(), static_cast<std::uint32_t>(answer.size()));
    profile = (answer[6] << 8) | answer[7];
    if (result != 0) {
        LogEntry("GetDriveProfile() - SCSI_Command_GetConfiguration failed,  returned non zero");
        LogEntry("GetDriveProfile() - Setting profile to 0");
        profile = 0;
    }
    return result;
}

int MediaIdentification::ReadDvdStructureOrAdip(std::vector<std::uint8_t>& answer, const char* fallbackLog)
{
    answer.assign(kPhysicalFormatLength, 0);
    if (m_reads.ReadDiscStructureNoCheck(0, 0, kPhysicalFormat, kPhysicalFormatLength, answer.data()) == 0)
        return 0;
    if (fallbackLog)
        LogEntry(fallbackLog);
    answer.assign(kPhysicalFormatLength, 0);
    return m_reads.ReadDiscStructureNoCheck(0, 0, kAdipInformation, kAdipLength, answer.data());
}

int MediaIdentification::GetBookType()
{
    if (m_mmc.TestMediaPresent() != 1)
        return -1;
    LogEntry("GetBookType() - Sending SCSI_Cmd_ReadDvdStruct command");
    std::vector<std::uint8_t> answer;
    if (ReadDvdStructureOrAdip(answer, nullptr) != 0) {
        LogEntry("GetBookType() - SCSI_Cmd_ReadDvdStruct failed, returned non zero");
        LogEntry("GetBookType() - SCSI_Cmd_ReadDvdStruct, Both 00h and 11h failed.");
        return disc_structure::PlusMediaKind(answer);
    }
    LogEntry("GetBookType() - SCSI_Cmd_ReadDvdStruct successful");
    return disc_structure::BookType(answer);
}

int MediaIdentification::LookupMediaIdCode()
{
    std::vector<std::uint8_t> answer(kPhysicalFormatLength, 0);
    if (m_reads.ReadDiscStructureNoCheck(0, 0, kPhysicalFormat, kPhysicalFormatLength, answer.data()) != 0)
        return -1;
    const std::string key = disc_structure::MediaIdKey(answer);
    const MediaIdEntry* entry = key.empty() ? nullptr : FindMediaId(key);
    return entry ? entry->mediaType : kMediaPlusUnknownId;
}

int MediaIdentification::GetMediaType()
{
    if (m_mmc.TestMediaPresent() != 1)
        return kMediaDvdRom;
    LogEntry("Start GetMediaType()");
    int profile = 0;
    GetDriveProfile(profile);
    if (ReadsTypeFromToc(profile)) {
        // A CD has no DVD structure to ask: its table of contents is read instead.
        LogEntry("GetMediaType() - Sending SCSI_Cmd_ReadToc command");
        std::vector<std::uint8_t> toc(kFullTocLength, 0);
        mmc_cdb::ReadTocPmaAtip{.format = kFullTocFormat, .allocation = kFullTocLength}.Block().Execute(
            m_ScsiCommand, DataDirection::In, toc.data(), kFullTocLength);
        LogEntry("Early End GetMediaType()");
        return *MediaTypeOfProfile(profile);
    }
    const int bookType = GetBookType();
    int mediaType = kMediaNoStructure;
    if (profile == profile::kDvdRom) {
        const int looked = LookupMediaIdCode();
        mediaType = looked == kMediaNoStructure || looked == kMediaPlusUnknownId ? bookType : looked;
    } else if (const auto byProfile = MediaTypeOfProfile(profile)) {
        mediaType = *byProfile;
    } else if (profile == profile::kBdRSequential) {
        BDDiscInfo info{};
        m_reads.GetBDDiStruct(info);
        mediaType = info.manufacturerId[0] != 0 ? kMediaBdR : kMediaBdRom;
    } else if (!m_pCurrentDevice || !m_pCurrentDevice->m_bDvdDrive) {
        LogEntry("Early End 1 GetMediaType()");
        return kMediaNoStructure;
    } else {
        std::vector<std::uint8_t> answer;
        if (ReadDvdStructureOrAdip(answer, "GetMediaType() - 00h failed, Sending SCSI_Cmd_ReadDvdStruct command 11h")
            != 0) {
            LogEntry("Early End 2 GetMediaType()");
            return kMediaNoStructure;
        }
        const int plusKind = disc_structure::PlusMediaKind(answer);
        mediaType = plusKind != -1 ? plusKind : disc_structure::BookType(answer);
    }
    LogEntry("End GetMediaType()");
    return mediaType;
}

int MediaIdentification::GetMediaTypeName(std::string& name)
{
    if (m_mmc.TestMediaPresent() != 1) {
        name = "NO MEDIA";
        return 0;
    }
    int profile = 0;
    GetDriveProfile(profile);
    const char* byProfile = ProfileMediaName(profile);
    name = byProfile ? byProfile : MediaTypeName(GetMediaType());
    return profile;
}

std::int64_t MediaIdentification::GetMediaCapacity()
{
    if (GetMediaType() == kMediaBdRom)
        return m_reads.ReadCapacity() >> 1;
    std::vector<std::uint8_t> answer(kPerformanceLength, 0);
    bool failed = false;
    bool refused = false;
    {
        const auto lock = m_ScsiCommand.Lock();
        // Nominal read performance (tolerance 10b, as MMC asks).
        constexpr std::uint8_t kNominalTolerance = 0x10;
        failed = mmc_cdb::GetPerformance{.dataType = kNominalTolerance, .maxDescriptors = kPerformanceDescriptors}
                     .Block()
                     .Execute(m_ScsiCommand, DataDirection::In, answer.data(), kPerformanceLength)
            != 0;
        refused = failed && WasRefused(m_ScsiCommand);
    }
    if (failed && !refused)
        return 0;
    if (refused) {
        // Read-only drives may not know the command: the last block is asked instead.
        LogEntry("GetMediaCapacity() - GET PERFORMANCE failed, asking READ CAPACITY");
        return m_reads.ReadCapacity();
    }
    // A drive may describe the disc in several extents, not split where a
    // reader expects: the disc ends where the last of them ends.
    const std::size_t end = std::min<std::size_t>(answer.size(), std::uint64_t{scsi::GetBe32(answer.data())} + 4);
    std::int64_t last = 0;
    for (std::size_t at = kPerformanceHeader; at + kPerformanceDescriptor <= end; at += kPerformanceDescriptor)
        last = std::max<std::int64_t>(last, static_cast<std::int32_t>(scsi::GetBe32(&answer[at + 8])));
    return last;
}

int MediaIdentification::GetMediaIDString(std::string& text)
{
    if (m_mmc.TestMediaPresent() != 1)
        return 0;
    return ReadMediaIdText(GetMediaType(), text);
}

int MediaIdentification::ReadMediaIdText(int mediaType, std::string& text)
{
    text.clear();
    std::vector<std::uint8_t> answer;
    switch (mediaType) {
    case kMediaDvdRom:
    case kMediaDvdPlusRw:
    case kMediaDvdPlusR:
    case kMediaDvdPlusRDl: {
        if (ReadDvdStructureOrAdip(answer, nullptr) != 0)
            return 0;
        const std::string manufacturer = FieldText(&answer[23], 8);
        const std::string type = FieldText(&answer[31], 3);
        if (manufacturer.empty() && type.empty())
            return 0;
        text = Format("%-8s%3s", manufacturer.c_str(), type.c_str());
        return 1;
    }
    case kMediaDvdMinusR:
    case kMediaDvdMinusRw:
    case kMediaDvdMinusRDl:
        m_mmc.WaitForUnitReady(kReadySeconds);
        answer.assign(kPrerecordedLength, 0);
        if (m_reads.ReadDiscStructureNoCheck(0, 0, kPrerecordedInformation, kPrerecordedLength, answer.data()) != 0)
            return 0;
        text = PrintableCharacters(answer, 21, 6) + PrintableCharacters(answer, 29, 6);
        return 1;
    case kMediaDvdRam:
        m_mmc.WaitForUnitReady(kReadySeconds);
        answer.assign(kPhysicalFormatLength, 0);
        if (m_reads.ReadDiscStructureNoCheck(0, 0, kPhysicalFormat, kPhysicalFormatLength, answer.data()) != 0)
            return 0;
        text = PrintableCharacters(answer, 553, 64);
        return 1;
    case kMediaBdRom: text = Format("%-11s", "BD-ROM"); return 0;
    case kMediaBdR:
    case kMediaBdRe:
    case kMediaBdRRandom: {
        LogEntry("GetMediaIDString() - Blu-ray media found");
        BDDiscInfo info{};
        if (m_reads.GetBDDiStruct(info) != 0)
            return 0;
        text = FieldText(reinterpret_cast<const std::uint8_t*>(info.manufacturerId), sizeof info.manufacturerId)
            + FieldText(reinterpret_cast<const std::uint8_t*>(info.mediaTypeId), sizeof info.mediaTypeId);
        return 1;
    }
    default: return 0;
    }
}
