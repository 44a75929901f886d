#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>
#include <optional>

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
    // The scan's jitter probe: the jitter read (DFh 1Bh 82h 01h) of 512
    // sectors from 30200h, its first answer byte; -1 when refused (a model
    // that measures no jitter).
    VendorReply LiteonJitterProbe();
    // The book-type read alone (DFh 00h 0Fh): answer byte 0, -1 when refused.
    VendorReply LiteonProbeDF0F();
    // The scan's error read (F3h 0Eh, 10h in byte 8) into buffer: the
    // channel's result. No wait before it: it runs once per ECC block.
    int LiteonReadErrorData(std::uint8_t* buffer, std::uint32_t length);
    // The scan's jitter read (DFh 1Bh 82h 01h) of `length` sectors from lba,
    // after a wait for the unit: answer bytes 8-11, tenths of a percent;
    // none when the drive refused it.
    std::optional<std::uint32_t> LiteonReadJitterData(std::uint32_t lba, std::uint32_t length);

private:
    VendorReply LiteonStatus(std::uint8_t which);
    void WaitBeforeLiteonCommand();

    CScsiCommand& m_ScsiCommand;
    MmcCommands& m_mmc;
};
