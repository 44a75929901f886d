#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// One entry of the custom command's example list: a heading, a command, or
// the empty last entry, which only clears the CDB.
struct UserCommandExample {
    const char* name;  // as listed; headings are indented with blanks
    bool heading;
    const char* bufferSize;  // the size the list gives (decimal text); null: none
    int cdbSize;  // 0: none
    std::array<std::uint8_t, 12> cdb;

    bool IsCommand() const { return bufferSize != nullptr; }
};

// The list in its order: 92 commands under 9 headings, then the empty entry.
std::span<const UserCommandExample> UserCommandExamples();

// The allocation length of the commands the examples send (INQUIRY, READ
// SUB-CHANNEL, READ TOC/PMA/ATIP, GET CONFIGURATION, GET EVENT STATUS
// NOTIFICATION, MODE SENSE(10), READ DISC STRUCTURE); nullopt for others.
std::optional<std::uint32_t> AllocationLengthOf(std::span<const std::uint8_t> cdb);

// The transfer an example is filled in with: the list's size read as a
// decimal number, raised to hold the CDB's allocation length and up to a
// multiple of 16. An allocation beyond the 4096-byte data buffer leaves the
// size as it is: the drive cuts its answer to the transfer.
std::uint32_t SendableBufferSize(const UserCommandExample& example);
