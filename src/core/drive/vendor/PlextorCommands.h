#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The Plextor family's error-counting passes (EAh): a pass is started, the
// program reads the disc itself with READ(10) while the drive counts, asks
// for the count of each group of reads, and stops the pass.
class PlextorCommands {
public:
    explicit PlextorCommands(CScsiCommand& channel);

    // The size of one ECC block read (16 sectors) and of the results.
    static constexpr std::uint32_t kEccBlockBytes = 16 * 2048;
    static constexpr std::uint32_t kErrorResultBytes = 52;
    static constexpr std::uint32_t kJitterResultBytes = 16;

    // The pass commands: the channel's result in value (0 taken). All go out
    // with the family's 12 bytes, the jitter start's last two 0.
    VendorReply PlextorStartPIEScan();
    VendorReply PlextorStartPIFScan();
    VendorReply PlextorStartJitterScan();
    VendorReply PlextorStopScan();
    // The group's result into buffer (52 or 16 bytes): the channel's result.
    VendorReply PlextorReadErrorResult(std::uint8_t* buffer);
    VendorReply PlextorReadJitterResult(std::uint8_t* buffer);
    // READ(10) of the 16 sectors from lba into buffer (kEccBlockBytes).
    VendorReply ReadEccBlock(std::uint8_t* buffer, std::uint32_t lba);

    // The book type (E9h 22h) of the kind whose book-type code is b3 (0Ah
    // DVD+R, 09h DVD+RW, 0Eh DVD+R DL): the 8-byte answer into the cleared
    // buffer (byte 2: 0 as the disc is, else DVD-ROM); -1 without sending
    // when length is below 8, else the channel's result.
    VendorReply PlextorE9Read(std::uint8_t* buffer, int length, int b3);
    // Sets it (b5: 0 as the disc is, 1 DVD-ROM): the channel's result.
    VendorReply PlextorE9Write(int b5, int b3);

    // 8 ECC blocks from lba (a failed read ends them early), then the error
    // result: its count (bytes 36-39) into count; the result's status.
    int PlextorScanStep(std::uint8_t* buffer, std::uint32_t lba, std::uint32_t& count);
    // 16 ECC blocks, then the jitter result: the signed reading (bytes
    // 12-13) into jitter, bytes 10-11 into second; the result's status.
    int PlextorJitterStep(std::uint8_t* buffer, std::uint32_t lba, int& jitter, int& second);

private:
    int ReadEccBlocks(std::uint8_t* buffer, std::uint32_t lba, int blocks);

    CScsiCommand& m_ScsiCommand;
};

// The 32-bit big-endian value of four bytes.
std::uint32_t ReadBigEndian32(const std::uint8_t* bytes);
