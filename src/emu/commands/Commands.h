#pragma once

#include "emu/CommandTable.h"
#include "emu/VendorFamily.h"

#include <array>

namespace emu {

// The MMC command set every emulated drive answers.
const CommandTable& StandardCommands();
// The MMC set and the vendor commands of one maker family.
const CommandTable& CommandsFor(VendorFamily family);

// One registration function per command file.
void RegisterInquiry(CommandTable& table);
void RegisterReadinessCommands(CommandTable& table);
void RegisterModeSense(CommandTable& table);
void RegisterGetConfiguration(CommandTable& table);
void RegisterBlockReads(CommandTable& table);
void RegisterSeek(CommandTable& table);
void RegisterMechanismCommands(CommandTable& table);
void RegisterSpeedCommands(CommandTable& table);
void RegisterDiscInformation(CommandTable& table);
void RegisterDiscStructure(CommandTable& table);
void RegisterFormatting(CommandTable& table);
void RegisterWriting(CommandTable& table);
void RegisterPerformance(CommandTable& table);
void RegisterReadToc(CommandTable& table);
void RegisterReportKey(CommandTable& table);
void RegisterEventStatus(CommandTable& table);
void RegisterSubChannel(CommandTable& table);

// Vendor-unique commands, one file per maker family.
void RegisterNecCommands(CommandTable& table);
void RegisterNuQsiCommands(CommandTable& table);
void RegisterRicohCommands(CommandTable& table);
void RegisterBenqCommands(CommandTable& table);
void RegisterLiteonCommands(CommandTable& table);
void RegisterCyberdriveCommands(CommandTable& table);
void RegisterSamsungCommands(CommandTable& table);
void RegisterIhasCommands(CommandTable& table);
void RegisterPlextorCommands(CommandTable& table);
void RegisterPioneerCommands(CommandTable& table);
void RegisterAopenCommands(CommandTable& table);
void RegisterAopenBookTypeCommands(CommandTable& table);
void RegisterBtcCommands(CommandTable& table);
void RegisterLgCommands(CommandTable& table);

// Whether the CDB carries a family's signature from byte `at` on.
template <std::size_t N>
bool CdbHolds(const CommandContext& command, std::size_t at, const std::array<std::uint8_t, N>& signature)
{
    for (std::size_t i = 0; i < N; ++i)
        if (command.Byte(at + i) != signature[i])
            return false;
    return true;
}

}  // namespace emu
