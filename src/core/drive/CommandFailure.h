#pragma once

#include "core/drive/MmcTypes.h"
#include "platform/passthrough/PassThrough.h"

#include <cstdint>
#include <span>
#include <string>

class CScsiCommand;
class CommandBlock;

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

// How the last command ended, taken under the channel's lock, so that it can
// be reported after other threads have sent theirs.
struct ChannelFailure {
    SenseCode sense;
    PassThroughError error = PassThroughError::None;
    std::string reason;  // the kernel's or the transport's, without sense
};
ChannelFailure TakeFailure(const CScsiCommand& channel);

// Sends a block that moves no data, under the channel's lock, and tells
// how it ended (a failure described as DescribeLastFailure does).
CommandAnswer ExecuteForAnswer(CScsiCommand& channel, const CommandBlock& block, const char* name);
// Sends a block that reads into a new zeroed buffer of `allocation` bytes,
// under the channel's lock; the answer keeps the bytes that came.
DriveAnswer ExecuteForBytes(CScsiCommand& channel, const CommandBlock& block, std::uint32_t allocation);

// What the kernel's refusal of a command means to the user: "<subject> needs
// raw device access (root, CAP_SYS_RAWIO, or the drive's /dev/sgN node)".
std::string RawAccessNeeded(const std::string& subject);
// The same, with the refused command: "...\n\nRefused: <what> (<CDB bytes>)",
// or only the CDB bytes when what is empty.
std::string RawAccessRefusal(const std::string& subject, const std::string& what, std::span<const std::uint8_t> cdb);
