#include "core/drive/vendor/LiteonCommands.h"

#include "core/drive/MmcCommands.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <array>

namespace {

using namespace vendor_cdb;
using vendor_opcode::kLiteon;

constexpr std::size_t kLiteonAnswer = 128;
constexpr std::size_t kJitterAnswer = 12;
constexpr int kUnitReadySeconds = 30;

}  // namespace

LiteonCommands::LiteonCommands(CScsiCommand& channel, MmcCommands& mmc) : m_ScsiCommand(channel), m_mmc(mmc)
{
}

void LiteonCommands::WaitBeforeLiteonCommand()
{
    m_mmc.WaitForUnitReady(kUnitReadySeconds);
}

VendorReply LiteonCommands::LiteonSetBookType(int selector, int value)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    WaitBeforeLiteonCommand();
    reply.value = Send(m_ScsiCommand, Cdb12{kLiteon, 0x00, 0x0F, Byte(selector), Byte(value), 0, 0, 0x80, 0, 0, 0, 0},
                       DataDirection::None, nullptr, 0, reply);
    return reply;
}

VendorReply LiteonCommands::LiteonProbeDF1B()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    WaitBeforeLiteonCommand();
    Query(m_ScsiCommand, Cdb12{kLiteon, 0x1B, 0, 0x02, 0, 0x03, 0x02, 0, 0, 0, 0x02, 0}, kLiteonAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply LiteonCommands::LiteonQueryBookType()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply = LiteonProbeDF1B();
    reply.Then(LiteonProbeDF0F());
    return reply;
}

VendorReply LiteonCommands::LiteonStatus(std::uint8_t which)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply = LiteonProbeDF1B();
    WaitBeforeLiteonCommand();
    Query(m_ScsiCommand, Cdb12{kLiteon, 0x00, 0x0F, which, 0, 0, 0, 0x80, 0, 0, 0, 0}, kLiteonAnswer, reply,
          [](const auto& answer) { return answer[2] != 0 || answer[3] != 0 ? 1 : 0; });
    return reply;
}

VendorReply LiteonCommands::GetVendorStatusDF10()
{
    return LiteonStatus(0x10);
}

VendorReply LiteonCommands::GetVendorStatusDF20()
{
    return LiteonStatus(0x20);
}

VendorReply LiteonCommands::LiteonJitterProbe()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    WaitBeforeLiteonCommand();
    Query(m_ScsiCommand, Cdb12{kLiteon, 0x1B, 0x82, 0x01, 0, 0x03, 0x02, 0, 0, 0, 0x02, 0}, kJitterAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply LiteonCommands::LiteonProbeDF0F()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    WaitBeforeLiteonCommand();
    Query(m_ScsiCommand, Cdb12{kLiteon, 0x00, 0x0F, 0, 0, 0, 0, 0x80, 0, 0, 0, 0}, kLiteonAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

int LiteonCommands::LiteonReadErrorData(std::uint8_t* buffer, std::uint32_t length)
{
    VendorReply reply;
    return Send(m_ScsiCommand, Cdb12{vendor_opcode::kErrorScan, 0x0E, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0},
                DataDirection::In, buffer, length, reply);
}

std::optional<std::uint32_t> LiteonCommands::LiteonReadJitterData(std::uint32_t lba, std::uint32_t length)
{
    const auto lock = m_ScsiCommand.Lock();
    WaitBeforeLiteonCommand();
    std::array<std::uint8_t, 16> answer{};
    VendorReply reply;
    const Cdb12 cdb{kLiteon,
                    0x1B,
                    0x82,
                    0x01,
                    Byte(lba >> 24),
                    Byte(lba >> 16),
                    Byte(lba >> 8),
                    Byte(lba),
                    Byte(length >> 24),
                    Byte(length >> 16),
                    Byte(length >> 8),
                    Byte(length)};
    if (Send(m_ScsiCommand, cdb, DataDirection::In, answer.data(), kJitterAnswer, reply) != 0)
        return std::nullopt;
    return scsi::GetBe32(&answer[8]);
}
