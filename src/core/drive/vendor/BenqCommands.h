#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CDevice;
class CScsiCommand;

// The BenQ family's commands: the service mode (FDh, behind the family's
// signature) and the book-type commands it opens (FEh, FFh), the Solid Burn
// probe and the FFh probe of the book-type dispatch.
class BenqCommands {
public:
    // current: the drive list's current drive, whose identity rules out the
    // Solid Burn probe.
    BenqCommands(CScsiCommand& channel, CDevice* const& current);

    // Service mode on (F1) and off (F2): the channel's result.
    VendorReply BenqSignatureF1();
    VendorReply BenqSignatureF2();
    // The older models' vendor mode on (11) and off (12): the channel's result.
    VendorReply BenqSignature11();
    VendorReply BenqSignature12();
    VendorReply BenqQueryBookType00();
    VendorReply BenqQueryBookType10();
    VendorReply BenqSetBookTypeData(int selector, int value);
    VendorReply BenqSetBookType(int selector, int value);
    VendorReply VendorProbeFF09();
    // 1 when the drive takes the Solid Burn sequence, else 0.
    VendorReply DetectForSolidBurn();

private:
    VendorReply BenqQueryBookType(std::uint8_t kind);
    VendorReply BenqSet(std::uint8_t selector, std::uint8_t value, bool withData);

    CScsiCommand& m_ScsiCommand;
    CDevice* const& m_pCurrentDevice;
};
