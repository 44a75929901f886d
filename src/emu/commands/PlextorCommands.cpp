#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cmath>

namespace emu {

namespace {

enum SubCommand : std::uint8_t { kStart = 0x15, kReport = 0x16, kStop = 0x17 };
constexpr std::uint8_t kJitterPass = 0x10;  // byte 2 of the start and the report
enum ErrorKind : std::uint8_t { kCountPie = 0x10, kCountPif = 0x12 };  // start byte 9
constexpr std::size_t kErrorReportLength = 52;
constexpr std::size_t kJitterReportLength = 16;
constexpr std::uint8_t kBookTypePage = 0x22;
constexpr std::size_t kBookTypeAnswer = 8;
// The drive's jitter unit: 11474 to the hundred percent.
constexpr double kJitterUnitsPerTenth = 11474.0 / 1000.0;

void ClearGroup(PlextorSettings& plextor)
{
    plextor.unitSum = 0;
    plextor.unitFill = 0;
    plextor.largestUnit = 0;
    plextor.jitterSum = 0;
    plextor.groupBlocks = 0;
}

// What a pass counts of the ECC blocks the host read: each block once, the
// PIE or PIF count summed per unit, the jitter over the group.
void CountBlocks(DriveState& drive, std::uint64_t lba, std::uint64_t sectors)
{
    PlextorSettings& plextor = drive.vendorSettings.plextor;
    if (plextor.pass == PlextorPass::None || sectors == 0)
        return;
    const ErrorProfile& profile = drive.medium->description.errors;
    const std::uint64_t last = (lba + sectors - 1) / kEccBlockSectors;
    for (std::uint64_t block = lba / kEccBlockSectors; block <= last; ++block) {
        if (static_cast<std::int64_t>(block) == plextor.lastBlock)
            continue;
        plextor.lastBlock = static_cast<std::int64_t>(block);
        const EccBlockErrors errors = profile.Block(block);
        ++plextor.groupBlocks;
        plextor.jitterSum += errors.jitter;
        plextor.unitSum += plextor.pass == PlextorPass::Pif ? errors.pif : errors.pi;
        if (++plextor.unitFill == plextor.unitBlocks) {
            plextor.largestUnit = std::max(plextor.largestUnit, plextor.unitSum);
            plextor.unitSum = 0;
            plextor.unitFill = 0;
        }
    }
}

// READ(10) as every drive reads, and during a pass the sectors it delivered
// are counted.
void PlextorRead10(CommandContext& command)
{
    StandardCommands().Find(mmc::kRead10)->handler(command);
    const std::uint64_t lba = command.Be32(2);
    std::uint64_t delivered = command.Be16(7);
    if (command.Failed())
        delivered = command.Information() && *command.Information() >= lba ? *command.Information() - lba : 0;
    CountBlocks(command.drive, lba, delivered);
}

// EAh 15h: a jitter pass (10h in byte 2), else PIE (10h in byte 9) or PIF
// (12h) counted per unit of byte 8 ECC blocks.
void StartPass(CommandContext& command, PlextorSettings& plextor)
{
    PlextorPass pass = PlextorPass::Jitter;
    if (command.Byte(2) != kJitterPass) {
        if (command.Byte(8) == 0 || (command.Byte(9) != kCountPie && command.Byte(9) != kCountPif)) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        pass = command.Byte(9) == kCountPie ? PlextorPass::Pie : PlextorPass::Pif;
        plextor.unitBlocks = command.Byte(8);
    }
    plextor.pass = pass;
    plextor.lastBlock = -1;
    ClearGroup(plextor);
}

// EAh 16h: the group read since the last report. A PIE or PIF pass gives its
// largest unit count in bytes 36-39 (52 bytes); a jitter pass (10h in byte
// 2) the group's ECC blocks in bytes 10-11 and their mean jitter in the
// drive's units in bytes 12-13 (16 bytes), 0 when it read none.
void Report(CommandContext& command, PlextorSettings& plextor)
{
    const bool jitter = command.Byte(2) == kJitterPass;
    if (plextor.pass == PlextorPass::None || jitter != (plextor.pass == PlextorPass::Jitter)) {
        command.Fail(sense::kCommandSequenceError);
        return;
    }
    std::vector<std::uint8_t> answer(jitter ? kJitterReportLength : kErrorReportLength, 0);
    if (jitter) {
        const double meanTenths = plextor.groupBlocks ? static_cast<double>(plextor.jitterSum) / plextor.groupBlocks
                                                      : 0.0;
        scsi::PutBe16(&answer[10], plextor.groupBlocks);
        scsi::PutBe16(&answer[12], static_cast<std::uint32_t>(std::lround(meanTenths * kJitterUnitsPerTenth)));
    } else {
        const std::uint32_t open = plextor.unitFill ? plextor.unitSum : 0;
        scsi::PutBe32(&answer[36], std::max(plextor.largestUnit, open));
    }
    ClearGroup(plextor);
    command.Answer(answer, command.Byte(10));
}

void PlextorVendorCommand(CommandContext& command)
{
    PlextorSettings& plextor = command.drive.vendorSettings.plextor;
    const std::uint8_t sub = command.Byte(1);
    if (sub == kStop) {
        plextor.pass = PlextorPass::None;
        ClearGroup(plextor);
        return;
    }
    if (sub != kStart && sub != kReport) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    if (sub == kStart)
        StartPass(command, plextor);
    else
        Report(command, plextor);
}

// The kinds of E9h byte 3: their book-type codes.
std::optional<BookKind> BookKindOfCode(std::uint8_t code)
{
    for (const BookKind kind : {BookKind::PlusR, BookKind::PlusRw, BookKind::PlusRDl})
        if (OwnBookType(kind) == code)
            return kind;
    return std::nullopt;
}

// E9h with 22h in byte 2, the kind's book-type code in byte 3: 00h reads
// whether the drive writes that kind as it is (answer byte 2 0) or as
// DVD-ROM (1); 10h sets it from byte 5 (0 as it is, 1 DVD-ROM).
void PlextorBookType(CommandContext& command)
{
    const auto kind = BookKindOfCode(command.Byte(3));
    if (command.Byte(2) != kBookTypePage || !kind) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    switch (command.Byte(1)) {
    case 0x00: {
        std::vector<std::uint8_t> answer(kBookTypeAnswer, 0);
        answer[0] = command.Byte(3);
        answer[2] = books.InUse(*kind) == OwnBookType(*kind) ? 0 : 1;
        command.Answer(answer, command.Byte(9));
        return;
    }
    case 0x10:
        if (command.Byte(5) > 1) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        books.SetDefault(*kind, command.Byte(5) == 1 ? 0 : OwnBookType(*kind));
        return;
    default: command.Fail(sense::kInvalidFieldInCdb); return;
    }
}

}  // namespace

void RegisterPlextorCommands(CommandTable& table)
{
    CommandEntry read = *StandardCommands().Find(mmc::kRead10);
    read.handler = PlextorRead10;
    table.Register(read);
    table.Register({.opcode = vendor_opcode::kPlextor,
                    .name = "PLEXTOR VENDOR EA",
                    .cdbLength = 12,
                    .handler = PlextorVendorCommand});
    table.Register({.opcode = vendor_opcode::kPlextorBookType,
                    .name = "PLEXTOR VENDOR E9",
                    .cdbLength = 12,
                    .handler = PlextorBookType});
}

}  // namespace emu
