#pragma once

#include "core/base/UserPrompt.h"

#include <string>
#include <vector>

class DriveContext;

// The book-type dialog of a drive family.
enum class BookTypeDialog {
    None,  // a message instead
    Lg,  // `CLGBook`, LG mode
    PlextorTdk,  // `CLGBook`, Plextor/TDK mode
    Nec,  // `CBookTypeNEC`
    Liteon,  // `CLiteonBookType`
    NuTek,  // `CNuTekBook`
    Btc,  // `CBtcBookType`
    Benq,  // `CBenqBookType`
    Aopen,  // `CBookTypeAopen`
    SetBookType,  // `CSetBookType` (Ricoh-type drives)
};

// Where the dispatch ended: a dialog, or a message box in its place.
struct BookTypeChoice {
    BookTypeDialog dialog = BookTypeDialog::None;
    int generation = 0;  // `GetPlusDriveGeneration`, for `CSetBookType`
    std::string message;  // with `dialog` None
    std::string caption;
    unsigned type = MB_OK;
    // Messages shown before the dialog opens.
    std::vector<std::string> notices;
};

// `ChangePLUSBookField`'s choice: the selected drive's family by its
// identity and by vendor probes, in the order the families must be told
// apart. Probes the kernel does not pass on end it with the need for raw
// device access, never as a drive that cannot set book types.
BookTypeChoice ChooseBookTypeDialog(DriveContext& drive);
