#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CDevice;
class CScsiCommand;

// The Ricoh family's FAh commands.
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

private:
    VendorReply RicohQuery(std::uint8_t kind, bool writesFormat);

    CScsiCommand& m_ScsiCommand;
    CDevice* const& m_pCurrentDevice;
};
