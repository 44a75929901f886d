#include "core/drive/vendor/NecCommands.h"

#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

namespace {

using namespace vendor_cdb;

constexpr std::size_t kNecAnswer = 20;

// Every C9h goes out with the family's 10 bytes (ATAPI pads the packet to
// 12 with zeros).
Cdb10 NecCdb(int b1, int b2, int b3, int b9)
{
    using vendor_signature::kNec;
    return {vendor_opcode::kNec, Byte(b1), Byte(b2), Byte(b3), kNec[0], kNec[1], kNec[2], kNec[3], kNec[4], Byte(b9)};
}

Cdb10 NecCdb(int mediaSelector, int settingSelector)
{
    return NecCdb(0x02, mediaSelector, 0x01, settingSelector);
}

}  // namespace

NecCommands::NecCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply NecCommands::NecQueryCounterA()
{
    VendorReply reply;
    Query(m_ScsiCommand, NecCdb(2, 0), kNecAnswer, reply,
          [](const auto& answer) { return int{scsi::GetBe16(&answer[2])}; });
    return reply;
}

VendorReply NecCommands::NecQueryCounterB()
{
    VendorReply reply;
    Query(m_ScsiCommand, NecCdb(2, 0), kNecAnswer, reply,
          [](const auto& answer) { return int{scsi::GetBe16(&answer[4])}; });
    return reply;
}

VendorReply NecCommands::NecQueryBookType(int settingSelector, int mediaSelector)
{
    VendorReply reply;
    Query(m_ScsiCommand, NecCdb(mediaSelector, settingSelector), kNecAnswer, reply,
          [](const auto& answer) { return int{answer[1]}; });
    return reply;
}

VendorReply NecCommands::NecC9Command(int b1, int b2, int b3, int b9)
{
    std::vector<std::uint8_t> answer(kNecAnswer, 0);
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, NecCdb(b1, b2, b3, b9), DataDirection::In, answer.data(),
                       static_cast<std::uint32_t>(answer.size()), reply);
    return reply;
}

VendorReply NecCommands::NecReadErrorData(std::uint8_t* buffer, int subCommand, std::uint64_t lba, std::uint32_t length)
{
    const auto low = static_cast<std::uint32_t>(lba);
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kErrorScan, Byte(subCommand), Byte(low >> 24), Byte(low >> 16),
                             Byte(low >> 8), Byte(low), 0, 0, 0x08, 0, 0, 0},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

VendorReply NecCommands::IhasBookTypeProbe()
{
    return NecQueryCounterB();
}
