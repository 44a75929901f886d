#include "core/drive/vendor/CyberdriveCommands.h"

#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <cstring>

namespace {

using namespace vendor_cdb;

}  // namespace

CyberdriveCommands::CyberdriveCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply CyberdriveCommands::CyberSignatureCommand(std::uint8_t* buffer, std::uint32_t length, int value)
{
    using vendor_signature::kCyberdrive;
    if (buffer && length)
        std::memset(buffer, 0, length);
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kCyberdrive, 0x6C, 0x80, Byte(value), kCyberdrive[0], kCyberdrive[1],
                             kCyberdrive[2], Byte(length >> 16), Byte(length >> 8), Byte(length), 0, 0},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

int CyberdriveCommands::CyberReadA9(std::uint8_t* buffer, std::uint32_t lba, std::uint8_t p1, std::uint8_t p2)
{
    constexpr std::uint32_t kAnswer = 32;
    std::memset(buffer, 0, kAnswer);
    VendorReply reply;
    return Send(m_ScsiCommand,
                Cdb12{vendor_opcode::kCyberdrive, 0x6C, 0xA9, Byte((lba >> 16) | 0x80), Byte(lba >> 8), Byte(lba), p1,
                      p2, 0, 0, 0, 0},
                DataDirection::In, buffer, kAnswer, reply);
}

int CyberdriveCommands::CyberReadB1(std::uint8_t* buffer, std::uint32_t length, std::uint8_t p)
{
    std::memset(buffer, 0, length);
    VendorReply reply;
    return Send(m_ScsiCommand,
                Cdb12{vendor_opcode::kCyberdrive, 0x6C, 0xB1, 0, 0, p, Byte(length >> 16), Byte(length >> 8),
                      Byte(length), 0, 0, 0},
                DataDirection::In, buffer, length, reply);
}
