#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;
class MmcCommands;

// The Samsung family's commands: the vendor-unique 2Bh and the F3h 0Eh error
// read, and the probe that tells the family by them.
class SamsungCommands {
public:
    SamsungCommands(CScsiCommand& channel, MmcCommands& mmc);

    // 2Bh with every other byte 0: the channel's result.
    VendorReply SamsungVendorUnique2B();
    // F3h 0Eh, 10h in byte 8, into buffer: the channel's result.
    VendorReply SamsungReadErrorData(std::uint8_t* buffer, std::uint32_t length);
    // SEEK(10) to the scan's start, then the 2Bh and the error read: 1 when
    // the drive took both, else 0.
    VendorReply SamsungWriteVerifySuccess(std::uint32_t startLba);

private:
    CScsiCommand& m_ScsiCommand;
    MmcCommands& m_mmc;
};
