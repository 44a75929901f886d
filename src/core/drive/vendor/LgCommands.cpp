#include "core/drive/vendor/LgCommands.h"

#include "core/base/LogFile.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>
#include <array>

namespace {

using namespace vendor_cdb;

constexpr int kSettingBytes = 4;
constexpr std::uint8_t kPlusAsItIs = 0xA0;
constexpr std::uint8_t kDualLayerAsItIs = 0xE0;

}  // namespace

LgCommands::LgCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply LgCommands::VendorFARead(std::uint8_t* buffer, int length)
{
    VendorReply reply;
    if (!buffer || length < kSettingBytes)
        return reply;
    std::fill(buffer, buffer + kSettingBytes, 0);
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kLgBookTypeRead, 0, 0, 0, 0, 0, 0, 0, kSettingBytes, 0, 0, 0},
                       DataDirection::In, buffer, kSettingBytes, reply);
    return reply;
}

VendorReply LgCommands::LgFCWrite(int clear, int target)
{
    const auto lock = m_ScsiCommand.Lock();
    std::array<std::uint8_t, kSettingBytes> current{};
    VendorReply reply = VendorFARead(current.data(), kSettingBytes);
    if (reply.value != 0) {
        LogEntry("LgFCWrite() - the settings could not be read: nothing written");
        reply.value = 1;
        return reply;
    }
    std::array<std::uint8_t, kSettingBytes> block{};
    if (target == 1) {
        block[0] = clear == 0 ? kPlusAsItIs : 0x00;
        block[1] = current[1];
    } else {
        block[0] = current[0];
        block[1] = clear == 0 ? kDualLayerAsItIs : 0x00;
    }
    using vendor_signature::kLgBookType;
    VendorReply write;
    write.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kLgBookTypeWrite, 0x00, kLgBookType[0], kLgBookType[1], kLgBookType[2],
                             kLgBookType[3], 0, 0, kSettingBytes, 0, 0, 0},
                       DataDirection::Out, block.data(), kSettingBytes, write);
    reply.Then(write);
    VendorFARead(current.data(), kSettingBytes);  // read again, as the drive now has them
    return reply;
}
