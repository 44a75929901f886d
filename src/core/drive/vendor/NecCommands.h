#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>

class CScsiCommand;

// The NEC family's C9h commands, protected by the family's signature.
class NecCommands {
public:
    explicit NecCommands(CScsiCommand& channel);

    VendorReply NecQueryCounterA();
    VendorReply NecQueryCounterB();
    // The book-type byte for a medium kind (0 write-once, 1 rewritable, 2
    // dual layer) from flash (setting 0) or the temporary setting (1).
    VendorReply NecQueryBookType(int settingSelector, int mediaSelector);
    // C9h with bytes 1-3 and 9 as given (01h writes a kind's flash default,
    // 03h its temporary setting, 04h chooses which of them it uses): the
    // channel's result.
    VendorReply NecC9Command(int b1, int b2, int b3, int b9);
    // The same query as the second counter, which iHAS drives answer too.
    VendorReply IhasBookTypeProbe();
    // F3h error-rate session: the sub-command in byte 1 (01h start, 02h arm
    // at the LBA, 03h read, 0Fh end), the LBA's low 32 bits in bytes 2-5,
    // `length` bytes into the buffer: the channel's result.
    VendorReply NecReadErrorData(std::uint8_t* buffer, int subCommand, std::uint64_t lba, std::uint32_t length);

private:
    CScsiCommand& m_ScsiCommand;
};
