#include "core/drive/vendor/IhasCommands.h"

#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"

#include <vector>

namespace {

using namespace vendor_cdb;

constexpr int kArm = 0x02;
constexpr int kRead = 0x03;

}  // namespace

IhasCommands::IhasCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply IhasCommands::VendorF3Read(std::uint8_t* buffer, int subCommand, std::uint32_t length)
{
    VendorReply reply;
    reply.value = Send(m_ScsiCommand,
                       Cdb12{vendor_opcode::kErrorScan, Byte(subCommand), 0, 0, 0, 0, 0, 0,
                             Byte(subCommand == kArm ? 0x08 : 0), 0, 0, 0},
                       DataDirection::In, buffer, length, reply);
    return reply;
}

VendorReply IhasCommands::ProbeF3Subcommands()
{
    struct Step {
        int subCommand;
        std::uint32_t length;
    };
    constexpr Step kSession[] = {{0x01, 2048}, {kArm, 8}, {kRead, 8}, {0x0F, 8}};
    const auto lock = m_ScsiCommand.Lock();
    std::vector<std::uint8_t> buffer(2048, 0);
    VendorReply reply;
    bool readTaken = false;
    for (const Step& step : kSession) {
        reply.Then(VendorF3Read(buffer.data(), step.subCommand, step.length));
        if (step.subCommand == kRead)
            readTaken = reply.value == 0;
    }
    reply.value = readTaken ? 1 : 0;
    return reply;
}
