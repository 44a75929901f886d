#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The size of the structure buffers every caller of READ DISC STRUCTURE gives.
constexpr std::uint32_t kStructureBufferLength = 4100;
constexpr std::uint32_t kBlockBytes = 2048;

// What a command wrapper would tell the user beside its result. Wrappers
// run on worker threads too, so they only say it: the caller shows the
// message box or the status text on its own thread.
struct WrapperNotice {
    std::string messageBox;
    std::string status;
};

// The first disc information unit of a BD, as READ DISC STRUCTURE gives it
// (the unit starts at answer byte 4). The last four fields repeat the tail of
// the unit's data so that callers find them at fixed places.
struct BDDiscInfo {
    char identifier[2];  // "DI"
    std::uint8_t format;
    std::uint8_t unitsAndSequence;
    std::uint8_t reserved1;
    std::uint8_t unitPosition;
    std::uint8_t bytesInUse;
    std::uint8_t continuation;
    char discTypeId[3];  // "BDO", "BDR", "BDW"
    std::uint8_t sizeClassVersion;
    std::uint8_t unitData[100];  // unit bytes 12-111
    char manufacturerId[6];  // unit bytes 100-105
    char mediaTypeId[3];  // unit bytes 106-108
    std::uint8_t timeStamp[2];  // unit bytes 109-110
    std::uint8_t productRevision;  // unit byte 111
};

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

// A NUL-ended text of an answer: at most `width` bytes from `offset` on, and
// none past the answer's end.
inline std::string AnswerText(std::span<const std::uint8_t> answer, std::size_t offset, std::size_t width)
{
    std::string text;
    for (std::size_t i = offset; i < offset + width && i < answer.size() && answer[i] != 0; ++i)
        text.push_back(static_cast<char>(answer[i]));
    return text;
}
