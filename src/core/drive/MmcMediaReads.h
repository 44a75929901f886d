#pragma once

#include "core/drive/MmcTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class CScsiCommand;
class CommandBlock;
class MmcCommands;

// The MMC commands that read what is on the disc. Results as MmcCommands
// gives them, unless said otherwise.
class MmcMediaReads {
public:
    MmcMediaReads(CScsiCommand& channel, MmcCommands& mmc);

    // true on success.
    bool ReadTrackInformation(std::uint8_t* buffer, std::uint32_t length, int track);

    // The free blocks of a track (READ TRACK INFORMATION of its number, 2048
    // bytes); none when they did not come.
    std::optional<std::int32_t> TrackFreeBlocks(std::uint32_t track);
    // READ DISC INFORMATION (256 bytes) decoded from the bytes that came.
    std::optional<DiscInformation> ReadDiscInformationFields();
    // The ATIP's times (READ TOC/PMA/ATIP, 28 bytes in MSF); none when they did not come.
    std::optional<AtipTimes> ReadAtipTimes();
    // The reads the media reports decode field by field: each answer is the
    // bytes that came into a new buffer of the allocation.
    // READ DISC STRUCTURE of one format on layer 0; media type 1 for BD.
    DriveAnswer DiscStructureAnswer(std::uint8_t mediaType, std::uint8_t format, std::uint16_t allocation,
                                    std::uint32_t address = 0);
    // GET PERFORMANCE of up to `descriptors` write speed descriptors.
    DriveAnswer WriteSpeedsAnswer(std::uint16_t descriptors);
    // READ SUB-CHANNEL of the Q sub-channel in one format.
    DriveAnswer SubChannelAnswer(std::uint8_t format, std::uint16_t allocation);

    int GetBDDiStruct(BDDiscInfo& info);
    // The last block address, sign-extended; 0 without a disc or on failure.
    std::int64_t ReadCapacity();
    // READ CAPACITY as it is, with no look for a disc first.
    CapacityAnswer ReadCapacityAnswer();
    // READ(10) of count blocks at lba with byte 1 given (kForceUnitAccess:
    // from the medium), and READ CD of count whole raw 2352-byte sectors
    // (sync, headers, user data, EDC/ECC; byte 1 the expected sector type),
    // into the start of buffer with the blocks' bytes as the transfer length
    // (a buffer too small for them: nothing sent, not ok). The sense and the
    // bytes that came are this command's (taken under the channel's lock).
    BlockReadResult Read10(std::uint32_t lba, std::uint32_t count, std::span<std::uint8_t> buffer,
                           std::uint8_t byte1 = 0);
    BlockReadResult ReadCdRaw(std::uint32_t lba, std::uint32_t count, std::span<std::uint8_t> buffer,
                              std::uint8_t byte1 = 0);
    // 1 without a disc (nothing sent), -1 for a buffer under kStructureBufferLength
    // (nothing sent, the notice says why).
    int ReadDVDStruct(std::uint32_t address, int layer, int format, int mediaType, std::uint32_t length,
                      std::uint8_t* buffer, WrapperNotice* notice = nullptr);
    int ReadDiscStructureNoCheck(std::uint32_t address, int layer, int format, std::uint32_t length,
                                 std::uint8_t* buffer);
    // The capacity list length on success, else 0 (the notice carries the status text).
    int GetFormatCapacities(std::uint8_t* buffer, std::uint32_t length, WrapperNotice* notice = nullptr);
    // READ(10) of count blocks at lba after the format capacities were
    // checked: the read's result, or -1 when refused before reading (the
    // notice carries the message unless quiet).
    int ReadBlocks(std::uint8_t* buffer, std::size_t bufferLength, std::int64_t lba, int count, bool quiet,
                   WrapperNotice* notice = nullptr);

    // READ FORMAT CAPACITIES of allocation bytes into buffer; the channel's result.
    int ReadFormatCapacities(std::uint16_t allocation, std::uint8_t* buffer);

private:
    BlockReadResult SendRead(const CommandBlock& cdb, std::span<std::uint8_t> buffer, std::uint64_t bytes);
    int SendDiscStructure(int mediaType, std::uint32_t address, int layer, int format, std::uint32_t length,
                          std::uint8_t* buffer);

    CScsiCommand& m_ScsiCommand;
    MmcCommands& m_mmc;
};
