#include "emu/MediumGeometry.h"
#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"
#include "scsi/Profiles.h"

#include <algorithm>

namespace emu {

namespace {

using namespace disc_structure;

constexpr std::size_t kRamManufacturerOffset = 549;  // disc manufacturing information of a DVD-RAM
constexpr std::size_t kRamManufacturerLength = 64;
constexpr std::size_t kRecordableUnitLength = 112;
constexpr std::size_t kPressedUnitLength = 64;

// A DVD+ disc, also one written with book type DVD-ROM, which a drive
// reports as a DVD-ROM (a pressed DVD-ROM carries no media ID).
bool IsPlusMedium(const MediumDescription& disc)
{
    using namespace profile;
    return disc.profile == kDvdPlusR || disc.profile == kDvdPlusRw || disc.profile == kDvdPlusRDl
        || disc.profile == kDvdPlusRwDl || (disc.profile == kDvdRom && !disc.manufacturerId.empty());
}

bool IsMinusMedium(const MediumDescription& disc)
{
    using namespace profile;
    return disc.profile == kDvdR || disc.profile == kDvdRwRestricted || disc.profile == kDvdRwSequential
        || disc.profile == kDvdRDl || disc.profile == kDvdRDlJump;
}

std::uint8_t LayerType(const MediumDescription& disc)
{
    if (disc.erasable)
        return 0x04;
    return disc.profile == profile::kDvdRom || disc.profile == profile::kHdDvdRom ? 0x01 : 0x02;
}

void PutText(std::uint8_t* at, const std::string& text, std::size_t width)
{
    for (std::size_t i = 0; i < width && i < text.size(); ++i)
        at[i] = static_cast<std::uint8_t>(text[i]);
}

// The physical format of a DVD or HD DVD layer; DVD+R/RW discs carry their
// media identification (from the pre-groove) at bytes 19-30.
std::vector<std::uint8_t> LayerDescriptor(const MediumDescription& disc, std::size_t length, int bookType)
{
    const bool hdDvd = disc.family == MediumFamily::HdDvd;
    const bool dualLayer = disc.layers > 1;
    std::vector<std::uint8_t> data(length, 0);
    data[0] = static_cast<std::uint8_t>((bookType & 0x0F) << 4 | (disc.bookVersion & 0x0F));
    data[1] = hdDvd ? 0x0F : 0x02;  // 120 mm; maximum rate
    data[2] = static_cast<std::uint8_t>((disc.layers - 1) << 5 | (dualLayer ? 0x10 : 0) | LayerType(disc));
    const std::uint8_t linearDensity = hdDvd ? 5 : dualLayer ? 1 : 0;
    const std::uint8_t trackDensity = hdDvd ? 3 : 0;
    data[3] = static_cast<std::uint8_t>(linearDensity << 4 | trackDensity);

    // Opposite track path: the second layer's sectors count on from the
    // complement of the first layer's last sector.
    const auto layerZero = static_cast<std::uint32_t>(LayerZeroBlocks(disc));
    const std::uint32_t layerZeroEnd = kDvdFirstDataSector + layerZero - 1;
    std::uint32_t dataEnd = layerZeroEnd;
    if (dualLayer)
        dataEnd = (~layerZeroEnd & 0xFFFFFF) + static_cast<std::uint32_t>(disc.capacityBlocks - layerZero) - 1;
    scsi::PutBe32(&data[4], kDvdFirstDataSector);
    scsi::PutBe32(&data[8], dataEnd);
    scsi::PutBe32(&data[12], dualLayer ? layerZeroEnd : 0);
    if (IsPlusMedium(disc)) {
        PutText(&data[19], disc.manufacturerId, 8);
        PutText(&data[27], disc.mediaTypeId, 3);
        data[30] = 0x01;  // product revision
        // Byte 31 tells the single-layer formats apart: "8" (38h) on DVD+R, "9" (39h) on DVD+RW.
        if (disc.profile == profile::kDvdPlusR || disc.profile == profile::kDvdRom)
            data[31] = '8';
        else if (disc.profile == profile::kDvdPlusRw)
            data[31] = '9';
    }
    if (disc.profile == profile::kDvdRam && length >= kRamManufacturerOffset + kRamManufacturerLength)
        PutText(&data[kRamManufacturerOffset], disc.manufacturerId, kRamManufacturerLength);
    return data;
}

// The pre-pit data of a DVD-R/RW: eight fields of eight bytes, each its
// field ID and six bytes of data; fields 2 and 3 hold the disc maker's name.
std::vector<std::uint8_t> PrerecordedInformation(const MediumDescription& disc)
{
    std::vector<std::uint8_t> data(kPrerecordedBytes, 0);
    for (std::uint8_t field = 0; field < 8; ++field)
        data[field * 8u] = field;
    const std::string& maker = disc.manufacturerId;
    PutText(&data[17], maker.substr(0, std::min<std::size_t>(6, maker.size())), 6);
    if (maker.size() > 6)
        PutText(&data[25], maker.substr(6), 6);
    return data;
}

// One disc information unit per layer, as the BD lead-in holds them in the
// DI block: 112 bytes on a recordable disc (with the disc's maker and media
// type at 100-108), 64 on a BD-ROM.
std::vector<std::uint8_t> BdDiscInformation(const MediumDescription& disc)
{
    std::vector<std::uint8_t> data(kBdDiscInformationBytes, 0);
    const bool pressed = disc.profile == profile::kBdRom;
    const char* discType = pressed ? "BDO" : disc.erasable ? "BDW" : "BDR";
    const std::size_t unitLength = pressed ? kPressedUnitLength : kRecordableUnitLength;
    const int layers = std::clamp(disc.layers, 1, 7);
    for (int layer = 0; layer < layers; ++layer) {
        std::uint8_t* unit = &data[static_cast<std::size_t>(layer) * unitLength];
        unit[0] = 'D';
        unit[1] = 'I';
        unit[2] = 0x01;  // disc information format 1
        unit[3] = static_cast<std::uint8_t>(layers << 3 | layer);  // units in the DI block, the unit's layer
        unit[5] = static_cast<std::uint8_t>(layer);  // sequence number in the block
        unit[6] = static_cast<std::uint8_t>(unitLength);  // bytes in use, no continuation
        PutText(&unit[8], discType, 3);
        unit[11] = 0x01;  // 120 mm, class 0, version 1
        unit[12] = static_cast<std::uint8_t>(layers << 4);  // number of recording layers
        unit[13] = 0x01;  // 74.5 nm channel bit length (25 GB a layer), no hybrid layers
        if (!pressed) {
            PutText(&unit[100], disc.manufacturerId, 6);
            PutText(&unit[106], disc.mediaTypeId, 3);
            unit[111] = 0x01;  // product revision
        }
    }
    return data;
}

// The copyright information of a DVD: no protection, every region allowed.
std::vector<std::uint8_t> CopyrightInformation()
{
    return {0x00, 0x00, 0x00, 0x00};
}

// RMD field 0 of a recorded DVD-R/RW: the recording drive's maker, serial
// number and model from byte 4 on; fields past it are empty.
std::vector<std::uint8_t> RecordingManagementData(const MediumDescription& disc)
{
    std::vector<std::uint8_t> data(kRecordingManagementBytes, 0);
    data[1] = 0x01;  // RMD format 1
    data[2] = 0x03;  // disc status: recorded
    PutText(&data[4], disc.recorderText, 64);
    return data;
}

// The format layers of a single-format disc: its one layer's type code.
std::vector<std::uint8_t> FormatLayers(const MediumDescription& disc)
{
    const std::uint16_t code = disc.family == MediumFamily::Bd ? profile::kBdRom
        : disc.family == MediumFamily::HdDvd                   ? profile::kHdDvdRom
                                                               : profile::kDvdRom;
    return {0x01, 0x00, static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code)};
}

// The disc definition structure of a recordable BD: its drive and defect
// list areas, the user data zone and the spare areas (in physical sectors).
std::vector<std::uint8_t> BdDiscDefinition(const MediumDescription& disc)
{
    std::vector<std::uint8_t> data(52, 0);
    data[0] = 'D';
    data[1] = 'S';
    data[2] = 0x01;  // DDS format
    scsi::PutBe32(&data[16], 0x00100000);  // first PSN of the drive area
    scsi::PutBe32(&data[24], 0x00100400);  // first PSN of the defect list
    scsi::PutBe32(&data[32], 0x00100000 + 0x20000);  // user data area
    scsi::PutBe32(&data[36], static_cast<std::uint32_t>(0x00120000 + TotalBlocks(disc) * 2 - 1));
    scsi::PutBe32(&data[40], 0x1000);  // inner spare area 0
    scsi::PutBe32(&data[44], 0x2000);  // outer spare area
    scsi::PutBe32(&data[48], 0);  // inner spare area 1: a single-layer disc has none
    return data;
}

// Spare area of a recordable BD: free and allocated spare clusters.
std::vector<std::uint8_t> BdSpareArea(const MediumDescription& disc)
{
    std::vector<std::uint8_t> data(12, 0);
    scsi::PutBe32(&data[4], disc.erasable ? 0x2F00 : 0x3000);
    scsi::PutBe32(&data[8], 0x3000);
    return data;
}

// The book type of the physical format: a disc the drive is still to write
// (blank, or with room for another session) shows the one the drive's
// setting of its kind gives it.
int RecordedBookType(const DriveState& drive, const MediumDescription& disc)
{
    const auto kind = BookKindOfProfile(disc.profile);
    if (kind && disc.status != DiscStatus::Complete)
        return drive.vendorSettings.bookTypes.InUse(*kind);
    return disc.bookType;
}

std::vector<std::uint8_t> WithHeader(const std::vector<std::uint8_t>& structure)
{
    std::vector<std::uint8_t> answer(4, 0);
    scsi::PutBe16(&answer[0], static_cast<std::uint32_t>(structure.size() + 2));
    answer.insert(answer.end(), structure.begin(), structure.end());
    return answer;
}

void ReadDiscStructure(CommandContext& command)
{
    const std::uint8_t mediaType = command.Byte(1) & 0x0F;
    const std::uint8_t layer = command.Byte(6);
    const std::uint8_t format = command.Byte(7);
    const MediumDescription& disc = command.drive.medium->description;
    const bool bd = disc.family == MediumFamily::Bd;
    const bool dvd = disc.family == MediumFamily::Dvd || disc.family == MediumFamily::HdDvd;
    if (mediaType > kBdMedia) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    // The format layer list is asked of any disc, with either media type.
    const bool anyMedia = format == kFormatLayers && (bd || dvd);
    if (!anyMedia && ((mediaType == kBdMedia && !bd) || (mediaType == kDvdMedia && !dvd))) {
        command.Fail(sense::kIncompatibleFormat);
        return;
    }
    std::vector<std::uint8_t> structure;
    const bool recordableBd = bd && disc.profile != profile::kBdRom && disc.status != DiscStatus::Blank;
    if (anyMedia)
        structure = FormatLayers(disc);
    else if (mediaType == kBdMedia && format == kBdDiscInformation)
        structure = BdDiscInformation(disc);
    else if (mediaType == kBdMedia && format == kBdDiscDefinition && recordableBd)
        structure = BdDiscDefinition(disc);
    else if (mediaType == kBdMedia && format == kBdSpareArea && recordableBd)
        structure = BdSpareArea(disc);
    else if (mediaType == kDvdMedia && format == kCopyrightInformation && disc.family == MediumFamily::Dvd)
        structure = CopyrightInformation();
    else if (mediaType == kDvdMedia && format == kRecordingManagementData && IsMinusMedium(disc)
             && disc.status != DiscStatus::Blank)
        structure = RecordingManagementData(disc);
    else if (mediaType == kDvdMedia && format == kPhysicalFormat && layer < disc.layers)
        structure = LayerDescriptor(disc, kPhysicalFormatBytes, RecordedBookType(command.drive, disc));
    else if (mediaType == kDvdMedia && format == kPrerecordedInformation && IsMinusMedium(disc))
        structure = PrerecordedInformation(disc);
    else if (mediaType == kDvdMedia && format == kAdipInformation && IsPlusMedium(disc))
        structure = LayerDescriptor(disc, kAdipBytes, disc.bookType);
    if (structure.empty()) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    command.Answer(WithHeader(structure), command.Be16(8));
}

}  // namespace

void RegisterDiscStructure(CommandTable& table)
{
    table.Register({.opcode = mmc::kReadDiscStructure,
                    .name = "READ DISC STRUCTURE",
                    .cdbLength = 12,
                    .needsReadyMedium = true,
                    .handler = ReadDiscStructure});
}

}  // namespace emu
