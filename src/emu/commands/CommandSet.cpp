#include "emu/commands/Commands.h"

#include <map>
#include <vector>

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
        RegisterSeek(commands);
        RegisterMechanismCommands(commands);
        RegisterSpeedCommands(commands);
        RegisterDiscInformation(commands);
        RegisterDiscStructure(commands);
        RegisterFormatting(commands);
        RegisterWriting(commands);
        RegisterPerformance(commands);
        RegisterReadToc(commands);
        RegisterReportKey(commands);
        RegisterEventStatus(commands);
        RegisterSubChannel(commands);
        return commands;
    }();
    return table;
}

namespace {

using Registration = void (*)(CommandTable&);

struct FamilyCommands {
    VendorFamily family;
    std::vector<Registration> registrations;  // in order: a later one replaces an opcode
};

// The vendor command files of each maker family. The families without any
// here are known by their identity alone so far.
const std::vector<FamilyCommands>& FamilyCommandFiles()
{
    static const std::vector<FamilyCommands> files = {
        {VendorFamily::None, {}},
        {VendorFamily::Nec, {RegisterNecCommands}},
        {VendorFamily::NuQsi, {RegisterNuQsiCommands}},
        {VendorFamily::Ricoh, {RegisterRicohCommands}},
        {VendorFamily::Benq, {RegisterBenqCommands}},
        {VendorFamily::Liteon, {RegisterLiteonCommands}},
        {VendorFamily::Btc, {RegisterBtcCommands}},
        {VendorFamily::Cyberdrive, {RegisterCyberdriveCommands}},
        {VendorFamily::Pioneer, {RegisterPioneerCommands}},
        {VendorFamily::Aopen, {RegisterAopenCommands, RegisterAopenBookTypeCommands}},
        {VendorFamily::Plextor, {RegisterPlextorCommands}},
        {VendorFamily::Samsung, {RegisterSamsungCommands}},
        {VendorFamily::Ihas, {RegisterNecCommands, RegisterIhasCommands}},
        {VendorFamily::Lg, {RegisterLgCommands}},
    };
    return files;
}

std::map<VendorFamily, CommandTable> BuildFamilyTables()
{
    std::map<VendorFamily, CommandTable> tables;
    for (const FamilyCommands& files : FamilyCommandFiles()) {
        CommandTable commands = StandardCommands();
        for (const Registration registration : files.registrations)
            registration(commands);
        tables.emplace(files.family, std::move(commands));
    }
    return tables;
}

}  // namespace

const CommandTable& CommandsFor(VendorFamily family)
{
    static const std::map<VendorFamily, CommandTable> tables = BuildFamilyTables();
    const auto found = tables.find(family);
    return found != tables.end() ? found->second : StandardCommands();
}

}  // namespace emu
