#include "core/drive/vendor/RicohCommands.h"

#include "core/drive/Device.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"

namespace {

using namespace vendor_cdb;

constexpr std::size_t kRicohAnswer = 6;
constexpr std::size_t kAopenAnswer = 2048;
constexpr std::uint8_t kFlashTargetBit = 0x04;  // a target with it carries FFh in byte 3

}  // namespace

RicohCommands::RicohCommands(CScsiCommand& channel, CDevice* const& current) :
    m_ScsiCommand(channel), m_pCurrentDevice(current)
{
}

// FAh 00h / 10h, asked only of drives that write the format and are no
// Pioneer writers.
VendorReply RicohCommands::RicohQuery(std::uint8_t kind, bool writesFormat)
{
    VendorReply reply;
    if (writesFormat && !IsPioneerWriter(m_pCurrentDevice))
        Query(m_ScsiCommand, Cdb10{vendor_opcode::kRicoh, kind, 0, 0, 0, 0, 0, 0, 0x06, 0}, kRicohAnswer, reply,
              [](const auto& answer) { return answer[4] & 0xF0; });
    return reply;
}

VendorReply RicohCommands::RicohSetBookType(int target, int value)
{
    const std::uint8_t flash = (target & kFlashTargetBit) ? 0xFF : 0x00;
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb10{vendor_opcode::kRicohSetBookType, Byte(target), Byte(value), flash, 0, 0, 0, 0, 0, 0},
                       DataDirection::None, nullptr, 0, reply);
    return reply;
}

VendorReply RicohCommands::VendorF9Set(int b1, int length, int b2, int b3)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kRicohSetBookType, Byte(b1), Byte(b2), Byte(b3), 0, 0, 0, Byte(length >> 8),
                             Byte(length), 0, 0, 0},
                       DataDirection::None, nullptr, 0, reply);
    return reply;
}

VendorReply RicohCommands::AopenQuery(std::uint8_t kind)
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kRicoh, kind, 0, 0, 0, 0, 0, 0x08, 0, 0, 0, 0}, kAopenAnswer, reply,
          [](const auto& answer) { return answer[4] & 0xF0; });
    return reply;
}

VendorReply RicohCommands::VendorFAQuery00()
{
    return AopenQuery(0x00);
}

VendorReply RicohCommands::VendorFAQuery10()
{
    return AopenQuery(0x10);
}

VendorReply RicohCommands::RicohQueryBookType00()
{
    const CDevice* device = m_pCurrentDevice;
    return RicohQuery(0x00, device && device->m_bDvdPlusRwWrite);
}

VendorReply RicohCommands::RicohQueryBookType10()
{
    const CDevice* device = m_pCurrentDevice;
    return RicohQuery(0x10, device && (device->m_bDvdPlusRwWrite || device->m_bDvdPlusRWrite));
}
