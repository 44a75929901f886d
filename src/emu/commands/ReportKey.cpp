#include "scsi/Profiles.h"
#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::uint8_t kRpcStateFormat = 0x08;

bool ReadsDvd(const DriveIdentity& drive)
{
    return std::find(drive.profiles.begin(), drive.profiles.end(), profile::kDvdRom) != drive.profiles.end();
}

// Only the RPC state is kept: the key exchanges of content protection need a
// licensed disc and are refused as an invalid field.
void ReportKey(CommandContext& command)
{
    const DriveIdentity& drive = command.drive.identity;
    if (!ReadsDvd(drive)) {
        command.Fail(sense::kInvalidOpcode);
        return;
    }
    if ((command.Byte(10) & 0x3F) != kRpcStateFormat || command.Byte(7) != 0) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const RegionState& region = drive.region;
    std::vector<std::uint8_t> answer(8, 0);
    answer[1] = 6;  // data length after these two bytes
    answer[4] = static_cast<std::uint8_t>(((region.typeCode & 0x03) << 6) | ((region.vendorResetsLeft & 0x07) << 3)
                                          | (region.userChangesLeft & 0x07));
    answer[5] = region.regionMask;
    answer[6] = region.rpcScheme;
    command.Answer(answer, command.Be16(8));
}

}  // namespace

void RegisterReportKey(CommandTable& table)
{
    table.Register({.opcode = mmc::kReportKey, .name = "REPORT KEY", .cdbLength = 12, .handler = ReportKey});
}

}  // namespace emu
