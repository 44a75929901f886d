#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

constexpr std::size_t kStandardInquiryLength = 96;

std::vector<std::uint8_t> StandardInquiry(const DriveIdentity& drive)
{
    std::vector<std::uint8_t> data = {drive.peripheralType,       0x80, 0x00, drive.inquiryByte3,
                                      kStandardInquiryLength - 5, 0x00, 0x00, 0x00};
    scsi::AppendPadded(data, drive.vendor, 8);
    scsi::AppendPadded(data, drive.product, 16);
    scsi::AppendPadded(data, drive.revision, 4);
    scsi::AppendPadded(data, drive.vendorSpecific, 20);
    data.resize(kStandardInquiryLength, 0);
    return data;
}

void Inquiry(CommandContext& command)
{
    const bool vitalProductData = command.Byte(1) & 0x01;
    const std::uint8_t page = command.Byte(2);
    const std::size_t allocation = command.Be16(3);
    const DriveIdentity& drive = command.drive.identity;
    if ((command.Byte(1) & 0x02) || (!vitalProductData && page != 0)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!vitalProductData) {
        command.Answer(StandardInquiry(drive), allocation);
        return;
    }
    std::vector<std::uint8_t> data = {drive.peripheralType, page, 0x00, 0x00};
    if (page == 0x00) {
        data.insert(data.end(), {0x00, 0x80});
    } else if (page == 0x80) {
        scsi::AppendPadded(data, drive.serialNumber, drive.serialNumber.size());
    } else {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    data[3] = static_cast<std::uint8_t>(data.size() - 4);
    command.Answer(data, allocation);
}

}  // namespace

void RegisterInquiry(CommandTable& table)
{
    table.Register({.opcode = mmc::kInquiry,
                    .name = "INQUIRY",
                    .cdbLength = 6,
                    .reportsUnitAttention = false,
                    .handler = Inquiry});
}

}  // namespace emu
