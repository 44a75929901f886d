#include "emu/commands/Commands.h"

namespace emu {

const CommandTable& StandardCommands()
{
    static const CommandTable table = [] {
        CommandTable commands;
        RegisterInquiry(commands);
        RegisterReadinessCommands(commands);
        RegisterModeSense(commands);
        RegisterGetConfiguration(commands);
        RegisterBlockReads(commands);
        RegisterMechanismCommands(commands);
        RegisterSpeedCommands(commands);
        RegisterDiscInformation(commands);
        RegisterDiscStructure(commands);
        RegisterFormatting(commands);
        RegisterPerformance(commands);
        RegisterReadToc(commands);
        return commands;
    }();
    return table;
}

} // namespace emu
