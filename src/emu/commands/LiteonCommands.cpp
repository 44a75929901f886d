#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <iterator>

namespace emu {

namespace {

constexpr std::size_t kAnswerLength = 128;
constexpr std::size_t kJitterAnswerLength = 12;
enum BookTypeFunction : std::uint8_t { kRead = 0x00, kSet = 0x01, kStatus10 = 0x10, kStatus20 = 0x20 };
// The book-type choices of DVD+R and DVD+R DL: 0 as the disc is, 1 DVD-ROM,
// 2 DVD+RW.
constexpr std::uint8_t kChoiceBooks[] = {0, 0, 9};

std::uint8_t ChoiceOf(const BookTypeSettings& books)
{
    const std::uint8_t book = books.InUse(BookKind::PlusR);
    if (book == OwnBookType(BookKind::PlusR))
        return 0;
    return book == kChoiceBooks[2] ? 2 : 1;
}

// DFh 1Bh 82h 01h: the jitter of the sectors from bytes 4-7 on, as many as
// bytes 8-11 say, in tenths of a percent in answer bytes 8-11; only the
// models that measure jitter take it.
void ReadJitter(CommandContext& command)
{
    const LiteonSettings& liteon = command.drive.vendorSettings.liteon;
    if (!liteon.measuresJitter || command.Byte(3) != 0x01) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    DriveState& drive = command.drive;
    const std::uint32_t first = command.Be32(4);
    const std::uint32_t count = command.Be32(8);
    drive.SpendReadTime(first, count);
    std::vector<std::uint8_t> answer(kJitterAnswerLength, 0);
    answer[0] = liteon.jitterProbe;
    scsi::PutBe32(&answer[8], MeasureSectors(drive.medium->description.errors, first, count).total.jitter);
    command.Answer(answer, kJitterAnswerLength);
}

// DFh 1Bh: the jitter read (82h), else the probe of the book-type dialogs.
// DFh 00h 0Fh: the book-type function in byte 3 (read, set to byte 4, or one
// of two status words in answer bytes 2-3).
void LiteonVendorCommand(CommandContext& command)
{
    const LiteonSettings& liteon = command.drive.vendorSettings.liteon;
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    if (command.Byte(1) == 0x1B && command.Byte(2) == 0x82) {
        ReadJitter(command);
        return;
    }
    if (command.Byte(1) == 0x1B) {
        answer[0] = liteon.jitterProbe;
        command.Answer(answer, kAnswerLength);
        return;
    }
    if (command.Byte(1) != 0x00 || command.Byte(2) != 0x0F) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    switch (command.Byte(3)) {
    case kRead: answer[0] = ChoiceOf(command.drive.vendorSettings.bookTypes); break;
    case kSet:
        if (command.Byte(4) >= std::size(kChoiceBooks)) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        for (const BookKind kind : {BookKind::PlusR, BookKind::PlusRDl})
            command.drive.vendorSettings.bookTypes.SetDefault(
                kind, command.Byte(4) == 0 ? OwnBookType(kind) : kChoiceBooks[command.Byte(4)]);
        return;
    case kStatus10: scsi::PutBe16(&answer[2], liteon.status10); break;
    case kStatus20: scsi::PutBe16(&answer[2], liteon.status20); break;
    default: command.Fail(sense::kInvalidFieldInCdb); return;
    }
    command.Answer(answer, kAnswerLength);
}

}  // namespace

void RegisterLiteonCommands(CommandTable& table)
{
    table.Register({.opcode = vendor_opcode::kLiteon,
                    .name = "LITE-ON VENDOR DF",
                    .cdbLength = 12,
                    .handler = LiteonVendorCommand});
    // The scan's error read, as the Samsung family answers it.
    table.Register({.opcode = vendor_opcode::kErrorScan,
                    .name = "LITE-ON VENDOR F3",
                    .cdbLength = 12,
                    .handler = ReadEccBlockErrors});
}

}  // namespace emu
