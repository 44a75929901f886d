#include "emu/commands/BookTypes.h"
#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

constexpr std::size_t kRicohAnswer = 6;
constexpr std::size_t kAopenAnswer = 2048;
constexpr std::uint8_t kBytesForFlash = 0xFF;  // byte 3 of a set whose target has bit 2

// How a family of this command set writes a book type into its setting
// bytes, and what its set targets mean: bit 4 the DVD+R default, bit 1 the
// DVD+RW in the drive, any other the DVD+RW default.
struct SettingCodec {
    std::uint8_t (*encode)(std::uint8_t book);
    std::optional<std::uint8_t> (*decode)(std::uint8_t value);
    // The drive writes a DVD+RW with its DVD+RW setting, which it sets first.
    bool mediumTakesDefault;
};

std::uint8_t RicohEncode(std::uint8_t book)
{
    return static_cast<std::uint8_t>(book << 4);
}

// The AOpen values: 9Fh DVD+RW, AFh DVD+R, 4Fh DVD-RW, 3Fh DVD-R, 0Fh DVD-ROM.
// clang-format off
struct AopenValue { std::uint8_t value; std::uint8_t book; };
constexpr AopenValue kAopenValues[] = {{0x9F, 9}, {0xAF, 10}, {0x4F, 3}, {0x3F, 2}, {0x0F, 0}, {0xEF, 14}};
// clang-format on

std::uint8_t AopenEncode(std::uint8_t book)
{
    for (const AopenValue& entry : kAopenValues)
        if (entry.book == book)
            return entry.value;
    return static_cast<std::uint8_t>(book << 4 | 0x0F);
}

std::optional<std::uint8_t> AopenDecode(std::uint8_t value)
{
    for (const AopenValue& entry : kAopenValues)
        if (entry.value == value)
            return entry.book;
    return std::nullopt;
}

constexpr SettingCodec kRicohCodec{RicohEncode, BookTypeOfByte, true};
constexpr SettingCodec kAopenCodec{AopenEncode, AopenDecode, false};

// FAh 00h / 10h: the setting byte of the book type the drive writes on
// DVD+RW / DVD+R, in answer byte 4.
void AnswerQuery(CommandContext& command, const SettingCodec& codec, std::size_t answerLength, std::size_t allocation)
{
    const BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    std::vector<std::uint8_t> answer(answerLength, 0);
    if (command.Byte(1) == 0x00) {
        answer[4] = codec.encode(books.InUse(BookKind::PlusRw));
    } else if (command.Byte(1) == 0x10) {
        answer[4] = codec.encode(books.InUse(BookKind::PlusR));
    } else {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    command.Answer(answer, allocation);
}

// F9h: byte 2 becomes the setting of the target in byte 1; byte 3 is FFh
// for the targets with bit 2, else 0.
void SetBookType(CommandContext& command, const SettingCodec& codec)
{
    const std::uint8_t target = command.Byte(1);
    const auto book = codec.decode(command.Byte(2));
    const std::uint8_t flashBytes = (target & 0x04) ? kBytesForFlash : 0;
    if (target == 0 || !book || command.Byte(3) != flashBytes) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    if (target & 0x10) {
        books.SetDefault(BookKind::PlusR, *book);
    } else if (target & 0x02) {
        MediumDescription* disc = DiscOfKind(command, {BookKind::PlusRw});
        if (!disc)
            return;
        if (codec.mediumTakesDefault)
            books.SetDefault(BookKind::PlusRw, *book);
        disc->bookType = *book;
    } else {
        books.SetDefault(BookKind::PlusRw, *book);
    }
}

void RicohQuery(CommandContext& command)
{
    AnswerQuery(command, kRicohCodec, kRicohAnswer, command.Be16(7));
}

void RicohSet(CommandContext& command)
{
    SetBookType(command, kRicohCodec);
}

void AopenQuery(CommandContext& command)
{
    AnswerQuery(command, kAopenCodec, kAopenAnswer, command.Be16(7));
}

void AopenSet(CommandContext& command)
{
    SetBookType(command, kAopenCodec);
}

}  // namespace

void RegisterRicohCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kRicoh, .name = "RICOH VENDOR FA", .cdbLength = 10, .handler = RicohQuery});
    table.Register(
        {.opcode = vendor_opcode::kRicohSetBookType, .name = "RICOH VENDOR F9", .cdbLength = 10, .handler = RicohSet});
}

// The AOpen DUW1608 keeps the same command set in 12-byte CDBs, with values
// of its own.
void RegisterAopenBookTypeCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kRicoh, .name = "AOPEN VENDOR FA", .cdbLength = 12, .handler = AopenQuery});
    table.Register(
        {.opcode = vendor_opcode::kRicohSetBookType, .name = "AOPEN VENDOR F9", .cdbLength = 12, .handler = AopenSet});
}

}  // namespace emu
