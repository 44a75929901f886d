#include "core/drive/vendor/NuQsiCommands.h"

#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using namespace vendor_cdb;

// The answers' lengths, as their CDBs' bytes 7-8 ask for them.
constexpr std::size_t kQueryAnswer = 2;
constexpr std::size_t kStatusAnswer = 8;
constexpr std::uint8_t kAccessByte = 0xAA;
constexpr std::uint32_t kModeAnswer = 36;
constexpr std::size_t kDcEraseAnswer = 2048;
constexpr std::uint8_t kDcErase = 0x0C;
constexpr std::uint8_t kDcCdForm = 0x01;

// A DC erase command whose answer is not read.
VendorReply DcCommand(CScsiCommand& channel, const Cdb12& cdb)
{
    std::vector<std::uint8_t> answer(kDcEraseAnswer, 0);
    VendorReply reply;
    reply.value = Send(channel, cdb, DataDirection::In, answer.data(), kDcEraseAnswer, reply);
    return reply;
}

}  // namespace

NuQsiCommands::NuQsiCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply NuQsiCommands::NuQsiQueryF30E()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}, kQueryAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply NuQsiCommands::QueryNuQsiStatus()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0F, 0x02, 0, 0, 0, 0x07, 0, 0x08, 0, 0, 0}, kStatusAnswer,
          reply, [](const auto& answer) { return int{answer[6]}; });
    return reply;
}

VendorReply NuQsiCommands::NuQsiSetBookType(int byte3, int byte4, int byte11)
{
    VendorReply reply;
    reply.value = Send(
        m_ScsiCommand,
        Cdb12{vendor_opcode::kNuQsi, 0x0E, 0x70, Byte(byte3), Byte(byte4), 0, 0, 0, 0, 0, 0, Byte(byte11)},
        DataDirection::None, nullptr, 0, reply);
    return reply;
}

VendorReply NuQsiCommands::GenericEnable(std::uint8_t* buffer, std::uint32_t length)
{
    using vendor_signature::kGenericF3;
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kNuQsi, 0x0C, 0x00, kGenericF3[0], kGenericF3[1], kGenericF3[2],
                             kGenericF3[3], kGenericF3[4], 0, 0, 0, kAccessByte},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

VendorReply NuQsiCommands::GenericSetMode(int a, int b)
{
    std::array<std::uint8_t, kModeAnswer> discarded{};
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0E, 0x01, Byte(a), Byte(b), 0, 0, 0, 0, 0, 0, 0},
                       DataDirection::In, discarded.data(), kModeAnswer, reply);
    return reply;
}

VendorReply NuQsiCommands::GenericFinish(std::uint8_t* buffer, std::uint32_t length)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0C, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, kAccessByte},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

VendorReply NuQsiCommands::GenericSetStart(std::uint8_t* buffer, std::uint32_t length, std::uint32_t address)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kNuQsi, 0x0C, 0x07, Byte(address >> 16), Byte(address >> 8), Byte(address),
                             0, 0, 0, 0, 0, 0},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

VendorReply NuQsiCommands::GenericReadErrorData(std::uint8_t* buffer, std::uint32_t length, int count)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0E, 0x80, 0, 0, 0, 0, 0, Byte(count), 0, 0, 0},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

VendorReply NuQsiCommands::EnterEraseMode()
{
    using vendor_signature::kDcEraseAccess;
    return DcCommand(m_ScsiCommand,
                     Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x00, kDcEraseAccess[0], kDcEraseAccess[1],
                           kDcEraseAccess[2], kDcEraseAccess[3], kDcEraseAccess[4], 0, 0, 0, 0});
}

VendorReply NuQsiCommands::LeaveEraseMode()
{
    return DcCommand(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

VendorReply NuQsiCommands::SetEraseParameters(int mode, int rangeType, bool flag, int speed)
{
    const int range = (rangeType == 1 ? 0x01 : rangeType == 2 ? 0x08 : 0x00) | (flag ? 0x02 : 0x00);
    return DcCommand(
        m_ScsiCommand,
        Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x02, Byte(range), Byte(mode), Byte(speed), 0, 0, 0, 0, 0, 0});
}

VendorReply NuQsiCommands::WriteEraseBlocks(int count)
{
    std::vector<std::uint8_t> zeros(static_cast<std::size_t>(std::max(count, 0)) * kDcEraseAnswer, 0);
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x03, 0, Byte(count >> 8), Byte(count), 0, 0, 0, 0, 0, 0},
                       DataDirection::Out, zeros.data(), static_cast<std::uint32_t>(zeros.size()), reply);
    return reply;
}

VendorReply NuQsiCommands::GetEraseStatusWord()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0}, kDcEraseAnswer, reply,
          [](const auto& answer) { return (answer[0] << 8) | answer[1]; });
    return reply;
}

VendorReply NuQsiCommands::EraseBlocks(std::uint32_t first, std::uint32_t last)
{
    return DcCommand(m_ScsiCommand,
                     Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x05, Byte(first >> 16), Byte(first >> 8), Byte(first),
                           Byte(last >> 16), Byte(last >> 8), Byte(last), 0, 0, 0});
}

VendorReply NuQsiCommands::EraseCdBlocks(bool quick)
{
    const std::array<std::uint8_t, 3> range = quick ? std::array<std::uint8_t, 3>{0x03, 0x00, 0x00}
                                                    : std::array<std::uint8_t, 3>{0x64, 0x01, 0x4A};
    return DcCommand(
        m_ScsiCommand,
        Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x05, 0x00, 0x0D, 0x19, range[0], range[1], range[2], 0, 0, kDcCdForm});
}

VendorReply NuQsiCommands::GetEraseState()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, kDcErase, 0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0}, kDcEraseAnswer, reply,
          [](const auto& answer) { return int{answer[3]}; });
    return reply;
}
