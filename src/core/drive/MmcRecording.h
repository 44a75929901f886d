#pragma once

#include "core/drive/MmcTypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CScsiCommand;
class MmcMediaReads;

// One descriptor of READ FORMAT CAPACITIES, and the descriptor of FORMAT
// UNIT's parameter list: block count, format type (byte 4 bits 7-2) and the
// type-dependent parameter (bytes 5-7).
struct FormatDescriptor {
    std::uint32_t blocks = 0;
    std::uint8_t type = 0;
    std::uint32_t parameter = 0;
    bool operator==(const FormatDescriptor&) const = default;
};

// READ FORMAT CAPACITIES decoded: the current/maximum capacity (descriptor
// type 1 unformatted, 2 formatted, 3 no medium or unknown) and the formats
// the disc offers, in the drive's order.
struct FormatCapacities {
    std::uint32_t currentBlocks = 0;
    int currentType = 0;
    std::uint32_t blockLength = 0;
    std::vector<FormatDescriptor> formattable;

    // The first formattable descriptor of a format type; null when none.
    const FormatDescriptor* Find(std::uint8_t formatType) const;
};

// The answer of READ FORMAT CAPACITIES: its capacity list length (header
// byte 3) and every whole descriptor of it that came; none when not even the
// header and the current descriptor did.
std::optional<FormatCapacities> DecodeFormatCapacities(std::span<const std::uint8_t> answer);

// FORMAT UNIT's parameter list header, byte 1.
constexpr std::uint8_t kFormatOptionsValid = 0x80;  // FOV
constexpr std::uint8_t kFormatImmediate = 0x02;  // IMMED: the command returns before the format ends
// The 12-byte parameter list: header (byte 1 flags, length 8) and the descriptor.
std::array<std::uint8_t, 12> FormatParameterList(std::uint8_t headerFlags, const FormatDescriptor& descriptor);

enum class BlankType : std::uint8_t { Full = 0x00, Minimal = 0x01 };

// The MMC commands that record, format and erase, and the reads their tools
// need beside them, each a complete CDB of its standard length on the
// current drive. A result is the channel's (0 done, 1 failed); with a
// failure text given, a failed command also says which it was and why
// (sense key, ASC and ASCQ in words), read at once under the channel's lock.
class MmcRecording {
public:
    MmcRecording(CScsiCommand& channel, MmcMediaReads& reads);

    // READ FORMAT CAPACITIES of up to 2048 bytes (GetFormatCapacities),
    // decoded; none on failure (the notice carries the status text).
    std::optional<FormatCapacities> ReadFormatCapacities(WrapperNotice* notice = nullptr);
    // FORMAT UNIT (04h, FmtData with format code 1) with the 12-byte list.
    int FormatUnit(std::uint8_t headerFlags, const FormatDescriptor& descriptor, std::string* failure = nullptr);
    // BLANK (A1h).
    int Blank(BlankType type, bool immediate, std::string* failure = nullptr);
    // CLOSE TRACK/SESSION (5Bh): close function (byte 2 bits 2-0), track number.
    int CloseTrackSession(int function, int track, bool immediate, std::string* failure = nullptr);
    // WRITE(10) of `blocks` 2048-byte blocks at the address from `data`.
    int Write10(std::uint32_t lba, std::uint16_t blocks, const std::uint8_t* data, std::uint32_t length,
                std::string* failure = nullptr);
    // REZERO UNIT (01h).
    int RezeroUnit(std::string* failure = nullptr);
    // READ DISC INFORMATION (51h, 256 bytes), decoded.
    int ReadDiscInformation(DiscInformation& information, std::string* failure = nullptr);
    // START STOP UNIT with the immediate bit and LoEj, Start clear: the tray opens.
    int EjectMedium(std::string* failure = nullptr);
    // START STOP UNIT with the immediate bit, Start and LoEj clear: the disc
    // stops. Drives that finish an operation after TEST UNIT READY already
    // answers ready refuse it with "operation in progress" until then.
    CommandAnswer StopUnit();
    // MODE SENSE(10) of the capabilities page 2Ah into a 252-byte answer.
    int ReadCapabilitiesPage(std::vector<std::uint8_t>& answer, std::string* failure = nullptr);

private:
    CScsiCommand& m_ScsiCommand;
    MmcMediaReads& m_reads;
};
