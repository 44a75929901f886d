#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;
class MmcCommands;

// The Lite-On family's DFh commands. Each waits for the unit first (a
// loading disc would refuse them).
class LiteonCommands {
public:
    LiteonCommands(CScsiCommand& channel, MmcCommands& mmc);

    VendorReply LiteonSetBookType(int selector, int value);
    VendorReply LiteonProbeDF1B();
    VendorReply LiteonQueryBookType();
    VendorReply GetVendorStatusDF10();
    VendorReply GetVendorStatusDF20();

private:
    VendorReply LiteonStatus(std::uint8_t which);
    void WaitBeforeLiteonCommand();

    CScsiCommand& m_ScsiCommand;
    MmcCommands& m_mmc;
};
