#pragma once

#include <cstdint>
#include <string>

class CScsiCommand;

// What the last command on the channel came to, read right after its
// Execute (under the channel's lock when other threads may send).

// A valid request the drive would not take, which a careful MMC tool works
// around: ILLEGAL REQUEST with INVALID COMMAND OPERATION CODE (20h/00h) or
// INVALID FIELD IN CDB (24h/00h), or a command lost on the way without sense,
// as some bridges answer a command they do not know.
bool WasRefused(const CScsiCommand& channel);

// Which command failed and why, for the user: "MODE SENSE(10) (5Ah) failed:
// Illegal Request - Invalid field in CDB (sense 5/24/00)", or with the
// kernel's reason when the drive returned no sense.
std::string DescribeLastFailure(const CScsiCommand& channel, const char* command, std::uint8_t opcode);
