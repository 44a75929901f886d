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

private:
    CScsiCommand& m_ScsiCommand;
};
