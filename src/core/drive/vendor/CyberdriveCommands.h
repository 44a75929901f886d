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
    // 33h 6Ch A9h: places the measurement at an LBA; 32 bytes into the
    // cleared buffer. The channel's result.
    int CyberReadA9(std::uint8_t* buffer, std::uint32_t lba, std::uint8_t p1, std::uint8_t p2);
    // 33h 6Ch B1h: the drive's next measurement, `length` bytes into the
    // cleared buffer. The channel's result.
    int CyberReadB1(std::uint8_t* buffer, std::uint32_t length, std::uint8_t p);

private:
    CScsiCommand& m_ScsiCommand;
};
