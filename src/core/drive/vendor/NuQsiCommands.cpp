#include "core/drive/vendor/NuQsiCommands.h"

#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <array>

namespace {

using namespace vendor_cdb;

constexpr std::size_t kNuQsiAnswer = 128;
constexpr std::uint8_t kAccessByte = 0xAA;
constexpr std::uint32_t kModeAnswer = 36;

}  // namespace

NuQsiCommands::NuQsiCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply NuQsiCommands::NuQsiQueryF30E()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}, kNuQsiAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply NuQsiCommands::QueryNuQsiStatus()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0F, 0x02, 0, 0, 0, 0x07, 0, 0x08, 0, 0, 0}, kNuQsiAnswer, reply,
          [](const auto& answer) { return int{answer[6]}; });
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
