#pragma once

#include "core/base/ConfirmationGate.h"

#include <cstdint>
#include <string>

class DriveContext;
class EraseSink;
class UserPrompt;

namespace erasing {

// The media kinds of the erase dialog, from the loaded disc's media type.
enum EraseKind : int {
    kKindDvdMinusRw = 0,
    kKindDvdPlusRw = 1,  // and every medium not listed
    kKindDvdRam = 2,
    kKindCdRw = 4,  // shown as itself, run as DVD-RW
    kKindBdRe = 5,
};

// Whether the erase dialog can erase or format the media type: DVD-RW,
// DVD+RW, DVD-RAM, BD-RE (and BD-R in random recording), CD-RW.
bool IsErasableMedium(int mediaType);
// The refusal of a disc that cannot be erased, naming it.
std::string NotErasableText(int mediaType);

// The kind CEraseDlg gets: 3 -> 0, 11 -> 2, 66 and 67 -> 5, 101 -> 4, else 1.
int EraseKindFor(int mediaType);
// The kind CDCErase gets: the same, but 66 and 67 -> 1.
int DcEraseKindFor(int mediaType);

// The longest a format, blank or erase of the kind of disc plausibly runs:
// a wait whose progress stands still that long has failed.
std::uint64_t LongestOperationMs(int kind);

// The current drive and disc as the confirmation names them: the device
// node (/dev/srN, or an emulated drive's name), vendor and model, medium.
DestructiveOperation DescribeTarget(DriveContext& drive, const std::string& medium);

// The current drive refused before anything is sent to it when its device
// is mounted, holds the system or is in use (the gate asks again before the
// first write): true after the reason was shown (status line and prompt).
bool RefusedInUse(DriveContext& drive, const DeviceUseProbe& probe, UserPrompt* prompt, EraseSink& sink);

// The confirmation gate's question for the operation: true when the user
// confirmed; a refusal of the device is shown in the status line.
bool ConfirmedBeforeErase(const DestructiveOperation& operation, const DeviceUseProbe& probe, UserPrompt* prompt,
                          EraseSink& sink);

}  // namespace erasing
