#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The BTC family's error read, its identification and its book type.
class BtcCommands {
public:
    explicit BtcCommands(CScsiCommand& channel);

    // F3h 0Eh as a 10-byte CDB, `length` bytes into the buffer: the
    // channel's result. The counts come four times over.
    VendorReply BtcReadErrorData(std::uint8_t* buffer, std::uint32_t length);
    // 95h: 1 when the drive answers with the maker's identification and 01h,
    // else 0.
    VendorReply IsBtcDrive();
    // FAh 01h: the book-type state in answer byte 3 (0 normal; 11h or 44h
    // DVD-ROM for write-once discs, 22h or 88h for rewritable ones), -1 when
    // refused.
    VendorReply VendorFA01Read();
    // The state read, then FAh 00h with bytes 2-4 and 128 zero bytes: the
    // channel's result of the set.
    VendorReply VendorFA00Write(int b2, int b3, int b4);

private:
    CScsiCommand& m_ScsiCommand;
};
