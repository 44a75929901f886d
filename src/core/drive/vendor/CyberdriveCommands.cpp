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
