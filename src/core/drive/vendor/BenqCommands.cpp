#include "core/drive/vendor/BenqCommands.h"

#include "core/base/LogFile.h"
#include "core/drive/Device.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>
#include <array>
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
constexpr std::size_t kBookTypeAnswer = 8;  // as byte 8 of its read asks

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
    Query(m_ScsiCommand, Cdb12{kBenqReadBookType, kind, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, kBookTypeAnswer, reply,
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

int BenqCommands::FFMode(std::uint8_t b6, VendorReply& reply)
{
    return Send(m_ScsiCommand, Cdb12{kBenqReadBookType, 0x06, 0x12, 0, 0, 0, b6, 0, 0, 0, 0, 0xAA}, DataDirection::None,
                nullptr, 0, reply);
}

VendorReply BenqCommands::VendorFFMode(int b6)
{
    VendorReply reply;
    reply.value = FFMode(Byte(b6), reply) == 0 ? 0 : -1;
    return reply;
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
    FFMode(0, reply);
    read(0x06, 0x10, 2);
    FFMode(1, reply);
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

int BenqCommands::BenqServiceMode(bool leave)
{
    VendorReply reply;
    return ServiceMode(m_ScsiCommand, leave ? kServiceModeOff : kServiceModeOn, reply);
}

int BenqCommands::BenqSetPowerManagement(bool off)
{
    std::array<std::uint8_t, 20> list{};
    list[8] = 0x1A;  // power condition page
    list[9] = 0x0A;
    if (!off) {
        list[11] = 0x1A;
        list[19] = 0x09;
    }
    VendorReply reply;
    return Send(
        m_ScsiCommand,
        mmc_cdb::ModeSelect10{.pageFormat = true, .parameterLength = static_cast<std::uint16_t>(list.size())}.Block(),
        DataDirection::Out, list.data(), static_cast<std::uint32_t>(list.size()), reply);
}

int BenqCommands::BenqSendF9(std::span<const std::uint8_t> block)
{
    VendorReply reply;
    std::vector<std::uint8_t> data(block.begin(), block.end());
    return Send(m_ScsiCommand, Cdb12{vendor_opcode::kBenqSendF9, 0, 0, 0, 0, 0, 0, 0, Byte(data.size()), 0, 0, 0},
                DataDirection::Out, data.data(), static_cast<std::uint32_t>(data.size()), reply);
}

int BenqCommands::BenqReadF8(std::span<std::uint8_t> buffer)
{
    VendorReply reply;
    const auto length = static_cast<std::uint32_t>(buffer.size());
    return Send(m_ScsiCommand,
                Cdb12{vendor_opcode::kBenqReadF8, 0, 0, 0, 0, 0, 0, Byte(length >> 8), Byte(length), 0, 0, 0},
                DataDirection::In, buffer.data(), length, reply);
}

// One parameter block and its answer, together on the channel; the answer
// goes into the buffer the block was written from.
int BenqCommands::Exchange(std::span<std::uint8_t> buffer, std::span<const std::uint8_t> block,
                           std::size_t answerLength)
{
    if (buffer.size() < std::max(block.size(), answerLength))
        return 1;
    const auto lock = m_ScsiCommand.Lock();
    std::copy(block.begin(), block.end(), buffer.begin());
    if (const int sent = BenqSendF9(buffer.first(block.size())); sent != 0)
        return sent;
    return BenqReadF8(buffer.first(answerLength));
}

int BenqCommands::BenqSetSpeed(int code)
{
    std::array<std::uint8_t, 4> buffer{};
    return Exchange(buffer, std::array<std::uint8_t, 4>{0xD2, 0x0A, Byte(code), 0}, 2);
}

int BenqCommands::BenqSetStatisticsMode(std::span<std::uint8_t> buffer, int value)
{
    return Exchange(buffer, std::array<std::uint8_t, 10>{0xC8, 0x99, Byte(value), 0, 0, 0, 0, 0, 0, 0}, 2);
}

int BenqCommands::BenqSetStartAddress(std::span<std::uint8_t> buffer, std::uint32_t address)
{
    return Exchange(
        buffer, std::array<std::uint8_t, 6>{0xD4, 0x91, Byte(address >> 16), Byte(address >> 8), Byte(address), 0}, 2);
}

int BenqCommands::BenqResetAddress(std::span<std::uint8_t> buffer, std::uint32_t address)
{
    return Exchange(
        buffer, std::array<std::uint8_t, 6>{0xD4, 0x18, Byte(address >> 16), Byte(address >> 8), Byte(address), 0}, 2);
}

int BenqCommands::BenqReadErrorStatistics(std::span<std::uint8_t> buffer)
{
    constexpr std::size_t kStatistics = 258;
    if (buffer.size() < kStatistics)
        return 1;
    std::fill(buffer.begin(), buffer.begin() + kStatistics, 0);
    return Exchange(buffer, std::array<std::uint8_t, 4>{0xC1, 0x9A, 0, 0}, kStatistics);
}

int BenqCommands::ReadF0(std::uint8_t mode, std::uint32_t first, std::uint32_t end, std::uint8_t kind,
                         std::span<std::uint8_t> buffer)
{
    constexpr std::size_t kAnswer = 8;
    if (buffer.size() < kAnswer)
        return 1;
    VendorReply reply;
    return Send(m_ScsiCommand,
                Cdb12{vendor_opcode::kBenqReadF0, mode, Byte(first >> 24), Byte(first >> 16), Byte(first >> 8),
                      Byte(first), Byte(end >> 24), Byte(end >> 16), Byte(end >> 8), Byte(end), 0x03, kind},
                DataDirection::In, buffer.data(), kAnswer, reply);
}

int BenqCommands::BenqReadErrorDataF0(std::uint8_t mode, std::uint32_t first, std::uint32_t end,
                                      std::span<std::uint8_t> buffer)
{
    return ReadF0(mode, first, end, 0x04, buffer);
}

int BenqCommands::BenqReadJitterDataF0(std::uint8_t mode, std::uint32_t first, std::uint32_t end,
                                       std::span<std::uint8_t> buffer)
{
    return ReadF0(mode, first, end, 0x00, buffer);
}

bool BenqCommands::IsNewBenqDrive()
{
    const auto lock = m_ScsiCommand.Lock();
    if (BenqSetPowerManagement(true) != 0)
        return false;
    std::vector<std::uint8_t> block(2048, 0);
    VendorReply reply;
    Send(m_ScsiCommand, mmc_cdb::Read10{.blocks = 1}.Block(), DataDirection::In, block.data(),
         static_cast<std::uint32_t>(block.size()), reply);
    if (BenqServiceMode(false) != 0) {
        BenqSetPowerManagement(false);
        return false;
    }
    const bool newer = BenqSetSpeed(2) == 0;
    BenqServiceMode(true);
    BenqSetPowerManagement(false);
    return newer;
}
