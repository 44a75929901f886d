#include "core/drive/vendor/NuQsiCommands.h"

#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"

namespace {

using namespace vendor_cdb;

constexpr std::size_t kNuQsiAnswer = 128;

}  // namespace

NuQsiCommands::NuQsiCommands(CScsiCommand& channel) : m_ScsiCommand(channel)
{
}

VendorReply NuQsiCommands::NuQsiQueryF30E()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}, kNuQsiAnswer, reply,
          [](const auto& answer) { return int{answer[0]}; });
    return reply;
}

VendorReply NuQsiCommands::QueryNuQsiStatus()
{
    VendorReply reply;
    Query(m_ScsiCommand, Cdb12{vendor_opcode::kNuQsi, 0x0F, 0x02, 0, 0, 0, 0x07, 0, 0x08, 0, 0, 0}, kNuQsiAnswer, reply,
          [](const auto& answer) { return int{answer[6]}; });
    return reply;
}
