#pragma once

#include "core/base/ConfirmationGate.h"
#include "gui/app/MainWindowPage.h"

#include <functional>
#include <string>

class PageHost;

// The erase tools' entries: the Erase button opens "RW / RAM Erase / Format"
// (CEraseDlg) for the disc in the current drive, the tools list's "Perform
// DCErase for QSI / NU drives" opens "DC Erase" (CDCErase). Both are refused
// while a test or the scan window runs or another operation holds the drive;
// the media kind each dialog starts with comes from the disc's media type,
// and a disc that cannot be erased is refused before the erase dialog opens.
// When the erase window was closed while the drive went on with its work,
// the status line says the drive is busy until it answers ready.
class ErasePage : public MainWindowPage {
public:
    explicit ErasePage(PageHost& host);

    // The Erase button's dialog and the tools list's DC Erase.
    void OnErase();
    void DCErase();

    void Show(int /*page*/) override { OnErase(); }
    void ToolsItemChosen(int /*item*/) override { DCErase(); }

    // What the confirmation gate finds on the device; empty: the machine's.
    DeviceUseProbe deviceUse;
    // Runs an action after a pause on the window's thread (tests run it themselves).
    std::function<void(int milliseconds, std::function<void()> action)> schedule;

private:
    // The dialog run modally; true when it left the drive at work.
    template <class Dialog>
    bool RunDialog(int kind);
    // Asks the drive every few seconds whether it has ended its work.
    void FollowBusyDrive(const std::string& device, int triesLeft);

    PageHost& m_host;
};
