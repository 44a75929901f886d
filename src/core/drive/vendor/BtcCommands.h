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
    // The BTC probe, FAh 00h with 01h in byte 4 and the family's AAh FFh in
    // bytes 10-11, without data: 1 when the drive takes it or refuses only
    // its fields (ASC 24h), as BTC drives answer it; else 0. Drives that
    // read FAh for other ends (Ricoh-type, AOpen, LG) answer it so too, so it
    // is sent only once those are told apart.
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
