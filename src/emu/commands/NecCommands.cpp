#include "emu/commands/BookTypes.h"
#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

namespace emu {

namespace {

enum SubCommand : std::uint8_t {
    kWriteDefault = 0x01,
    kReadSetting = 0x02,
    kWriteTemporary = 0x03,
    kSelectSetting = 0x04,
};
constexpr std::size_t kAnswerLength = 20;
constexpr BookKind kKinds[3] = {BookKind::PlusR, BookKind::PlusRw, BookKind::PlusRDl};

// Whether the firmware's command version has settings of a kind (0 DVD+R, 1
// DVD+RW, 2 DVD+R DL), and a temporary one.
bool VersionHas(const NecSettings& nec, std::uint8_t kind, bool temporary)
{
    switch (kind) {
    case 2: return nec.commandVersion >= (temporary ? 2 : 1);
    case 0: return nec.commandVersion >= 3;
    case 1: return nec.commandVersion >= 4;
    default: return false;
    }
}

// C9h 02h: the book-type byte of a medium kind (byte 2) from flash (byte 9
// 0) or the temporary setting (1), with the command version in answer bytes
// 2-3 and the flash writes the drive still allows in 4-5.
void ReadSetting(CommandContext& command, std::uint8_t kind)
{
    const std::uint8_t selector = command.Byte(9);
    const NecSettings& nec = command.drive.vendorSettings.nec;
    if (command.Byte(3) != 0x01 || selector > 1 || (kind != 2 && !VersionHas(nec, kind, selector == 1))) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const BookTypeSetting& setting = command.drive.vendorSettings.bookTypes[kKinds[kind]];
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    answer[1] = static_cast<std::uint8_t>((selector == 1 ? setting.temporaryBook : setting.defaultBook) << 4);
    scsi::PutBe16(&answer[2], nec.commandVersion);
    scsi::PutBe16(&answer[4], nec.flashWritesLeft);
    command.Answer(answer, kAnswerLength);
}

// C9h 01h / 03h: the book-type byte (byte 3) of a kind (byte 2) written to
// flash, which wears it, or as the temporary setting the drive then uses;
// C9h 04h: byte 9 chooses the temporary (0) or the flash setting (1).
void WriteSetting(CommandContext& command, std::uint8_t subCommand, std::uint8_t kind)
{
    NecSettings& nec = command.drive.vendorSettings.nec;
    BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    const bool temporary = subCommand != kWriteDefault;
    if (kind > 2 || !VersionHas(nec, kind, temporary)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (subCommand == kSelectSetting) {
        if (command.Byte(9) > 1) {
            command.Fail(sense::kInvalidFieldInCdb);
            return;
        }
        books[kKinds[kind]].useTemporary = command.Byte(9) == 0;
        return;
    }
    const auto book = BookTypeOfByte(command.Byte(3));
    if (!book) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (temporary) {
        books.SetTemporary(kKinds[kind], *book);
        return;
    }
    if (nec.flashWritesLeft == 0) {
        command.Fail(sense::kSavingNotSupported);
        return;
    }
    --nec.flashWritesLeft;
    books.SetDefault(kKinds[kind], *book);
}

void NecVendorCommand(CommandContext& command)
{
    if (!CdbHolds(command, 4, vendor_signature::kNec)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const std::uint8_t kind = command.Byte(2);
    switch (const std::uint8_t subCommand = command.Byte(1)) {
    case kReadSetting:
        if (kind > 2)
            break;
        ReadSetting(command, kind);
        return;
    case kWriteDefault:
    case kWriteTemporary:
    case kSelectSetting: WriteSetting(command, subCommand, kind); return;
    default: break;
    }
    command.Fail(sense::kInvalidFieldInCdb);
}

// F3h: the error-rate session of firmware 2R8 on, with the measuring cursor
// set by 02h's LBA; older firmware knows no F3h.
void NecErrorScan(CommandContext& command)
{
    NecSettings& nec = command.drive.vendorSettings.nec;
    if (!nec.errorRateCommands) {
        command.Fail(sense::kInvalidOpcode);
        return;
    }
    AnswerF3Session(command, nec.sessionOpen, true);
}

}  // namespace

void RegisterNecCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kErrorScan, .name = "NEC VENDOR F3", .cdbLength = 12, .handler = NecErrorScan});
    table.Register(
        {.opcode = vendor_opcode::kNec, .name = "NEC VENDOR C9", .cdbLength = 10, .handler = NecVendorCommand});
}

}  // namespace emu
