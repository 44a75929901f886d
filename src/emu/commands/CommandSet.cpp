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
        RegisterReportKey(commands);
        RegisterEventStatus(commands);
        return commands;
    }();
    return table;
}

namespace {

CommandTable WithFamily(void (*registerFamily)(CommandTable&))
{
    CommandTable commands = StandardCommands();
    registerFamily(commands);
    return commands;
}

}  // namespace

const CommandTable& CommandsFor(VendorFamily family)
{
    static const CommandTable nec = WithFamily(RegisterNecCommands);
    static const CommandTable nuQsi = WithFamily(RegisterNuQsiCommands);
    static const CommandTable ricoh = WithFamily(RegisterRicohCommands);
    static const CommandTable benq = WithFamily(RegisterBenqCommands);
    static const CommandTable liteon = WithFamily(RegisterLiteonCommands);
    switch (family) {
    case VendorFamily::Nec: return nec;
    case VendorFamily::NuQsi: return nuQsi;
    case VendorFamily::Ricoh: return ricoh;
    case VendorFamily::Benq: return benq;
    case VendorFamily::Liteon: return liteon;
    case VendorFamily::None: break;
    }
    return StandardCommands();
}

}  // namespace emu
