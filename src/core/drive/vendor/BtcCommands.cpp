#include "core/drive/vendor/BtcCommands.h"

#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"

namespace {

using namespace vendor_cdb;

}  // namespace

BtcCommands::BtcCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply BtcCommands::BtcReadErrorData(std::uint8_t* buffer, std::uint32_t length)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb10{vendor_opcode::kErrorScan, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::In,
                       buffer, length, reply);
    return reply;
}
