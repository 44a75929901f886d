#include "core/drive/vendor/PioneerCommands.h"

#include "core/drive/MmcCdbs.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"

#include <cstring>

namespace {

using namespace vendor_cdb;

constexpr std::uint8_t kDataMode = 0x02;
constexpr std::uint8_t kErrorBuffer = 0xE1;

std::uint32_t BlockCount(const std::uint8_t* counts)
{
    return static_cast<std::uint8_t>(counts[0] + counts[1] + counts[2] + counts[3]);
}

}  // namespace

PioneerCommands::PioneerCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

int PioneerCommands::PioneerWriteBuffer(std::uint8_t* buffer, std::uint32_t size, std::uint32_t lba,
                                        std::uint32_t count, std::uint8_t value)
{
    if (size < kBufferBytes)
        return -1;
    std::memset(buffer, 0, kBufferBytes);
    buffer[0] = 0xFF;
    buffer[1] = 0x01;
    scsi::PutBe32(&buffer[3], lba + kDvdFirstDataSector);
    scsi::PutBe32(&buffer[7], count);
    buffer[14] = value;
    VendorReply reply;
    return Send(m_ScsiCommand,
                mmc_cdb::Buffer{.mode = kDataMode, .bufferId = kErrorBuffer, .length = kBufferBytes}.WriteBlock(),
                DataDirection::Out, buffer, kBufferBytes, reply);
}

int PioneerCommands::PioneerReadBuffer(std::uint8_t* buffer, std::uint32_t size)
{
    if (size < kBufferBytes)
        return -1;
    VendorReply reply;
    return Send(m_ScsiCommand,
                mmc_cdb::Buffer{.mode = kDataMode, .bufferId = kErrorBuffer, .length = kBufferBytes}.ReadBlock(),
                DataDirection::In, buffer, kBufferBytes, reply);
}

int PioneerCommands::PioneerReadErrorData(std::uint8_t* buffer, std::uint32_t size, std::uint32_t lba,
                                          std::uint16_t count)
{
    std::memset(buffer, 0, size);
    Cdb12 cdb{vendor_opcode::kAopenErrorRead, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    scsi::PutBe32(&cdb[2], lba);
    scsi::PutBe16(&cdb[7], count);
    VendorReply reply;
    return Send(m_ScsiCommand, cdb, DataDirection::In, buffer, size, reply);
}

PioneerErrors ReadPioneerAnswer(const std::uint8_t* answer)
{
    std::uint32_t piBlocks = BlockCount(&answer[15]);
    if (piBlocks == 0)
        piBlocks = 1;
    std::uint32_t pifBlocks = BlockCount(&answer[7]);
    if (pifBlocks == 0)
        pifBlocks = 1;
    pifBlocks = (pifBlocks * 10) % 256;
    const std::uint32_t piSum = scsi::GetBe32(&answer[11]);
    const std::uint32_t pifSum = scsi::GetBe32(&answer[3]);
    return {piSum / piBlocks, pifBlocks ? pifSum / pifBlocks : pifSum};
}

std::uint32_t ReadAopenAnswer(const std::uint8_t* answer)
{
    return scsi::GetBe16(&answer[6]);
}
