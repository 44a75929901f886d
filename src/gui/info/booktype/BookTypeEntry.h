#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/info/booktype/BookTypeDispatch.h"

#include <functional>
#include <memory>
#include <string>

class CDialog;
class DriveContext;
class QWidget;
class UserPrompt;
struct BookTypeSession;

// What the main window gives the book-type dialogs beside the drive and
// the prompt.
struct BookTypeOptions {
    // The main window's status line (the dialogs' status and report lines).
    std::function<void(const std::string&)> status;
    // Called with the dialog when it opens and with null when it has
    // closed: the window forwards WM_DEVICECHANGE to it meanwhile.
    std::function<void(CDialog*)> dialogOpen;
    // The confirmation gate's device-use probe; empty: the machine's.
    DeviceUseProbe deviceUse;
};

// `ChangePLUSBookField`: finds the selected drive's family and runs its
// book-type dialog modally, or shows the message that takes its place.
void ChangePLUSBookField(DriveContext& drive, UserPrompt& prompt, QWidget* parent, const BookTypeOptions& options = {});

// The second half of it, for a choice made elsewhere (as drive work): the
// notices, then the dialog or the message.
void ShowBookTypeChoice(const BookTypeChoice& choice, DriveContext& drive, UserPrompt& prompt, QWidget* parent,
                        const BookTypeOptions& options = {});

// The dialog of a choice over a session; null for a choice without one.
std::unique_ptr<CDialog> MakeBookTypeDialog(const BookTypeChoice& choice, BookTypeSession& session, QWidget* parent);
