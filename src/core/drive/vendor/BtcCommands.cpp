#include "core/drive/vendor/BtcCommands.h"

#include "core/drive/CommandFailure.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"

#include <vector>

namespace {

using namespace vendor_cdb;

constexpr std::uint8_t kInvalidFieldAsc = 0x24;
constexpr std::size_t kStateLength = 4;
constexpr std::size_t kSetDataLength = 128;

}  // namespace

BtcCommands::BtcCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply BtcCommands::IsBtcDrive()
{
    const auto lock = m_ScsiCommand.Lock();  // the sense stays the probe's until it is read
    VendorReply reply;
    const int result = Send(m_ScsiCommand,
                            Cdb12{vendor_opcode::kBtcBookType, 0x00, 0, 0, 0x01, 0, 0, 0, 0, 0, 0xAA, 0xFF},
                            DataDirection::None, nullptr, 0, reply);
    if (result == 0) {
        reply.value = 1;
    } else {
        const ChannelFailure failure = TakeFailure(m_ScsiCommand);
        reply.value = failure.error == PassThroughError::None && failure.sense.asc == kInvalidFieldAsc ? 1 : 0;
    }
    return reply;
}

VendorReply BtcCommands::VendorFA01Read()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kBtcBookType, 0x01, 0, 0, 0, 0, 0, 0x04, 0, 0, 0xAA, 0xFF}, kStateLength,
          reply, [](const auto& answer) { return int{answer[3]}; });
    return reply;
}

VendorReply BtcCommands::VendorFA00Write(int b2, int b3, int b4)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply = VendorFA01Read();
    std::vector<std::uint8_t> data(kSetDataLength, 0);
    VendorReply set;
    set.value = Send(m_ScsiCommand,
                     Cdb12{vendor_opcode::kBtcBookType, 0x00, Byte(b2), Byte(b3), Byte(b4), 0, 0, 0, 0, 0, 0xAA, 0xFF},
                     DataDirection::Out, data.data(), static_cast<std::uint32_t>(data.size()), set);
    reply.Then(set);
    return reply;
}

VendorReply BtcCommands::BtcReadErrorData(std::uint8_t* buffer, std::uint32_t length)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb10{vendor_opcode::kErrorScan, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::In,
                       buffer, length, reply);
    return reply;
}
