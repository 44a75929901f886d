#pragma once

#include "emu/CommandTable.h"

namespace emu {

// The command set of every emulated drive.
const CommandTable& StandardCommands();

// One registration function per command file.
void RegisterInquiry(CommandTable& table);
void RegisterReadinessCommands(CommandTable& table);
void RegisterModeSense(CommandTable& table);
void RegisterGetConfiguration(CommandTable& table);
void RegisterBlockReads(CommandTable& table);
void RegisterMechanismCommands(CommandTable& table);
void RegisterSpeedCommands(CommandTable& table);
void RegisterDiscInformation(CommandTable& table);
void RegisterDiscStructure(CommandTable& table);
void RegisterFormatting(CommandTable& table);
void RegisterPerformance(CommandTable& table);
void RegisterReadToc(CommandTable& table);

} // namespace emu
