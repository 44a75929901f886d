#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Opcodes.h"

namespace emu {

void RegisterSamsungCommands(CommandTable& table)
{
    table.Register({.opcode = vendor_opcode::kErrorScan,
                    .name = "SAMSUNG VENDOR F3",
                    .cdbLength = 12,
                    .handler = ReadEccBlockErrors});
}

}  // namespace emu
