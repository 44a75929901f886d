#include "core/drive/vendor/PlextorCommands.h"

#include "core/drive/MmcCdbs.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>

namespace {

using namespace vendor_cdb;
using vendor_opcode::kPlextor;

constexpr int kScanStepBlocks = 8;
constexpr int kJitterStepBlocks = 16;
constexpr std::uint8_t kBookTypePage = 0x22;
constexpr int kBookTypeAnswer = 8;

}  // namespace

PlextorCommands::PlextorCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply PlextorCommands::PlextorE9Read(std::uint8_t* buffer, int length, int b3)
{
    VendorReply reply;
    if (!buffer || length < kBookTypeAnswer)
        return reply;
    std::fill(buffer, buffer + kBookTypeAnswer, 0);
    reply.value = Send(
        m_ScsiCommand,
        Cdb12{vendor_opcode::kPlextorBookType, 0x00, kBookTypePage, Byte(b3), 0, 0, 0, 0, 0, kBookTypeAnswer, 0, 0},
        DataDirection::In, buffer, kBookTypeAnswer, reply);
    return reply;
}

VendorReply PlextorCommands::PlextorE9Write(int b5, int b3)
{
    VendorReply reply;
    reply.value = Send(
        m_ScsiCommand,
        Cdb12{vendor_opcode::kPlextorBookType, 0x10, kBookTypePage, Byte(b3), 0, Byte(b5), 0, 0, 0, 0, 0, 0},
        DataDirection::None, nullptr, 0, reply);
    return reply;
}

VendorReply PlextorCommands::PlextorStartPIEScan()
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{kPlextor, 0x15, 0, 0, 0, 0, 0, 0, 0x08, 0x10, 0, 0}, DataDirection::None,
                       nullptr, 0, reply);
    return reply;
}

VendorReply PlextorCommands::PlextorStartPIFScan()
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{kPlextor, 0x15, 0, 0, 0, 0, 0, 0, 0x01, 0x12, 0, 0}, DataDirection::None,
                       nullptr, 0, reply);
    return reply;
}

VendorReply PlextorCommands::PlextorStartJitterScan()
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{kPlextor, 0x15, 0x10, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}, DataDirection::None,
                       nullptr, 0, reply);
    return reply;
}

VendorReply PlextorCommands::PlextorStopScan()
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{kPlextor, 0x17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::None, nullptr,
                       0, reply);
    return reply;
}

VendorReply PlextorCommands::PlextorReadErrorResult(std::uint8_t* buffer)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{kPlextor, 0x16, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, 0}, DataDirection::In, buffer,
                       kErrorResultBytes, reply);
    return reply;
}

VendorReply PlextorCommands::PlextorReadJitterResult(std::uint8_t* buffer)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{kPlextor, 0x16, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x10, 0}, DataDirection::In,
                       buffer, kJitterResultBytes, reply);
    return reply;
}

VendorReply PlextorCommands::ReadEccBlock(std::uint8_t* buffer, std::uint32_t lba)
{
    VendorReply reply;
    constexpr std::uint16_t kEccBlockSectors = 16;
    reply.value = Send(m_ScsiCommand, mmc_cdb::Read10{.lba = lba, .blocks = kEccBlockSectors}.Block(),
                       DataDirection::In, buffer, kEccBlockBytes, reply);
    return reply;
}

int PlextorCommands::ReadEccBlocks(std::uint8_t* buffer, std::uint32_t lba, int blocks)
{
    for (int block = 0; block < blocks; ++block)
        if (ReadEccBlock(buffer, lba + static_cast<std::uint32_t>(block) * 16).value != 0)
            return block;
    return blocks;
}

int PlextorCommands::PlextorScanStep(std::uint8_t* buffer, std::uint32_t lba, std::uint32_t& count)
{
    const auto lock = m_ScsiCommand.Lock();
    ReadEccBlocks(buffer, lba, kScanStepBlocks);
    std::array<std::uint8_t, kErrorResultBytes> result{};
    const int status = PlextorReadErrorResult(result.data()).value;
    count = ReadBigEndian32(&result[36]);
    return status;
}

int PlextorCommands::PlextorJitterStep(std::uint8_t* buffer, std::uint32_t lba, int& jitter, int& second)
{
    const auto lock = m_ScsiCommand.Lock();
    ReadEccBlocks(buffer, lba, kJitterStepBlocks);
    std::array<std::uint8_t, kJitterResultBytes> result{};
    const int status = PlextorReadJitterResult(result.data()).value;
    jitter = static_cast<std::int16_t>(scsi::GetBe16(&result[12]));
    second = scsi::GetBe16(&result[10]);
    return status;
}

std::uint32_t ReadBigEndian32(const std::uint8_t* bytes)
{
    return scsi::GetBe32(bytes);
}
