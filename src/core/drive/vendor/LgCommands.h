#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The LG (HL-DT-ST) family's book type: FAh reads the two setting bytes
// (byte 0 A0h: DVD+R and DVD+RW written as they are, 00h as DVD-ROM; byte 1
// E0h or 00h the same for DVD+R DL), FCh writes them behind the family's
// signature.
class LgCommands {
public:
    explicit LgCommands(CScsiCommand& channel);

    // The 4-byte answer into the cleared buffer: -1 without sending when
    // length is below 4, else the channel's result.
    VendorReply VendorFARead(std::uint8_t* buffer, int length);
    // Writes one setting byte and keeps the other as read: target 1 the
    // DVD+R/RW byte, any other the DVD+R DL byte; clear 0 as the disc is, 1
    // DVD-ROM. Reads the settings before and after: the FCh's result, or 1
    // without writing when the first read failed (the other byte is then not
    // known and would be written as DVD-ROM).
    VendorReply LgFCWrite(int clear, int target);

private:
    CScsiCommand& m_ScsiCommand;
};
