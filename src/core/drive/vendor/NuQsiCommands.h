#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The Nu/QSI family's F3h commands: the book-type queries, and the error
// measurement that every drive of the generic F3 family answers (each
// returns the channel's result).
class NuQsiCommands {
public:
    explicit NuQsiCommands(CScsiCommand& channel);

    VendorReply NuQsiQueryF30E();
    VendorReply QueryNuQsiStatus();
    // F3h 0Eh 70h with bytes 3, 4 and 11 as given, no data: the book-type
    // settings (byte 3: the kinds in the high nibble, DVD-ROM in the low;
    // byte 4 a disc kind for a direct change; byte 11 0 to save in flash,
    // 5Ah not): the channel's result.
    VendorReply NuQsiSetBookType(int byte3, int byte4, int byte11);

    // F3h 0Ch 00h with the access sequence: opens the measurement.
    VendorReply GenericEnable(std::uint8_t* buffer, std::uint32_t length);
    // F3h 0Eh 01h a b: the measuring mode (36 bytes, discarded).
    VendorReply GenericSetMode(int a, int b);
    // F3h 0Ch 01h: closes the measurement.
    VendorReply GenericFinish(std::uint8_t* buffer, std::uint32_t length);
    // F3h 0Ch 07h: starts at a physical sector (24 bits).
    VendorReply GenericSetStart(std::uint8_t* buffer, std::uint32_t length, std::uint32_t address);
    // F3h 0Eh 80h: the counts of the next `count` ECC blocks.
    VendorReply GenericReadErrorData(std::uint8_t* buffer, std::uint32_t length, int count);

    // DC erase: F3h 0Ch with byte 11 0 and a 2048-byte answer; the commands
    // give the channel's result, the queries their value or -1.
    // 00h with the access sequence: opens the erase mode; 01h leaves it.
    VendorReply EnterEraseMode();
    VendorReply LeaveEraseMode();
    // 02h: byte 3 = 01h for range type 1, 08h for 2, plus 02h with the flag;
    // byte 4 the mode, byte 5 the speed.
    VendorReply SetEraseParameters(int mode, int rangeType, bool flag, int speed);
    // 03h: `count` blocks of zeros out (bytes 4-5 the count).
    VendorReply WriteEraseBlocks(int count);
    // 04h: the status word, answer bytes 0-1.
    VendorReply GetEraseStatusWord();
    // 05h: physical sectors first to last (24 bits each, bytes 3-5 and 6-8).
    VendorReply EraseBlocks(std::uint32_t first, std::uint32_t last);
    // 05h in its CD form (byte 11 01h): bytes 3-5 00h 0Dh 19h, bytes 6-8
    // 03h 00h 00h (quick) or 64h 01h 4Ah (full).
    VendorReply EraseCdBlocks(bool quick);
    // 06h: the state of the erase, answer byte 3 (0 idle, 1 busy, 2 aborted).
    VendorReply GetEraseState();

private:
    CScsiCommand& m_ScsiCommand;
};
