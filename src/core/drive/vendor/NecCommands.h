#pragma once

#include "core/drive/vendor/VendorReply.h"

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
    // The same query as the second counter, which iHAS drives answer too.
    VendorReply IhasBookTypeProbe();

private:
    CScsiCommand& m_ScsiCommand;
};
