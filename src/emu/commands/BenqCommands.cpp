#include "emu/Profiles.h"
#include "emu/commands/Commands.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

namespace emu {

namespace {

enum ServiceCommand : std::uint8_t {
    kVendorModeOn = 0x11,  // the older models' vendor mode; also the first step of Solid Burn
    kVendorModeOff = 0x12,
    kSolidBurnRead = 0x1B,
    kServiceModeOn = 0xF1,
    kServiceModeOff = 0xF2,
};
enum BookSelector : std::uint8_t { kCurrentMedium = 0x02, kPlusRwDefault = 0x04, kPlusRDefault = 0x05 };
constexpr Sense kCannotWriteThisMedium{0x05, 0x30, 0x05};

// FDh: service mode, the older vendor mode and the Solid Burn state, behind
// the family's signature.
void BenqServiceCommand(CommandContext& command)
{
    if (!CdbHolds(command, 2, vendor_signature::kBenq)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    BenqSettings& benq = command.drive.vendorSettings.benq;
    switch (command.Byte(1)) {
    case kServiceModeOn:
        if (!benq.serviceModeAllowed)
            break;
        benq.serviceMode = true;
        return;
    case kServiceModeOff: benq.serviceMode = false; return;
    case kVendorModeOn:
        if (!benq.vendorModeAllowed)
            break;
        benq.vendorMode = true;
        return;
    case kVendorModeOff: benq.vendorMode = false; return;
    case kSolidBurnRead:
        if (benq.solidBurn && benq.serviceMode) {
            command.Answer({0x01, 0x16, 0x01, 0x04, 0, 0, 0, 0, 0, 0, 0, 0}, 12);
            return;
        }
        break;
    default: break;
    }
    command.Fail(sense::kInvalidFieldInCdb);
}

// The protected commands are hidden outside service mode.
bool InServiceMode(CommandContext& command)
{
    if (command.drive.vendorSettings.benq.serviceMode)
        return true;
    command.Fail(sense::kInvalidOpcode);
    return false;
}

// FFh 00h / 10h: the book type written on DVD+RW / DVD+R, in answer byte 0.
void BenqReadBookType(CommandContext& command)
{
    if (!InServiceMode(command))
        return;
    const BenqSettings& benq = command.drive.vendorSettings.benq;
    std::vector<std::uint8_t> answer(8, 0);
    if (command.Byte(1) == 0x00 && command.Byte(11) == 0) {
        answer[0] = benq.plusRwBook;
    } else if (command.Byte(1) == 0x10 && command.Byte(11) == 0) {
        answer[0] = benq.plusRBook;
    } else {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    command.Answer(answer, command.Be16(7));
}

// FEh: byte 2 becomes the book type of the drive's DVD+RW or DVD+R writes,
// or of the DVD+RW in the drive.
void BenqSetBookType(CommandContext& command)
{
    if (!InServiceMode(command))
        return;
    DriveState& drive = command.drive;
    const std::uint8_t value = command.Byte(2);
    switch (command.Byte(1)) {
    case kPlusRwDefault: drive.vendorSettings.benq.plusRwBook = value; return;
    case kPlusRDefault: drive.vendorSettings.benq.plusRBook = value; return;
    case kCurrentMedium:
        if (drive.CurrentProfile() != profile::kDvdPlusRw) {
            command.Fail(kCannotWriteThisMedium);
            return;
        }
        drive.medium->description.bookType = value >> 4;
        return;
    default: command.Fail(sense::kInvalidFieldInCdb);
    }
}

}  // namespace

void RegisterBenqCommands(CommandTable& table)
{
    table.Register({.opcode = vendor_opcode::kBenqService,
                    .name = "BENQ SERVICE FD",
                    .cdbLength = 12,
                    .handler = BenqServiceCommand});
    table.Register({.opcode = vendor_opcode::kBenqSetBookType,
                    .name = "BENQ SET BOOK TYPE FE",
                    .cdbLength = 12,
                    .handler = BenqSetBookType});
    table.Register({.opcode = vendor_opcode::kBenqReadBookType,
                    .name = "BENQ READ BOOK TYPE FF",
                    .cdbLength = 12,
                    .handler = BenqReadBookType});
}

}  // namespace emu
