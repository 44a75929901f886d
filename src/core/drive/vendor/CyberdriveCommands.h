#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The Cyberdrive family's 33h 6Ch commands, protected by the family's
// signature.
class CyberdriveCommands {
public:
    explicit CyberdriveCommands(CScsiCommand& channel);

    // 33h 6Ch 80h: value 1 opens the drive's measuring mode, 0 closes it;
    // `length` bytes into the buffer, which is cleared first. The channel's
    // result.
    VendorReply CyberSignatureCommand(std::uint8_t* buffer, std::uint32_t length, int value);

private:
    CScsiCommand& m_ScsiCommand;
};
