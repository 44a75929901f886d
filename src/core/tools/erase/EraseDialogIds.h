#pragma once

// Control ids of the erase dialog (template 160) and the DC erase dialog (256).
namespace erasing {

enum EraseDialogId : int {
    kEraseTemplate = 160,
    IDC_ERASE_OPTION = 1035,  // "Erase"
    IDC_FULL_FORMAT = 1093,
    IDC_FAST_FORMAT = 1027,
    IDC_RESTART = 1094,
    IDC_COMPATIBLE_CLOSE = 1133,
    IDC_QUICK = 1135,
    IDC_ERASE_STATUS = 1138,
    IDC_SHUTDOWN = 1026,  // not on Linux: a forced power-off would lose other programs' work
    IDC_ERASE_EJECT = 1320,
    IDC_ERASE_CAPTION = 1318,
    IDC_ERASE_PROGRESS = 1297,
    IDC_ERASE_HELP = 1134,
};

enum DcEraseDialogId : int {
    kDcEraseTemplate = 256,
    IDC_DC_PROGRESS = 1436,
    IDC_DC_STATUS = 1440,
    IDC_FULL_ERASE = 1439,
    IDC_QUICK_ERASE = 1438,
    IDC_DC_STOP = 1063,
};

}  // namespace erasing
