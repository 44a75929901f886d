#include "emu/commands/BookTypes.h"
#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::uint8_t kErrorRead = 0x0E;
constexpr std::size_t kAnswerLength = 10;
constexpr std::uint32_t kSectorsPerRead = 8 * kEccBlockSectors;
constexpr std::uint32_t kCountScale = 4;  // the drive counts each error four times
constexpr std::uint16_t kSpike = 0xFFFC;
constexpr std::size_t kSetDataLength = 128;

std::uint16_t Raw(std::uint32_t count)
{
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(count * kCountScale, 0xFFFF));
}

// Takes a misread out of the list when this stretch covers it.
bool Misreads(BtcSettings& btc, std::uint64_t first, std::uint64_t count)
{
    const auto spike = std::find_if(btc.spikeSectors.begin(), btc.spikeSectors.end(),
                                    [&](std::uint64_t sector) { return sector >= first && sector < first + count; });
    if (spike == btc.spikeSectors.end())
        return false;
    btc.spikeSectors.erase(spike);
    return true;
}

// F3h 0Eh (10-byte CDB, the other bytes 0): the counts of the next eight
// ECC blocks the drive measures, four times over: where the measurement
// ended (the sector after it) in bytes 1-3, PI in 4-5, PIF in 6-7. A SEEK
// to a reported position therefore measures the stretch after it again.
void BtcVendorCommand(CommandContext& command)
{
    bool errorRead = command.Byte(1) == kErrorRead;
    for (std::size_t index = 2; index < 10; ++index)
        errorRead = errorRead && command.Byte(index) == 0;
    if (!errorRead) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    const std::uint64_t first = command.drive.measuring.position;
    const auto measured = MeasureNext(command, kSectorsPerRead);
    if (!measured)
        return;
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    const std::uint64_t reached = measured->addressLost ? 0 : measured->position + kSectorsPerRead;
    scsi::PutBe24(&answer[1], static_cast<std::uint32_t>(reached));
    const bool spike = Misreads(command.drive.vendorSettings.btc, first, kSectorsPerRead);
    scsi::PutBe16(&answer[4], spike ? kSpike : Raw(measured->errors.total.pi));
    scsi::PutBe16(&answer[6], spike ? kSpike : Raw(measured->errors.total.pif));
    command.Answer(answer, kAnswerLength);
}

// The state FAh 01h reports in answer byte 3: 0 when the drive writes every
// disc as it is; with the DVD-ROM default, 22h while a rewritable disc is
// loaded, else 11h.
std::uint8_t BookState(const DriveState& drive)
{
    if (drive.vendorSettings.bookTypes[BookKind::PlusR].defaultBook != 0)
        return 0;
    const auto kind = drive.medium ? BookKindOfProfile(drive.medium->description.profile) : std::nullopt;
    return kind == BookKind::PlusRw || kind == BookKind::MinusRw ? 0x22 : 0x11;
}

// FAh 00h bytes 2-4, with 128 bytes of data: (1, 1, 0) writes every kind
// as DVD-ROM from now on, (0, 0, 1) as it is; (value, 0, 0) changes the
// DVD+RW or DVD-RW in the drive to the book type of the value's high nibble.
// Without its data the set is refused as a field of the CDB (the answer
// the family's probe looks for) and changes nothing.
void BtcSetBookType(CommandContext& command)
{
    std::size_t length = 0;
    if (!command.DataOut(length)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!command.TransferIs(kSetDataLength))
        return;
    if (length < kSetDataLength) {
        command.Fail(sense::kParameterListLengthError);
        return;
    }
    const std::uint8_t value = command.Byte(2);
    const std::uint8_t rom = command.Byte(3);
    const std::uint8_t normal = command.Byte(4);
    BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    const auto setAll = [&](bool asRom) {
        for (std::size_t kind = 0; kind < kBookKinds; ++kind)
            books.SetDefault(static_cast<BookKind>(kind), asRom ? 0 : OwnBookType(static_cast<BookKind>(kind)));
    };
    if (value == 1 && rom == 1 && normal == 0) {
        setAll(true);
    } else if (value == 0 && rom == 0 && normal == 1) {
        setAll(false);
    } else if (rom == 0 && normal == 0 && BookTypeOfByte(value)) {
        if (MediumDescription* disc = DiscOfKind(command, {BookKind::PlusRw, BookKind::MinusRw}))
            disc->bookType = *BookTypeOfByte(value);
    } else {
        command.Fail(sense::kInvalidFieldInCdb);
    }
}

// FAh with AAh FFh in bytes 10-11: 01h reads the book-type state, 00h sets it.
void BtcBookType(CommandContext& command)
{
    if (command.Byte(10) != 0xAA || command.Byte(11) != 0xFF) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    switch (command.Byte(1)) {
    case 0x01: command.Answer({0, 0, 0, BookState(command.drive)}, command.Byte(7)); return;
    case 0x00: BtcSetBookType(command); return;
    default: command.Fail(sense::kInvalidFieldInCdb); return;
    }
}

}  // namespace

void RegisterBtcCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kErrorScan, .name = "BTC VENDOR F3", .cdbLength = 10, .handler = BtcVendorCommand});
    table.Register(
        {.opcode = vendor_opcode::kBtcBookType, .name = "BTC VENDOR FA", .cdbLength = 12, .handler = BtcBookType});
}

}  // namespace emu
