#pragma once

#include "core/drive/MmcTypes.h"

#include <cstdint>
#include <optional>
#include <span>

class MmcMediaReads;

namespace testpage {

// What the tests tell the user of a disc whose copy protection keeps it
// locked until a player has unlocked it.
constexpr const char* kLockedDiscText
    = "This Disc is encrypted and locked and cannot be read. Try playing in a player first to unlock it";
// The sense of such a read: ILLEGAL REQUEST, READ OF SCRAMBLED SECTOR WITHOUT AUTHENTICATION.
bool IsLockedDisc(const SenseCode& sense);

// One read of the tests: READ(10) of count blocks, or READ CD of count whole
// raw sectors (sync, headers, user data, EDC/ECC), at lba with byte 1 given
// (08h: from the medium), into the start of buffer with the blocks' bytes as
// the transfer length. The sense when it failed, taken under the channel's lock.
BlockReadResult ReadBlocksForTest(MmcMediaReads& reads, std::uint8_t opcode, std::uint32_t lba, int count,
                                  std::uint8_t byte1, std::span<std::uint8_t> buffer);
// The same, the sense alone.
std::optional<SenseCode> ReadForTest(MmcMediaReads& reads, std::uint8_t opcode, std::uint32_t lba, int count,
                                     std::uint8_t byte1, std::span<std::uint8_t> buffer);

}  // namespace testpage
