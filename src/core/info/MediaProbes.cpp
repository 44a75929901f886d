#include "core/info/MediaProbes.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kUdfBlockBytes = 2048;
constexpr std::int64_t kVolumeRecognitionBlock = 16;
constexpr std::int64_t kAnchorBlock = 256;
// A volume descriptor sequence is at least 16 blocks (ECMA-167); a walk
// longer than this is a damaged disc.
constexpr std::uint32_t kMaxSequenceBlocks = 64;
constexpr std::uint16_t kTagPrimaryVolume = 1;
constexpr std::uint16_t kTagAnchor = 2;
constexpr std::uint16_t kTagLogicalVolume = 6;
constexpr std::uint16_t kTagTerminating = 8;
constexpr std::size_t kCatalogDigits = 13;

std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) | std::uint32_t{b[at + 3]} << 24;
}

// A descriptor tag of ECMA-167: its checksum and the block it says it is in.
bool ValidTag(const std::vector<std::uint8_t>& block, std::uint16_t identifier, std::int64_t location)
{
    if (block.size() < 16 || Le16(block, 0) != identifier)
        return false;
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 16; ++i)
        if (i != 4)
            sum = static_cast<std::uint8_t>(sum + block[i]);
    return sum == block[4] && Le32(block, 12) == static_cast<std::uint32_t>(location);
}

std::string Trim(std::string text)
{
    const auto begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return {};
    const auto end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

// A regid's identifier: up to 23 characters, control characters as blanks.
std::string RegidText(const std::vector<std::uint8_t>& block, std::size_t at)
{
    std::string text;
    for (std::size_t i = 0; i < 23 && block[at + i] != 0; ++i)
        text.push_back(block[at + i] < 0x20 ? ' ' : static_cast<char>(block[at + i]));
    return Trim(text);
}

// A dstring of `width` bytes: compression 8 (bytes) or 16 (UTF-16, the low byte kept).
std::string DstringText(const std::vector<std::uint8_t>& block, std::size_t at, std::size_t width)
{
    const bool wide = block[at] & 0x10;
    const std::size_t used = std::min<std::size_t>(block[at + width - 1], width - 1);
    std::string text;
    for (std::size_t i = wide ? 2 : 1; i < used; i += wide ? 2 : 1) {
        const std::uint8_t c = block[at + i];
        if (c == 0)
            break;
        text.push_back(c < 0x20 ? ' ' : static_cast<char>(c));
    }
    return Trim(text);
}

// The 13 digits of a catalogue number, or empty when they are not all digits or all zero.
std::string CatalogDigits(const DriveAnswer& answer, std::size_t at)
{
    if (!answer.Holds(at + kCatalogDigits))
        return {};
    std::string digits;
    bool nonZero = false;
    for (std::size_t i = 0; i < kCatalogDigits; ++i) {
        const std::uint8_t c = answer.At(at + i);
        if (c < '0' || c > '9')
            return {};
        nonZero = nonZero || c != '0';
        digits.push_back(static_cast<char>(c));
    }
    return nonZero ? digits : std::string();
}

}  // namespace

int CheckUDF(const BlockReader& read, UdfVolume& volume)
{
    LogEntry("Start CheckUDF()");
    std::vector<std::uint8_t> recognition;
    if (!read(kVolumeRecognitionBlock, recognition) || recognition.size() < kUdfBlockBytes)
        return 0;
    static constexpr std::array<const char*, 7> kIdentifiers = {"TEA01", "CD001", "BEA01", "BOOT2",
                                                                "CDW02", "NSR02", "NSR03"};
    const std::string standard(recognition.begin() + 1, recognition.begin() + 6);
    if (std::find(kIdentifiers.begin(), kIdentifiers.end(), standard) == kIdentifiers.end())
        return 0;

    std::vector<std::uint8_t> anchor;
    if (!read(kAnchorBlock, anchor) || anchor.size() < kUdfBlockBytes || !ValidTag(anchor, kTagAnchor, kAnchorBlock))
        return 0;
    const std::uint32_t extentLength = Le32(anchor, 16);
    const std::uint32_t extentLocation = Le32(anchor, 20);
    const std::uint32_t blocks = std::min<std::uint32_t>(extentLength / kUdfBlockBytes, kMaxSequenceBlocks);

    std::vector<std::uint8_t> primary;
    std::vector<std::uint8_t> logical;
    for (std::uint32_t i = 0; i < blocks; ++i) {
        std::vector<std::uint8_t> block;
        const std::int64_t lba = std::int64_t{extentLocation} + i;
        if (!read(lba, block) || block.size() < kUdfBlockBytes)
            break;
        if (ValidTag(block, kTagTerminating, lba))
            break;
        if (primary.empty() && ValidTag(block, kTagPrimaryVolume, lba))
            primary = block;
        else if (logical.empty() && ValidTag(block, kTagLogicalVolume, lba))
            logical = block;
        if (!primary.empty() && !logical.empty())
            break;
    }
    // Without both descriptors there is no UDF volume to describe.
    if (primary.empty() || logical.empty())
        return 0;
    const int high = logical[241];
    const int low = logical[240];
    if (high == 0 && low == 0)
        return 0;

    volume.year = Le16(primary, 378);
    volume.month = primary[380];
    volume.day = primary[381];
    volume.hour = primary[382];
    volume.minute = primary[383];
    volume.second = primary[384];
    if (std::string text = RegidText(primary, 345); !text.empty())
        volume.application = text;
    if (std::string text = RegidText(primary, 389); !text.empty())
        volume.implementation = text;
    volume.volume = DstringText(logical, 84, 128);
    if (volume.volume.empty())
        volume.volume = DstringText(primary, 24, 32);
    if (volume.volume == "None") {
        // Some writers leave the UDF name unset: the ISO 9660 name shows through.
        for (std::size_t i = 0; i < 12; ++i) {
            const std::uint8_t c = recognition[40 + i];
            if (c >= 0x20) {
                if (i < volume.volume.size())
                    volume.volume[i] = static_cast<char>(c);
                else
                    volume.volume.push_back(static_cast<char>(c));
            }
        }
        volume.volume = Trim(volume.volume);
    }
    volume.revision = Format("%x.%02x", high, low);
    LogEntry("End - CheckUDF()");
    return 1;
}

int GetMediaCatalogNumber(DriveContext& drive, std::string& out)
{
    out.clear();
    LogEntry("Start GetMediaCatalogNumber()");
    constexpr std::uint8_t kWriteParametersPage = 0x05;
    const DriveAnswer answer = drive.mmc.ModePageAnswer(kWriteParametersPage, 0xFC);
    if (!answer.ok) {
        LogEntry("GetMediaCatalogNumber() - SCSI_Cmd_ModeSense10 failed");
        return 0;
    }
    // The page follows the 8-byte header and the block descriptors; its
    // catalogue number is MCVAL (byte 16, bit 7) and 13 ASCII digits.
    const std::size_t page = 8 + answer.Be16(6);
    if (!answer.Holds(page + 30) || (answer.At(page) & 0x3F) != kWriteParametersPage || !(answer.At(page + 16) & 0x80))
        return 0;
    out = CatalogDigits(answer, page + 17);
    LogEntry("End GetMediaCatalogNumber()");
    return out.empty() ? 0 : 1;
}

int GetCDDAMediaCatalogNumber(DriveContext& drive, std::string& out)
{
    out.clear();
    LogEntry("Start GetCDDAMediaCatalogNumber()");
    constexpr std::uint8_t kCatalogNumberFormat = 0x02;
    constexpr std::uint16_t kLength = 24;
    const DriveAnswer answer = drive.reads.SubChannelAnswer(kCatalogNumberFormat, kLength);
    if (!answer.ok) {
        LogEntry("GetCDDAMediaCatalogNumber() - READ SUB-CHANNEL failed");
        return 0;
    }
    // After the 4-byte header: the format code, MCVal (byte 8, bit 7) and the digits.
    if (answer.At(4) != kCatalogNumberFormat || !(answer.At(8) & 0x80))
        return 0;
    out = CatalogDigits(answer, 9);
    LogEntry("End GetCDDAMediaCatalogNumber()");
    return out.empty() ? 0 : 1;
}
