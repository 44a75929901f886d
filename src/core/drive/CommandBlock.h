#pragma once

#include "scsi/DataDirection.h"

#include <array>
#include <cstddef>
#include <cstdint>

class CScsiCommand;

// The CDB length SCSI gives an operation code's group: 6, 10, 12 or 16;
// 0 for the reserved and vendor-specific groups, whose length the maker sets.
std::size_t StandardCdbLength(std::uint8_t opcode);

// A CDB composed in full before it goes out. Execute writes every byte
// through the channel's accessor in ascending order up to the last one, so
// the command always leaves with its whole length, trailing zeros included.
class CommandBlock {
public:
    // length 0: the standard length of the opcode's group.
    explicit CommandBlock(std::uint8_t opcode, std::size_t length = 0);

    CommandBlock& Set(std::size_t index, std::uint8_t value);
    CommandBlock& SetBe16(std::size_t index, std::uint32_t value);
    CommandBlock& SetBe32(std::size_t index, std::uint32_t value);
    // The time it may take; by default the channel's (kScsiTimeoutSeconds).
    CommandBlock& SetTimeout(std::uint32_t seconds);

    std::size_t Length() const { return m_length; }
    std::uint8_t operator[](std::size_t index) const { return m_bytes[index]; }

    // The channel's result: 0 done, 1 failed. A block without a valid
    // length (a vendor opcode given none) fails without sending.
    int Execute(CScsiCommand& channel, DataDirection direction, void* buffer, std::uint32_t length) const;

private:
    std::array<std::uint8_t, 16> m_bytes{};
    std::size_t m_length;
    std::uint32_t m_timeoutSeconds = 0;  // 0: the channel's
};
