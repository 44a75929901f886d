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

// F3h: the error-rate session. 01h opens it, 02h arms it, 03h reads the
// counts of the next 128 sectors (position in bytes 0-3, PI in 4-5, PIF in
// 6-7, each summed over the eight ECC blocks), 0Fh closes it.
void IhasVendorCommand(CommandContext& command)
{
    IhasSettings& ihas = command.drive.vendorSettings.ihas;
    const std::uint8_t sub = command.Byte(1);
    if (sub != kStart && sub != kArm && sub != kRead && sub != kEnd) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    std::vector<std::uint8_t> answer(sub == kStart ? kStartAnswer : kAnswer, 0);
    switch (sub) {
    case kStart: ihas.sessionOpen = true; break;
    case kEnd: ihas.sessionOpen = false; break;
    case kArm:
    case kRead:
        if (!ihas.sessionOpen) {
            command.Fail(sense::kCommandSequenceError);
            return;
        }
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

}  // namespace

void RegisterIhasCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kErrorScan, .name = "IHAS VENDOR F3", .cdbLength = 12, .handler = IhasVendorCommand});
}

}  // namespace emu
