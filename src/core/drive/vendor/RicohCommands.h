#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CDevice;
class CScsiCommand;

// The Ricoh family's FAh queries and F9h set, and the same command set of
// the AOpen DUW1608 (12-byte CDBs).
class RicohCommands {
public:
    // current: the drive list's current drive, whose identity and write
    // flags decide whether a query may be sent.
    RicohCommands(CScsiCommand& channel, CDevice* const& current);

    // The book type the drive writes on DVD+RW (00) and DVD+R (10); -1 without
    // sending on drives that cannot write the format or that take the command
    // for something else.
    VendorReply RicohQueryBookType00();
    VendorReply RicohQueryBookType10();
    // F9h (10 bytes): the value to the target (1 the DVD+RW default, 20 the
    // DVD+R default, 2 the DVD+RW in the drive; 12 and 14 the same of second
    // generation drives), byte 3 FFh for a target with bit 2: the channel's
    // result.
    VendorReply RicohSetBookType(int target, int value);
    // The AOpen set: F9h (12 bytes) with b1, b2, b3 and the length in bytes
    // 7-8, no data: the channel's result.
    VendorReply VendorF9Set(int b1, int length, int b2, int b3);
    // The AOpen queries of the DVD+RW (00h) and DVD+R (10h) setting: answer
    // byte 4 with its low nibble cleared, -1 when refused.
    VendorReply VendorFAQuery00();
    VendorReply VendorFAQuery10();

private:
    VendorReply RicohQuery(std::uint8_t kind, bool writesFormat);
    VendorReply AopenQuery(std::uint8_t kind);

    CScsiCommand& m_ScsiCommand;
    CDevice* const& m_pCurrentDevice;
};
