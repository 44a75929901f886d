#pragma once

#include <array>
#include <cstddef>
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

// Where a command keeps its allocation length: the first byte and the
// width (1 or 2 bytes, big-endian).
struct AllocationField {
    std::size_t at;
    std::size_t width;
};
// The allocation length's field of the MMC commands that read an answer of
// the drive's choosing (the examples' INQUIRY, READ SUB-CHANNEL, READ
// TOC/PMA/ATIP, GET CONFIGURATION, GET EVENT STATUS NOTIFICATION, MODE
// SENSE(10), READ DISC STRUCTURE, and REQUEST SENSE, MODE SENSE(6), READ
// FORMAT CAPACITIES, READ DISC/TRACK INFORMATION, REPORT KEY, MECHANISM
// STATUS); nullopt for others.
std::optional<AllocationField> AllocationFieldOf(std::uint8_t opcode);
// The allocation length of such a CDB; nullopt for others or a CDB too short
// to hold it.
std::optional<std::uint32_t> AllocationLengthOf(std::span<const std::uint8_t> cdb);

// The transfer an example is filled in with: the list's size read as a
// decimal number, raised to hold the CDB's allocation length and up to a
// multiple of 16. An allocation beyond the 4096-byte data buffer leaves the
// size as it is.
std::uint32_t SendableBufferSize(const UserCommandExample& example);
// The example's CDB as it is filled in: an allocation beyond its transfer
// (SendableBufferSize) is cut to the transfer, so that the drive is never
// asked for more than the buffer takes.
std::array<std::uint8_t, 12> SendableCdb(const UserCommandExample& example);
