#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

constexpr std::uint8_t kCatalogNumberFormat = 0x02;
constexpr std::size_t kCatalogDataLength = 20;

// READ SUB-CHANNEL: the media catalogue number from the Q sub-channel (data
// format 02h). Without SubQ only the header comes.
void ReadSubChannel(CommandContext& command)
{
    const bool subQ = command.Byte(2) & 0x40;
    const std::uint8_t format = command.Byte(3);
    const MediumDescription& disc = command.drive.medium->description;
    if (disc.family != MediumFamily::Cd) {
        command.Fail(sense::kIncompatibleFormat);
        return;
    }
    if (subQ && format != kCatalogNumberFormat) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    std::vector<std::uint8_t> answer(4, 0);
    answer[1] = 0x15;  // no audio status to report
    if (subQ) {
        answer.resize(4 + kCatalogDataLength, 0);
        answer[4] = kCatalogNumberFormat;
        if (disc.catalogNumber.size() == 13) {
            answer[8] = 0x80;  // MCVal
            for (std::size_t i = 0; i < 13; ++i)
                answer[9 + i] = static_cast<std::uint8_t>(disc.catalogNumber[i]);
        }
        scsi::PutBe16(&answer[2], static_cast<std::uint32_t>(kCatalogDataLength));
    }
    command.Answer(answer, command.Be16(7));
}

}  // namespace

void RegisterSubChannel(CommandTable& table)
{
    table.Register({.opcode = mmc::kReadSubChannel,
                    .name = "READ SUB-CHANNEL",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = ReadSubChannel});
}

}  // namespace emu
