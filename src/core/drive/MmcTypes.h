#pragma once

#include "scsi/DiscStructure.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The size of the structure buffers every caller of READ DISC STRUCTURE gives.
constexpr std::uint32_t kStructureBufferLength = disc_structure::kBdDiscInformationLength;
constexpr std::uint32_t kBlockBytes = 2048;
// READ(10) byte 1: the blocks come from the medium, not from the drive's cache.
constexpr std::uint8_t kForceUnitAccess = 0x08;
// SET CD SPEED's value for the drive's fastest.
constexpr std::uint16_t kMaximumCdSpeed = 0xFFFF;

// What a command wrapper would tell the user beside its result. Wrappers
// run on worker threads too, so they only say it: the caller shows the
// message box or the status text on its own thread.
struct WrapperNotice {
    std::string messageBox;
    std::string status;
};

// The first disc information unit of a BD, as READ DISC STRUCTURE gives it
// (the unit starts at answer byte 4), in the layout of the BD format. The
// last four fields repeat the tail of the unit's data so that callers find
// them at fixed places.
struct BDDiscInfo {
    char identifier[2];  // "DI"
    std::uint8_t format;  // unit byte 2: disc information format
    std::uint8_t unitsPerBlock;  // byte 3: units in each DI block (bits 7-3), the unit's layer (bits 2-0)
    std::uint8_t reserved1;  // byte 4
    std::uint8_t sequenceNumber;  // byte 5: the unit's place in its block
    std::uint8_t bytesInUse;  // byte 6: continuation (bit 7), bytes of the unit in use (bits 6-0)
    std::uint8_t reserved2;  // byte 7
    char discTypeId[3];  // "BDO", "BDR", "BDW"
    std::uint8_t sizeClassVersion;
    std::uint8_t unitData[100];  // unit bytes 12-111; byte 12 holds the layer structure
    char manufacturerId[6];  // unit bytes 100-105
    char mediaTypeId[3];  // unit bytes 106-108
    std::uint8_t timeStamp[2];  // unit bytes 109-110
    std::uint8_t productRevision;  // unit byte 111
};

// The number of recording layers of the disc: unit byte 12, bits 7-4.
inline int BdLayerCount(const BDDiscInfo& info)
{
    return info.unitData[0] >> 4;
}

// Sense key, ASC and ASCQ of fixed-format sense data.
struct SenseCode {
    int key = 0;
    int asc = 0;
    int ascq = 0;
};
inline SenseCode SenseOf(const std::uint8_t* sense)
{
    return {sense[2] & 0x0F, sense[12], sense[13]};
}

// How a command without data ended, taken under the channel's lock: done,
// or the sense of its failure and that failure in words; lost when no
// status came (the command or the drive lost on the way).
struct CommandAnswer {
    bool ok = false;
    SenseCode sense;
    bool lost = false;
    std::string failure;
};

// READ CAPACITY's answer. A failure keeps the sense; the fields the drive
// did not send read 0.
struct CapacityAnswer {
    bool ok = false;
    std::uint32_t lastLba = 0;  // the address of the disc's last block
    std::uint32_t blockLength = 0;
    std::uint32_t received = 0;  // bytes the drive sent
    SenseCode sense;
};

// How a read of blocks (READ(10), READ CD) ended.
struct BlockReadResult {
    bool ok = false;
    std::size_t transferred = 0;  // bytes the drive sent
    SenseCode sense;
    std::optional<std::uint32_t> badBlock;  // the address the sense names, when it names one
    bool lost = false;  // no status came: the command was lost on the way
};

// What a drive returned for one command: the bytes that came, no more. A
// byte past them is absent and reads as 0.
struct DriveAnswer {
    bool ok = false;
    std::vector<std::uint8_t> bytes;

    std::uint8_t At(std::size_t index) const { return index < bytes.size() ? bytes[index] : 0; }
    bool Holds(std::size_t end) const { return ok && bytes.size() >= end; }
    std::uint32_t Be16(std::size_t at) const { return static_cast<std::uint32_t>(At(at) << 8 | At(at + 1)); }
    std::uint32_t Be32(std::size_t at) const { return Be16(at) << 16 | Be16(at + 2); }
};

// READ DISC INFORMATION, as far as the erase tools and the media report read it.
struct DiscInformation {
    int discStatus = 0;  // byte 2 bits 1-0: 0 blank, 1 appendable, 2 complete, 3 other
    bool erasable = false;  // byte 2 bit 4
    int backgroundFormat = 0;  // byte 7 bits 1-0: 0 none, 1 stopped, 2 running, 3 complete
    // Bytes 11 (high) and 6 (low), when the drive sent them.
    std::optional<std::uint32_t> lastTrackInLastSession;
};

// The decoded fields of the answer's bytes; none without the first 8.
inline std::optional<DiscInformation> DecodeDiscInformation(std::span<const std::uint8_t> answer)
{
    constexpr std::size_t kFirstFields = 8;
    constexpr std::size_t kLastTrackFields = 12;
    if (answer.size() < kFirstFields)
        return std::nullopt;
    DiscInformation information;
    information.discStatus = answer[2] & 0x03;
    information.erasable = (answer[2] & 0x10) != 0;
    information.backgroundFormat = answer[7] & 0x03;
    if (answer.size() >= kLastTrackFields)
        information.lastTrackInLastSession = std::uint32_t{answer[11]} << 8 | answer[6];
    return information;
}

// The ATIP's start time of the lead-in and last possible start of the
// lead-out (minutes, seconds, frames).
struct AtipTimes {
    int leadIn[3] = {0, 0, 0};
    int leadOut[3] = {0, 0, 0};
};

// SET STREAMING's performance descriptor: read and write sizes (kB) per
// time (ms) over a block range.
struct StreamingRequest {
    bool restoreDefaults = false;  // RDD: the drive goes back to its own speeds
    std::uint32_t startLba = 0;
    std::uint32_t endLba = 0;
    std::uint32_t readSize = 0;
    std::uint32_t readTimeMs = 0;
    std::uint32_t writeSize = 0;
    std::uint32_t writeTimeMs = 0;
};
constexpr std::uint32_t kStreamingDescriptorLength = 28;

// A NUL-ended text of an answer: at most `width` bytes from `offset` on, and
// none past the answer's end.
inline std::string AnswerText(std::span<const std::uint8_t> answer, std::size_t offset, std::size_t width)
{
    std::string text;
    for (std::size_t i = offset; i < offset + width && i < answer.size() && answer[i] != 0; ++i)
        text.push_back(static_cast<char>(answer[i]));
    return text;
}
