#include "core/drive/vendor/RicohCommands.h"

#include "core/drive/Device.h"
#include "core/drive/vendor/VendorCdb.h"
#include "scsi/Opcodes.h"

namespace {

using namespace vendor_cdb;

constexpr std::size_t kRicohAnswer = 6;

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
