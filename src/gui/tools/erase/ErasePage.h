#pragma once

#include "core/base/ConfirmationGate.h"
#include "gui/app/MainWindowPage.h"

class PageHost;

// The erase tools' entries: the Erase button opens "RW / RAM Erase / Format"
// (CEraseDlg) for the disc in the current drive, the tools list's "Perform
// DCErase for QSI / NU drives" opens "DC Erase" (CDCErase). Both are refused
// while a test or the scan window runs or another operation holds the drive;
// the media kind each dialog starts with comes from the disc's media type.
class ErasePage : public MainWindowPage {
public:
    explicit ErasePage(PageHost& host) : m_host(host) {}

    // `CQuenzaDlg::OnErase` and `CQuenzaDlg::DCErase`.
    void OnErase();
    void DCErase();

    void Show(int /*page*/) override { OnErase(); }
    void ToolsItemChosen(int /*item*/) override { DCErase(); }

    // What the confirmation gate finds on the device; empty: the machine's.
    DeviceUseProbe deviceUse;

private:
    template <class Dialog>
    void RunDialog(int kind);

    PageHost& m_host;
};
