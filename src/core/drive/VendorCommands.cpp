#include "core/app/LogFile.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/DriveContext.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <array>
#include <span>
#include <vector>

namespace {

// A vendor CDB from byte 0 to its last byte, which is always sent so that
// the CDB goes out with its full length.
template <std::size_t N>
using Cdb = std::array<std::uint8_t, N>;
using Cdb10 = Cdb<10>;
using Cdb12 = Cdb<12>;

std::uint8_t Byte(int value)
{
    return static_cast<std::uint8_t>(value);
}

// Sends one CDB. A command that never reached the drive is noted in the
// reply (the first such one of a sequence).
int Send(CScsiCommand& channel, std::span<const std::uint8_t> cdb, DataDirection direction, void* buffer,
         std::uint32_t length, VendorReply& reply)
{
    CommandBlock block(cdb[0], cdb.size());
    for (std::size_t index = 1; index < cdb.size(); ++index)
        block.Set(index, cdb[index]);
    const auto lock = channel.Lock();  // the error stays the command's until it is read
    const int result = block.Execute(channel, direction, buffer, length);
    if (result != 0 && channel.LastError() != PassThroughError::None && reply.error == PassThroughError::None) {
        reply.error = channel.LastError();
        reply.reason = channel.LastErrorText();
    }
    return result;
}

// Reads an answer of `length` bytes into a zeroed buffer: -1 when refused,
// else what `pick` takes from it.
template <class Pick>
void Query(CScsiCommand& channel, std::span<const std::uint8_t> cdb, std::size_t length, VendorReply& reply, Pick pick)
{
    std::vector<std::uint8_t> answer(length, 0);
    reply.value = Send(channel, cdb, DataDirection::In, answer.data(), static_cast<std::uint32_t>(length), reply) == 0
        ? pick(answer)
        : -1;
}

Cdb10 NecCdb(int mediaSelector, int settingSelector)
{
    using vendor_signature::kNec;
    return {0xC9, 0x02, Byte(mediaSelector), 0x01, kNec[0], kNec[1], kNec[2], kNec[3], kNec[4], Byte(settingSelector)};
}

Cdb12 BenqServiceCdb(std::uint8_t subCommand, std::uint8_t byte6 = 0, std::uint8_t byte7 = 0, std::uint8_t byte8 = 0)
{
    using vendor_signature::kBenq;
    return {0xFD, subCommand, kBenq[0], kBenq[1], kBenq[2], kBenq[3], byte6, byte7, byte8, 0, 0, 0};
}

constexpr std::uint8_t kServiceModeOn = 0xF1;
constexpr std::uint8_t kServiceModeOff = 0xF2;

// BenQ service mode on or off: no data, the channel's result.
int ServiceMode(CScsiCommand& channel, std::uint8_t onOrOff, VendorReply& reply)
{
    return Send(channel, BenqServiceCdb(onOrOff), DataDirection::None, nullptr, 0, reply);
}
constexpr std::size_t kNecAnswer = 20;
constexpr std::size_t kLongAnswer = 128;
constexpr std::size_t kBenqAnswer = 2048;

// Drives whose identity takes the FAh and FDh commands for something else.
bool IsPioneerWriter(const CDevice* device)
{
    return device && (device->IdentityBeginsWith("PIONEER DVD-RW") || device->IdentityBeginsWith("PIODATA DVD-RW"));
}

// FAh 00h / 10h, asked only of drives that write the format and are no
// Pioneer writers.
VendorReply RicohQuery(CScsiCommand& channel, const CDevice* device, std::uint8_t kind, bool writesFormat)
{
    VendorReply reply;
    if (writesFormat && !IsPioneerWriter(device))
        Query(channel, Cdb10{0xFA, kind, 0, 0, 0, 0, 0, 0, 0x06, 0}, 6, reply,
              [](const auto& answer) { return answer[4] & 0xF0; });
    return reply;
}

}  // namespace

VendorReply DriveContext::NecQueryCounterA()
{
    VendorReply reply;
    Query(m_ScsiCommand, NecCdb(2, 0), kNecAnswer, reply,
          [](const auto& answer) { return int{scsi::GetBe16(&answer[2])}; });
    return reply;
}

VendorReply DriveContext::NecQueryCounterB()
{
    VendorReply reply;
    Query(m_ScsiCommand, NecCdb(2, 0), kNecAnswer, reply,
          [](const auto& answer) { return int{scsi::GetBe16(&answer[4])}; });
    return reply;
}

VendorReply DriveContext::NecQueryBookType(int settingSelector, int mediaSelector)
{
    VendorReply reply;
    Query(m_ScsiCommand, NecCdb(mediaSelector, settingSelector), kNecAnswer, reply,
          [](const auto& answer) { return int{answer[1]}; });
    return reply;
}

VendorReply DriveContext::NuQsiQueryF30E()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{0xF3, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}, kLongAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply DriveContext::QueryNuQsiStatus()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{0xF3, 0x0F, 0x02, 0, 0, 0, 0x07, 0, 0x08, 0, 0, 0}, kLongAnswer, reply,
          [](const auto& answer) { return int{answer[6]}; });
    return reply;
}

VendorReply DriveContext::RicohQueryBookType00()
{
    const CDevice* device = m_pCurrentDevice;
    return RicohQuery(m_ScsiCommand, device, 0x00, device && device->m_bDvdPlusRwWrite);
}

VendorReply DriveContext::RicohQueryBookType10()
{
    const CDevice* device = m_pCurrentDevice;
    return RicohQuery(m_ScsiCommand, device, 0x10, device && (device->m_bDvdPlusRwWrite || device->m_bDvdPlusRWrite));
}

int DriveContext::BenqSignatureF1()
{
    VendorReply ignored;
    return ServiceMode(m_ScsiCommand, kServiceModeOn, ignored);
}

int DriveContext::BenqSignatureF2()
{
    VendorReply ignored;
    return ServiceMode(m_ScsiCommand, kServiceModeOff, ignored);
}

// The protected commands run between service mode on and off; the drive is
// taken out of service mode whatever the command in between did.
VendorReply DriveContext::BenqQueryBookType(std::uint8_t kind)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    ServiceMode(m_ScsiCommand, kServiceModeOn, reply);
    Query(m_ScsiCommand, Cdb12{0xFF, kind, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, kBenqAnswer, reply,
          [](const auto& answer) { return (answer[0] >> 4) & 0x0F; });
    ServiceMode(m_ScsiCommand, kServiceModeOff, reply);
    return reply;
}

VendorReply DriveContext::BenqQueryBookType00()
{
    return BenqQueryBookType(0x00);
}

VendorReply DriveContext::BenqQueryBookType10()
{
    return BenqQueryBookType(0x10);
}

VendorReply DriveContext::BenqSet(std::uint8_t selector, std::uint8_t value, bool withData)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    std::vector<std::uint8_t> data(withData ? kBenqAnswer : 0, 0);
    ServiceMode(m_ScsiCommand, kServiceModeOn, reply);
    reply.value = Send(m_ScsiCommand, Cdb12{0xFE, selector, value, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                       withData ? DataDirection::Out : DataDirection::None, withData ? data.data() : nullptr,
                       static_cast<std::uint32_t>(data.size()), reply);
    ServiceMode(m_ScsiCommand, kServiceModeOff, reply);
    return reply;
}

VendorReply DriveContext::BenqSetBookTypeData(int selector, int value)
{
    return BenqSet(Byte(selector), Byte(value), true);
}

VendorReply DriveContext::BenqSetBookType(int selector, int value)
{
    return BenqSet(Byte(selector), Byte(value), false);
}

VendorReply DriveContext::VendorProbeFF09()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    std::vector<std::uint8_t> answer(8, 0);
    const auto read = [&](std::uint8_t sub, std::uint8_t b2) {
        std::fill(answer.begin(), answer.end(), 0);
        return Send(m_ScsiCommand, Cdb12{0xFF, sub, b2, 0, 0, 0, 0, 0, 0, 0, 0, 0xAA}, DataDirection::In, answer.data(),
                    static_cast<std::uint32_t>(answer.size()), reply);
    };
    Send(m_ScsiCommand, Cdb12{0xFF, 0x06, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0xAA}, DataDirection::None, nullptr, 0, reply);
    read(0x06, 0x10);
    Send(m_ScsiCommand, Cdb12{0xFF, 0x06, 0x12, 0, 0, 0, 1, 0, 0, 0, 0, 0xAA}, DataDirection::None, nullptr, 0, reply);
    read(0x10, 0x00);
    reply.value = read(0x09, 0x00) == 0 ? answer[1] : -1;
    return reply;
}

// The Lite-On commands wait for the unit first (a loading disc would refuse them).
void DriveContext::WaitBeforeLiteonCommand()
{
    WaitForUnitReady(30);
}

VendorReply DriveContext::LiteonSetBookType(int selector, int value)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    WaitBeforeLiteonCommand();
    reply.value = Send(m_ScsiCommand, Cdb12{0xDF, 0x00, 0x0F, Byte(selector), Byte(value), 0, 0, 0x80, 0, 0, 0, 0},
                       DataDirection::None, nullptr, 0, reply);
    return reply;
}

VendorReply DriveContext::LiteonProbeDF1B()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply;
    WaitBeforeLiteonCommand();
    Query(m_ScsiCommand, Cdb12{0xDF, 0x1B, 0, 0x02, 0, 0x03, 0x02, 0, 0, 0, 0x02, 0}, kLongAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply DriveContext::LiteonQueryBookType()
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply = LiteonProbeDF1B();
    WaitBeforeLiteonCommand();
    Query(m_ScsiCommand, Cdb12{0xDF, 0x00, 0x0F, 0, 0, 0, 0, 0x80, 0, 0, 0, 0}, kLongAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply DriveContext::LiteonStatus(std::uint8_t which)
{
    const auto lock = m_ScsiCommand.Lock();
    VendorReply reply = LiteonProbeDF1B();
    WaitBeforeLiteonCommand();
    Query(m_ScsiCommand, Cdb12{0xDF, 0x00, 0x0F, which, 0, 0, 0, 0x80, 0, 0, 0, 0}, kLongAnswer, reply,
          [](const auto& answer) { return answer[2] != 0 || answer[3] != 0 ? 1 : 0; });
    return reply;
}

VendorReply DriveContext::GetVendorStatusDF10()
{
    return LiteonStatus(0x10);
}

VendorReply DriveContext::GetVendorStatusDF20()
{
    return LiteonStatus(0x20);
}

// A drive that refuses any step is not capable, and one that entered service
// mode is always taken out of it again.
VendorReply DriveContext::DetectForSolidBurn()
{
    LogEntry("Start DetectForSolidBurn()");
    VendorReply reply;
    reply.value = 0;
    const CDevice* device = m_pCurrentDevice;
    if (IsPioneerWriter(device)
        || (device && (device->IdentityBeginsWith("ATAPI   DVD DD") || device->IdentityBeginsWith("BENQ"))))
        return reply;
    const auto lock = m_ScsiCommand.Lock();
    if (Send(m_ScsiCommand, BenqServiceCdb(0x11), DataDirection::None, nullptr, 0, reply) != 0
        || Send(m_ScsiCommand, BenqServiceCdb(0x12), DataDirection::None, nullptr, 0, reply) != 0
        || ServiceMode(m_ScsiCommand, kServiceModeOn, reply) != 0)
        return reply;
    std::vector<std::uint8_t> answer(12, 0);
    const int read = Send(m_ScsiCommand, BenqServiceCdb(0x1B, 0x16, 0x01, 0x04), DataDirection::In, answer.data(),
                          static_cast<std::uint32_t>(answer.size()), reply);
    const int left = ServiceMode(m_ScsiCommand, kServiceModeOff, reply);
    reply.value = read == 0 && left == 0 ? 1 : 0;
    return reply;
}
