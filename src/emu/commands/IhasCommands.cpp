#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

enum SubCommand : std::uint8_t { kStart = 0x01, kArm = 0x02, kRead = 0x03, kEnd = 0x0F };
constexpr std::size_t kStartAnswer = 2048;
constexpr std::size_t kAnswer = 8;
constexpr std::uint32_t kSectorsPerRead = 8 * kEccBlockSectors;

void IhasVendorCommand(CommandContext& command)
{
    AnswerF3Session(command, command.drive.vendorSettings.ihas.sessionOpen, false);
}

// The session's CDB: the LBA in bytes 2-5 where the family takes one (else
// zeros), the length byte 8, the rest zero. Other F3h commands (the Nu/QSI
// family's, say) are not the family's own.
bool InSessionForm(const CommandContext& command, bool takesLba)
{
    for (const std::size_t index : {2, 3, 4, 5, 6, 7, 9, 10, 11})
        if (command.Byte(index) != 0 && !(takesLba && index <= 5))
            return false;
    return true;
}

}  // namespace

// F3h: the error-rate session. 01h opens it, 02h arms it (and, where the
// family takes an LBA there, puts the measuring cursor on it), 03h reads the
// counts of the next 128 sectors from the cursor (position in bytes 0-3, PI
// in 4-5, PIF in 6-7, each summed over the eight ECC blocks), 0Fh closes it.
void AnswerF3Session(CommandContext& command, bool& sessionOpen, bool armTakesLba)
{
    const std::uint8_t sub = command.Byte(1);
    if ((sub != kStart && sub != kArm && sub != kRead && sub != kEnd) || !InSessionForm(command, armTakesLba)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    std::vector<std::uint8_t> answer(sub == kStart ? kStartAnswer : kAnswer, 0);
    switch (sub) {
    case kStart: sessionOpen = true; break;
    case kEnd: sessionOpen = false; break;
    case kArm:
    case kRead:
        if (!sessionOpen) {
            command.Fail(sense::kCommandSequenceError);
            return;
        }
        if (sub == kArm && armTakesLba)
            MoveMeasurementTo(command.drive, command.Be32(2));
        if (sub == kRead) {
            const auto measured = MeasureNext(command, kSectorsPerRead);
            if (!measured)
                return;
            scsi::PutBe32(&answer[0], static_cast<std::uint32_t>(measured->position));
            scsi::PutBe16(&answer[4], measured->errors.total.pi);
            scsi::PutBe16(&answer[6], measured->errors.total.pif);
        }
        break;
    default: break;
    }
    command.Answer(answer, answer.size());
}

void RegisterIhasCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kErrorScan, .name = "IHAS VENDOR F3", .cdbLength = 12, .handler = IhasVendorCommand});
}

}  // namespace emu
