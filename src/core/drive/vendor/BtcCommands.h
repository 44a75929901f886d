#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The BTC family's error read.
class BtcCommands {
public:
    explicit BtcCommands(CScsiCommand& channel);

    // F3h 0Eh as a 10-byte CDB, `length` bytes into the buffer: the
    // channel's result. The counts come four times over.
    VendorReply BtcReadErrorData(std::uint8_t* buffer, std::uint32_t length);

private:
    CScsiCommand& m_ScsiCommand;
};
