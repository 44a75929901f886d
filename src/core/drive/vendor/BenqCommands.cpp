#include "core/drive/vendor/BenqCommands.h"

#include "core/app/LogFile.h"
#include "core/drive/Device.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>
#include <vector>

namespace {

using namespace vendor_cdb;
using vendor_opcode::kBenqReadBookType;
using vendor_opcode::kBenqSetBookType;

constexpr std::uint8_t kVendorModeOn = 0x11;  // the older models' vendor mode; Solid Burn's first step
constexpr std::uint8_t kVendorModeOff = 0x12;
constexpr std::uint8_t kServiceModeOn = 0xF1;
constexpr std::uint8_t kServiceModeOff = 0xF2;
constexpr std::size_t kBenqAnswer = 2048;

Cdb12 BenqServiceCdb(std::uint8_t subCommand, std::uint8_t byte6 = 0, std::uint8_t byte7 = 0, std::uint8_t byte8 = 0)
{
    using vendor_signature::kBenq;
    return {
        vendor_opcode::kBenqService, subCommand, kBenq[0], kBenq[1], kBenq[2], kBenq[3], byte6, byte7, byte8, 0, 0, 0};
}

// A BenQ mode on or off: no data, the channel's result.
int ServiceMode(CScsiCommand& channel, std::uint8_t onOrOff, VendorReply& reply)
{
    return Send(channel, BenqServiceCdb(onOrOff), DataDirection::None, nullptr, 0, reply);
}

}  // namespace

BenqCommands::BenqCommands(CScsiCommand& channel, CDevice* const& current) :
    m_ScsiCommand(channel), m_pCurrentDevice(current)
{
}

VendorReply BenqCommands::BenqSignatureF1()
{
    VendorReply reply;
    reply.value = ServiceMode(m_ScsiCommand, kServiceModeOn, reply);
    return reply;
}

VendorReply BenqCommands::BenqSignatureF2()
{
    VendorReply reply;
    reply.value = ServiceMode(m_ScsiCommand, kServiceModeOff, reply);
    return reply;
}

VendorReply BenqCommands::BenqSignature11()
{
    VendorReply reply;
    reply.value = ServiceMode(m_ScsiCommand, kVendorModeOn, reply);
    return reply;
}

VendorReply BenqCommands::BenqSignature12()
{
    VendorReply reply;
    reply.value = ServiceMode(m_ScsiCommand, kVendorModeOff, reply);
    return reply;
}

// The protected commands run between service mode on and off; the drive is
// taken out of service mode whatever the command in between did.
VendorReply BenqCommands::BenqQueryBookType(std::uint8_t kind)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    ServiceMode(m_ScsiCommand, kServiceModeOn, reply);
    Query(m_ScsiCommand, Cdb12{kBenqReadBookType, kind, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, kBenqAnswer, reply,
          [](const auto& answer) { return (answer[0] >> 4) & 0x0F; });
    ServiceMode(m_ScsiCommand, kServiceModeOff, reply);
    return reply;
}

VendorReply BenqCommands::BenqQueryBookType00()
{
    return BenqQueryBookType(0x00);
}

VendorReply BenqCommands::BenqQueryBookType10()
{
    return BenqQueryBookType(0x10);
}

VendorReply BenqCommands::BenqSet(std::uint8_t selector, std::uint8_t value, bool withData)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    std::vector<std::uint8_t> data(withData ? kBenqAnswer : 0, 0);
    ServiceMode(m_ScsiCommand, kServiceModeOn, reply);
    reply.value = Send(m_ScsiCommand, Cdb12{kBenqSetBookType, selector, value, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                       withData ? DataDirection::Out : DataDirection::None, withData ? data.data() : nullptr,
                       static_cast<std::uint32_t>(data.size()), reply);
    ServiceMode(m_ScsiCommand, kServiceModeOff, reply);
    return reply;
}

VendorReply BenqCommands::BenqSetBookTypeData(int selector, int value)
{
    return BenqSet(Byte(selector), Byte(value), true);
}

VendorReply BenqCommands::BenqSetBookType(int selector, int value)
{
    return BenqSet(Byte(selector), Byte(value), false);
}

VendorReply BenqCommands::VendorProbeFF09()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    // One 8-byte buffer serves the three reads; the first of them takes 2 bytes.
    std::vector<std::uint8_t> answer(8, 0);
    const auto read = [&](std::uint8_t sub, std::uint8_t b2, std::uint32_t length) {
        std::fill(answer.begin(), answer.end(), 0);
        return Send(m_ScsiCommand, Cdb12{kBenqReadBookType, sub, b2, 0, 0, 0, 0, 0, 0, 0, 0, 0xAA}, DataDirection::In,
                    answer.data(), length, reply);
    };
    Send(m_ScsiCommand, Cdb12{kBenqReadBookType, 0x06, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0xAA}, DataDirection::None,
         nullptr, 0, reply);
    read(0x06, 0x10, 2);
    Send(m_ScsiCommand, Cdb12{kBenqReadBookType, 0x06, 0x12, 0, 0, 0, 1, 0, 0, 0, 0, 0xAA}, DataDirection::None,
         nullptr, 0, reply);
    read(0x10, 0x00, 8);
    reply.value = read(0x09, 0x00, 8) == 0 ? answer[1] : -1;
    return reply;
}

// A drive that refuses any step is not capable, and one that entered service
// mode is always taken out of it again.
VendorReply BenqCommands::DetectForSolidBurn()
{
    LogEntry("Start DetectForSolidBurn()");
    VendorReply reply;
    reply.value = 0;
    const CDevice* device = m_pCurrentDevice;
    if (IsPioneerWriter(device)
        || (device && (device->IdentityBeginsWith("ATAPI   DVD DD") || device->IdentityBeginsWith("BENQ"))))
        return reply;
    const auto lock = m_ScsiCommand.Lock();
    if (Send(m_ScsiCommand, BenqServiceCdb(kVendorModeOn), DataDirection::None, nullptr, 0, reply) != 0
        || Send(m_ScsiCommand, BenqServiceCdb(kVendorModeOff), DataDirection::None, nullptr, 0, reply) != 0
        || ServiceMode(m_ScsiCommand, kServiceModeOn, reply) != 0)
        return reply;
    std::vector<std::uint8_t> answer(12, 0);
    const int read = Send(m_ScsiCommand, BenqServiceCdb(0x1B, 0x16, 0x01, 0x04), DataDirection::In, answer.data(),
                          static_cast<std::uint32_t>(answer.size()), reply);
    const int left = ServiceMode(m_ScsiCommand, kServiceModeOff, reply);
    reply.value = read == 0 && left == 0 ? 1 : 0;
    return reply;
}
