#pragma once

#include "core/base/ConfirmationGate.h"
#include "gui/app/MainWindowPage.h"

class CDialog;
class PageHost;

// The Book button (OnBooktype): refused while a test or the
// scan window runs or another operation holds the drive; otherwise the
// drive's family is found as drive work and its book-type dialog runs
// modally (`ChangePLUSBookField`), or the message that takes its place is
// shown. While the dialog is open it hears of discs coming and going.
class BookTypePage : public MainWindowPage {
public:
    explicit BookTypePage(PageHost& host) : m_host(host) {}

    void OnBooktype();

    void Show(int /*page*/) override { OnBooktype(); }
    void DeviceChanged(WPARAM event, const DeviceBroadcast& notice) override;

    // The open book-type dialog, null when none is.
    CDialog* OpenDialog() const { return m_pDialog; }
    // What the confirmation gate finds on the device; empty: the machine's.
    DeviceUseProbe deviceUse;

private:
    PageHost& m_host;
    CDialog* m_pDialog = nullptr;
};
