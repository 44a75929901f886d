#include "emu/commands/BookTypes.h"
#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

namespace emu {

namespace {

constexpr std::size_t kSettingBytes = 4;
constexpr std::uint8_t kPlusAsItIs = 0xA0;  // byte 0: DVD+R and DVD+RW
constexpr std::uint8_t kDualLayerAsItIs = 0xE0;  // byte 1: DVD+R DL

// The setting byte of a kind: its own book type, or 00h for DVD-ROM.
std::uint8_t SettingByte(const BookTypeSettings& books, BookKind kind, std::uint8_t asItIs)
{
    return books.InUse(kind) == OwnBookType(kind) ? asItIs : 0x00;
}

// FAh 00h: the two setting bytes (A0h or 00h for DVD+R and DVD+RW, E0h or
// 00h for DVD+R DL), cut to byte 8's length.
void LgReadBookType(CommandContext& command)
{
    if (command.Byte(1) != 0x00) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    const std::vector<std::uint8_t> answer = {SettingByte(books, BookKind::PlusR, kPlusAsItIs),
                                              SettingByte(books, BookKind::PlusRDl, kDualLayerAsItIs), 0, 0};
    command.Answer(answer, command.Byte(8));
}

// FCh 00h with the signature in bytes 2-5: the 4-byte block of byte 8 sets
// both setting bytes.
void LgWriteBookType(CommandContext& command)
{
    if (command.Byte(1) != 0x00 || !CdbHolds(command, 2, vendor_signature::kLgBookType)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!command.TransferIs(command.Byte(8)))
        return;
    std::size_t length = 0;
    const std::uint8_t* block = command.DataOut(length);
    if (!block || length < kSettingBytes || command.Byte(8) < kSettingBytes) {
        command.Fail(sense::kParameterListLengthError);
        return;
    }
    const bool plusValid = block[0] == kPlusAsItIs || block[0] == 0x00;
    const bool dualLayerValid = block[1] == kDualLayerAsItIs || block[1] == 0x00;
    if (!plusValid || !dualLayerValid) {
        command.Fail(sense::kInvalidFieldInParameterList);
        return;
    }
    BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    for (const BookKind kind : {BookKind::PlusR, BookKind::PlusRw})
        books.SetDefault(kind, block[0] == kPlusAsItIs ? OwnBookType(kind) : 0);
    books.SetDefault(BookKind::PlusRDl, block[1] == kDualLayerAsItIs ? OwnBookType(BookKind::PlusRDl) : 0);
}

}  // namespace

void RegisterLgCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kLgBookTypeRead, .name = "LG VENDOR FA", .cdbLength = 12, .handler = LgReadBookType});
    table.Register({.opcode = vendor_opcode::kLgBookTypeWrite,
                    .name = "LG VENDOR FC",
                    .cdbLength = 12,
                    .handler = LgWriteBookType});
}

}  // namespace emu
