#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace emu {

// A sense key with its additional sense code and qualifier.
struct Sense {
    std::uint8_t key = 0;
    std::uint8_t asc = 0;
    std::uint8_t ascq = 0;
    bool operator==(const Sense&) const = default;
};

namespace sense {
constexpr Sense kOperationInProgress{0x00, 0x00, 0x16};  // a background format runs
constexpr Sense kNotReady{0x02, 0x04, 0x00};  // cause not reportable
constexpr Sense kNotReadyBecomingReady{0x02, 0x04, 0x01};
constexpr Sense kFormatInProgress{0x02, 0x04, 0x04};
constexpr Sense kLongOperationInProgress{0x02, 0x04, 0x07};  // BLANK, CLOSE TRACK/SESSION
constexpr Sense kIncompatibleMedium{0x02, 0x30, 0x00};
constexpr Sense kNoMedium{0x02, 0x3A, 0x00};
constexpr Sense kNoMediumTrayOpen{0x02, 0x3A, 0x02};
constexpr Sense kUnrecoveredReadError{0x03, 0x11, 0x00};
constexpr Sense kWriteError{0x03, 0x0C, 0x00};
constexpr Sense kFormatCorrupted{0x03, 0x31, 0x00};
constexpr Sense kParameterListLengthError{0x05, 0x1A, 0x00};
constexpr Sense kInvalidOpcode{0x05, 0x20, 0x00};
constexpr Sense kLbaOutOfRange{0x05, 0x21, 0x00};
constexpr Sense kInvalidFieldInCdb{0x05, 0x24, 0x00};
constexpr Sense kInvalidFieldInParameterList{0x05, 0x26, 0x00};
constexpr Sense kCommandSequenceError{0x05, 0x2C, 0x00};
constexpr Sense kIncompatibleFormat{0x05, 0x30, 0x02};  // a structure of another disc family
constexpr Sense kCannotWriteMedium{0x05, 0x30, 0x05};  // not a disc this drive writes in place
constexpr Sense kCannotFormatMedium{0x05, 0x30, 0x06};
constexpr Sense kSavingNotSupported{0x05, 0x39, 0x00};
constexpr Sense kRemovalPrevented{0x05, 0x53, 0x02};
constexpr Sense kIllegalModeForTrack{0x05, 0x64, 0x00};  // READ(10) of audio, READ CD of no CD
constexpr Sense kMediumChanged{0x06, 0x28, 0x00};
// The host's transfer was not as long as the command asked for.
constexpr Sense kDataPhaseError{0x0B, 0x4B, 0x00};
}  // namespace sense

constexpr std::size_t kFixedSenseLength = 18;
using FixedSense = std::array<std::uint8_t, kFixedSenseLength>;

// Fixed-format (70h) sense data; the information field is marked valid when
// given, and a long operation's progress (a fraction of 65536) goes into the
// sense-key specific bytes.
FixedSense BuildFixedSense(const Sense& sense, std::optional<std::uint32_t> information = std::nullopt,
                           std::optional<std::uint16_t> progress = std::nullopt);

}  // namespace emu
