#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct UserCommandRequest;

// What the custom command panel decides from a CDB alone, before anything
// is sent. A command is judged by its operation code, as the kernel's SG_IO
// filter judges it, never by the direction or size the user chose.

// Whether the command only reads: the operation codes the kernel passes on
// a node opened read-only (but SEND KEY, which shares A3h with MAINTENANCE
// IN and changes an optical drive's region) and those of the example list.
// Every other command, vendor commands included, may change the drive or
// the disc.
bool OnlyReads(std::uint8_t opcode);

// The bytes the CDB asks the drive to send: the blocks of READ(10) and
// READ(12) at 2048 bytes, READ CAPACITY's 8, the allocation length of the
// commands that have one; nullopt when the CDB does not say.
std::optional<std::uint32_t> RequestedBytes(std::span<const std::uint8_t> cdb);

// Why the command is not sent: it asks the drive for more than the data
// buffer's transfer takes (a drive left with data it cannot deliver can
// hold the sending thread in the kernel), naming both sizes.
std::optional<std::string> TransferRefusal(const UserCommandRequest& request);
