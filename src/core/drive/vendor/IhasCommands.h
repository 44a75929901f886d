#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The iHAS family's F3h error-rate session (01h and 02h start it, 03h reads,
// 0Fh ends it). Its C9h probe is the NEC family's query (NecCommands).
class IhasCommands {
public:
    explicit IhasCommands(CScsiCommand& channel);

    // F3h with the sub-command in byte 1 (08h in byte 8 for 02h), `length`
    // bytes into the buffer: the channel's result.
    VendorReply VendorF3Read(std::uint8_t* buffer, int subCommand, std::uint32_t length);
    // The session sent through once (01h, 02h, 03h, 0Fh): 1 when the drive
    // took the read (03h), else 0.
    VendorReply ProbeF3Subcommands();

private:
    CScsiCommand& m_ScsiCommand;
};
