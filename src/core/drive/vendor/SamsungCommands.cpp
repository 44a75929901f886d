#include "core/drive/vendor/SamsungCommands.h"

#include "core/base/LogFile.h"
#include "core/drive/MmcCommands.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"

#include <array>

namespace {

using namespace vendor_cdb;

constexpr std::uint32_t kErrorAnswer = 16;

}  // namespace

SamsungCommands::SamsungCommands(CScsiCommand& channel, MmcCommands& mmc) : m_ScsiCommand(channel), m_mmc(mmc)
{
}

VendorReply SamsungCommands::SamsungVendorUnique2B()
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, mmc_cdb::Seek10{}.Block(), DataDirection::None, nullptr, 0, reply);
    return reply;
}

VendorReply SamsungCommands::SamsungReadErrorData(std::uint8_t* buffer, std::uint32_t length)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand, Cdb12{vendor_opcode::kErrorScan, 0x0E, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

VendorReply SamsungCommands::SamsungWriteVerifySuccess(std::uint32_t startLba)
{
    const auto lock = m_ScsiCommand.Lock();
    LogEntry("Started SamsungWriteVerifySuccess()");
    LogEntry("Started SamsungWriteVerifySuccess() 'Testing for presence of media");
    LogEntry("Started SamsungWriteVerifySuccess() 'Sending SEEK command");
    m_mmc.WaitForUnitReady(30);
    m_mmc.Seek(startLba);
    LogEntry("Started SamsungWriteVerifySuccess() Sending Vendor Unique 0x2B command");
    m_mmc.WaitForUnitReady(5);
    VendorReply reply = SamsungVendorUnique2B();
    if (reply.value != 0) {
        LogEntry("Started SamsungWriteVerifySuccess() Command failed");
        reply.value = 0;
        return reply;
    }
    LogEntry("Started SamsungWriteVerifySuccess() Command successful");
    LogEntry("Started SamsungWriteVerifySuccess() Enabling write verify");
    m_mmc.WaitForUnitReady(5);
    std::array<std::uint8_t, kErrorAnswer> answer{};
    reply.Then(SamsungReadErrorData(answer.data(), kErrorAnswer));
    if (reply.value != 0) {
        LogEntry("Ended SamsungWriteVerifySuccess() Command failed");
        reply.value = 0;
        return reply;
    }
    LogEntry("Ended SamsungWriteVerifySuccess() command Successful");
    reply.value = 1;
    return reply;
}
