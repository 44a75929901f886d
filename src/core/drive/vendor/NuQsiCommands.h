#pragma once

#include "core/drive/vendor/VendorReply.h"

class CScsiCommand;

// The Nu/QSI family's F3h commands.
class NuQsiCommands {
public:
    explicit NuQsiCommands(CScsiCommand& channel);

    VendorReply NuQsiQueryF30E();
    VendorReply QueryNuQsiStatus();

private:
    CScsiCommand& m_ScsiCommand;
};
