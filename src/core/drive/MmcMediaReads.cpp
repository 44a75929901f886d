#include "core/drive/MmcMediaReads.h"

#include "core/base/LogFile.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/MmcCommands.h"
#include "core/drive/ScsiCommand.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

using scsi::GetBe32;
using namespace mmc;

constexpr std::uint32_t kFormatCapacitiesTransfer = 2048;
constexpr std::uint32_t kRawSectorBytes = 2352;  // a whole CD sector
// Header and current/maximum descriptor: enough to see the descriptor type.
constexpr std::uint16_t kCurrentCapacityLength = 12;
constexpr std::uint32_t kCapacityLength = 8;
constexpr std::int64_t kMaxRead10Blocks = 0xFFFF;
constexpr std::int64_t kMaxRead10Lba = 0xFFFFFFFF;
constexpr int kUnitReadySeconds = 10;

enum CapacityDescriptorType { kUnformatted = 1, kFormatted = 2, kNoMedium = 3 };

const char* const kBufferSizeMessage
    = "ReadBDStruct Buffer size wrong.\nPlease report this error on the Quenzario web site.";

void TakeBdDiscInfo(const std::uint8_t* unit, BDDiscInfo& info)
{
    info = BDDiscInfo{};
    std::memcpy(info.identifier, unit, 2);
    info.format = unit[2];
    info.unitsPerBlock = unit[3];
    info.reserved1 = unit[4];
    info.sequenceNumber = unit[5];
    info.bytesInUse = unit[6];
    info.reserved2 = unit[7];
    std::memcpy(info.discTypeId, unit + 8, 3);
    info.sizeClassVersion = unit[11];
    std::memcpy(info.unitData, unit + 12, sizeof info.unitData);
    std::memcpy(info.manufacturerId, unit + 100, 6);
    std::memcpy(info.mediaTypeId, unit + 106, 3);
    std::memcpy(info.timeStamp, unit + 109, 2);
    info.productRevision = unit[111];
}

}  // namespace

MmcMediaReads::MmcMediaReads(CScsiCommand& channel, MmcCommands& mmc) : m_ScsiCommand(channel), m_mmc(mmc)
{
}

bool MmcMediaReads::ReadTrackInformation(std::uint8_t* buffer, std::uint32_t length, int track)
{
    const std::uint32_t allocation = std::min<std::uint32_t>(length, 0xFFFF);
    return mmc_cdb::ReadTrackInformation{.address = static_cast<std::uint32_t>(track),
                                         .allocation = static_cast<std::uint16_t>(allocation)}
               .Block()
               .Execute(m_ScsiCommand, DataDirection::In, buffer, allocation)
        == 0;
}

std::optional<std::int32_t> MmcMediaReads::TrackFreeBlocks(std::uint32_t track)
{
    constexpr std::uint16_t kTrackInformationLength = 2048;
    constexpr std::size_t kFreeBlocksEnd = 20;  // bytes 16-19
    const DriveAnswer answer = ExecuteForBytes(
        m_ScsiCommand, mmc_cdb::ReadTrackInformation{.address = track, .allocation = kTrackInformationLength}.Block(),
        kTrackInformationLength);
    if (!answer.Holds(kFreeBlocksEnd))
        return std::nullopt;
    return static_cast<std::int32_t>(answer.Be32(16));
}

std::optional<DiscInformation> MmcMediaReads::ReadDiscInformationFields()
{
    constexpr std::uint16_t kDiscInformationLength = 256;
    const DriveAnswer answer = ExecuteForBytes(
        m_ScsiCommand, mmc_cdb::ReadDiscInformation{.allocation = kDiscInformationLength}.Block(),
        kDiscInformationLength);
    return answer.ok ? DecodeDiscInformation(answer.bytes) : std::nullopt;
}

std::optional<AtipTimes> MmcMediaReads::ReadAtipTimes()
{
    constexpr std::uint8_t kAtipFormat = 0x04;
    constexpr std::uint16_t kAtipLength = 28;
    constexpr std::size_t kTimesEnd = 15;  // lead-in at bytes 8-10, lead-out at 12-14
    const DriveAnswer answer = ExecuteForBytes(
        m_ScsiCommand, mmc_cdb::ReadTocPmaAtip{.msf = true, .format = kAtipFormat, .allocation = kAtipLength}.Block(),
        kAtipLength);
    if (!answer.Holds(kTimesEnd))
        return std::nullopt;
    return AtipTimes{{answer.At(8), answer.At(9), answer.At(10)}, {answer.At(12), answer.At(13), answer.At(14)}};
}

DriveAnswer MmcMediaReads::DiscStructureAnswer(std::uint8_t mediaType, std::uint8_t format, std::uint16_t allocation,
                                               std::uint32_t address)
{
    return ExecuteForBytes(m_ScsiCommand,
                           mmc_cdb::ReadDiscStructure{
                               .mediaType = mediaType, .address = address, .format = format, .allocation = allocation}
                               .Block(),
                           allocation);
}

DriveAnswer MmcMediaReads::WriteSpeedsAnswer(std::uint16_t descriptors)
{
    constexpr std::uint8_t kWriteSpeedType = 0x03;
    constexpr std::uint32_t kHeaderLength = 8;
    constexpr std::uint32_t kDescriptorLength = 16;
    return ExecuteForBytes(m_ScsiCommand,
                           mmc_cdb::GetPerformance{.maxDescriptors = descriptors, .type = kWriteSpeedType}.Block(),
                           kHeaderLength + kDescriptorLength * descriptors);
}

DriveAnswer MmcMediaReads::SubChannelAnswer(std::uint8_t format, std::uint16_t allocation)
{
    return ExecuteForBytes(m_ScsiCommand,
                           mmc_cdb::ReadSubChannel{.subQ = true, .format = format, .allocation = allocation}.Block(),
                           allocation);
}

int MmcMediaReads::SendDiscStructure(int mediaType, std::uint32_t address, int layer, int format, std::uint32_t length,
                                     std::uint8_t* buffer)
{
    const std::uint32_t allocation = std::min<std::uint32_t>(length, 0xFFFF);
    return mmc_cdb::ReadDiscStructure{.mediaType = static_cast<std::uint8_t>(mediaType),
                                      .address = address,
                                      .layer = static_cast<std::uint8_t>(layer),
                                      .format = static_cast<std::uint8_t>(format),
                                      .allocation = static_cast<std::uint16_t>(allocation)}
        .Block()
        .Execute(m_ScsiCommand, DataDirection::In, buffer, allocation);
}

int MmcMediaReads::GetBDDiStruct(BDDiscInfo& info)
{
    std::vector<std::uint8_t> answer(kStructureBufferLength, 0);
    const int result = SendDiscStructure(disc_structure::kBdMedia, 0, 0, disc_structure::kBdDiscInformation,
                                         kStructureBufferLength, answer.data());
    if (result == 0)
        TakeBdDiscInfo(&answer[4], info);
    return result;
}

std::int64_t MmcMediaReads::ReadCapacity()
{
    if (m_mmc.TestMediaPresent() != 1)
        return 0;
    const CapacityAnswer answer = ReadCapacityAnswer();
    if (!answer.ok)
        return 0;
    return static_cast<std::int32_t>(answer.lastLba);
}

CapacityAnswer MmcMediaReads::ReadCapacityAnswer()
{
    std::array<std::uint8_t, kCapacityLength> bytes{};
    CapacityAnswer answer;
    const auto lock = m_ScsiCommand.Lock();  // the sense and the residual are this command's
    answer.ok = mmc_cdb::ReadCapacity{}.Block().Execute(m_ScsiCommand, DataDirection::In, bytes.data(), kCapacityLength)
        == 0;
    answer.received = kCapacityLength - std::min(m_ScsiCommand.Residual(), kCapacityLength);
    if (!answer.ok)
        answer.sense = SenseOf(m_ScsiCommand.GetSenseBuffer());
    answer.lastLba = GetBe32(&bytes[0]);
    answer.blockLength = GetBe32(&bytes[4]);
    return answer;
}

BlockReadResult MmcMediaReads::SendRead(const CommandBlock& cdb, std::span<std::uint8_t> buffer, std::uint64_t bytes)
{
    constexpr std::uint8_t kInformationValid = 0x80;
    BlockReadResult result;
    // The transfer is exactly the blocks asked for: a drive given more room
    // may read on past them (past the disc's end at its last blocks).
    if (bytes > buffer.size())
        return result;
    const auto lock = m_ScsiCommand.Lock();  // the sense and the residual are this command's
    const auto length = static_cast<std::uint32_t>(bytes);
    result.ok = cdb.Execute(m_ScsiCommand, DataDirection::In, buffer.data(), length) == 0;
    result.transferred = length - std::min(m_ScsiCommand.Residual(), length);
    if (!result.ok) {
        const std::uint8_t* sense = m_ScsiCommand.GetSenseBuffer();
        result.sense = SenseOf(sense);
        if (sense[0] & kInformationValid)
            result.badBlock = GetBe32(sense + 3);
        result.lost = m_ScsiCommand.LastError() == PassThroughError::Transport;
    }
    return result;
}

BlockReadResult MmcMediaReads::Read10(std::uint32_t lba, std::uint32_t count, std::span<std::uint8_t> buffer,
                                      std::uint8_t byte1)
{
    return SendRead(mmc_cdb::Read10{.flags = byte1, .lba = lba, .blocks = static_cast<std::uint16_t>(count)}.Block(),
                    buffer, std::uint64_t{count} * kBlockBytes);
}

BlockReadResult MmcMediaReads::ReadCdRaw(std::uint32_t lba, std::uint32_t count, std::span<std::uint8_t> buffer,
                                         std::uint8_t byte1)
{
    constexpr std::uint8_t kWholeRawSector = 0xF8;  // sync, all headers, user data, EDC/ECC
    return SendRead(
        mmc_cdb::ReadCd{.sectorType = byte1, .lba = lba, .blocks = count, .fields = kWholeRawSector}.Block(), buffer,
        std::uint64_t{count} * kRawSectorBytes);
}

int MmcMediaReads::ReadFormatCapacities(std::uint16_t allocation, std::uint8_t* buffer)
{
    return mmc_cdb::ReadFormatCapacities{.allocation = allocation}.Block().Execute(m_ScsiCommand, DataDirection::In,
                                                                                   buffer, allocation);
}

int MmcMediaReads::ReadDVDStruct(std::uint32_t address, int layer, int format, int mediaType, std::uint32_t length,
                                 std::uint8_t* buffer, WrapperNotice* notice)
{
    if (m_mmc.TestMediaPresent() != 1)
        return 1;
    if (length < kStructureBufferLength) {
        if (notice)
            notice->messageBox = kBufferSizeMessage;
        LogEntry("ReadDVDStruct() - Buffer size smaller than BLOCKSIZE4100");
        return -1;
    }
    return SendDiscStructure(mediaType, address, layer, format, length, buffer);
}

int MmcMediaReads::ReadDiscStructureNoCheck(std::uint32_t address, int layer, int format, std::uint32_t length,
                                            std::uint8_t* buffer)
{
    return SendDiscStructure(0, address, layer, format, length, buffer);
}

int MmcMediaReads::GetFormatCapacities(std::uint8_t* buffer, std::uint32_t length, WrapperNotice* notice)
{
    const auto fail = [&](const char* log, const char* status) {
        LogEntry(log);
        if (notice)
            notice->status = status;
        return 0;
    };
    LogEntry("Start GetFormatCapacities()");
    const std::uint32_t transfer = std::min(length, kFormatCapacitiesTransfer);
    if (!buffer || transfer < 4)
        return fail("GetFormatCapacities() - Buffer too small", "Allocation length incorrect");
    std::fill(buffer, buffer + transfer, 0);
    if (ReadFormatCapacities(4, buffer) != 0)
        return fail("GetFormatCapacities() - SCSI_Cmd_ReadFormatCapacities command 23h failed, returned non zero",
                    "Error, SCSI_Cmd_ReadFormatCapacities");
    const std::uint32_t listLength = buffer[3];
    if (listLength % 8 != 0 || listLength < 16 || listLength + 4 > length)
        return fail("GetFormatCapacities() - Allocation length failed", "Allocation length incorrect");
    if (ReadFormatCapacities(static_cast<std::uint16_t>(listLength + 4), buffer) != 0)
        return fail("GetFormatCapacities() - SCSI_Cmd_ReadFormatCapacities (2) failed, returned non zero",
                    "Error, SCSI_Cmd_ReadFormatCapacities");
    if (buffer[3] != listLength)
        return fail("GetFormatCapacities() - Parameter length inconsistency", "Parameter length inconsistency");
    LogEntry("End GetFormatCapacities()");
    return static_cast<int>(listLength);
}

int MmcMediaReads::ReadBlocks(std::uint8_t* buffer, std::size_t bufferLength, std::int64_t lba, int count, bool quiet,
                              WrapperNotice* notice)
{
    LogEntry("Start ReadBlocks()");
    if (count < 0 || count > kMaxRead10Blocks || lba < 0 || lba > kMaxRead10Lba) {
        LogEntry("ReadBlocks() - Block address or count out of range");
        return -1;
    }
    const std::size_t bytes = static_cast<std::size_t>(count) * kBlockBytes;
    if (!buffer || bufferLength < bytes) {
        LogEntry("ReadBlocks() - Buffer too small");
        return -1;
    }
    const auto refuse = [&](const char* text) {
        LogEntry(std::string("ReadBlocks() - ") + text);
        if (notice && !quiet)
            notice->messageBox = text;
        return -1;
    };

    m_mmc.WaitForUnitReady(kUnitReadySeconds);
    std::fill(buffer, buffer + bufferLength, 0);
    std::array<std::uint8_t, kCurrentCapacityLength> capacities{};
    if (ReadFormatCapacities(kCurrentCapacityLength, capacities.data()) == 0) {
        switch (capacities[8] & 0x03) {
        case kUnformatted: return refuse("This media is unformatted, reading blocks is pointless.");
        case kNoMedium: return refuse("No Media present or media is unformatted");
        case kFormatted:
            if (lba >= GetBe32(&capacities[4]))
                return refuse("Your requested block is beyond the last readable block.");
            break;
        default: break;
        }
    }

    LogEntryF("ReadBlocks() - Request to read block %lld", static_cast<long long>(lba));
    m_mmc.WaitForUnitReady(kUnitReadySeconds);
    std::fill(buffer, buffer + bufferLength, 0);
    const int result = Read10(static_cast<std::uint32_t>(lba), static_cast<std::uint32_t>(count), {buffer, bytes}).ok
        ? 0
        : 1;
    if (result != 0)
        LogEntry("ReadBlocks() - SCSI_Cmd_Read10 failed, returned non zero");
    LogEntry("End ReadBlocks()");
    return result;
}
