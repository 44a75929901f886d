#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/tools/erase/EraseControl.h"
#include "core/tools/erase/EraseDialogIds.h"
#include "gui/tools/erase/QtEraseSink.h"
#include "gui/ui/Dialog.h"

#include <string>

class CTextProgressCtrl;
class DriveContext;
class UserPrompt;

// The modal dialog "RW / RAM Erase / Format ": erases or formats the
// rewritable disc of the current drive by its media kind. Its logic is the
// Qt-free EraseControl; the operation runs on a worker and reports here
// through a QtEraseSink. Closing the window while an operation runs asks
// first (the drive goes on with its work), then stops the waiting and closes
// once it has ended.
class CEraseDlg : public CDialog, private EraseSink {
    Q_OBJECT

public:
    enum { IDD = erasing::kEraseTemplate };

    CEraseDlg(
        DriveContext& drive, UserPrompt* prompt, QWidget* parent = nullptr,
        DeviceUseProbe probe = [](const std::string& node) { return DescribeDeviceUse(node); });
    ~CEraseDlg() override;

    void SetMediaKind(int kind) { m_Control.SetMediaKind(kind); }
    erasing::EraseControl& Control() { return m_Control; }

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;  // "&Go"
    void OnCancel() override;  // "Cl&ose"
    void SetStatusText(const std::string& text);
    std::string StatusText() const { return m_strStatus; }
    // The window closed while the drive was still at work on the disc.
    bool LeftDriveWorking() const { return m_bLeftDriveWorking; }

private:
    // The dialog's own sink, on its thread.
    void SetStatus(const std::string& text) override { SetStatusText(text); }
    void SetProgress(int percent) override;
    void Ended(const EraseResult& result) override;

    void OnCheck(void (erasing::EraseControl::*handler)());
    void ApplyState();
    void OnHelp();
    void SetRunning(bool running);

    std::string m_strStatus;
    CTextProgressCtrl* m_Progress = nullptr;
    bool m_bCloseWhenEnded = false;
    bool m_bLeftDriveWorking = false;
    UserPrompt* m_pPrompt;
    QtEraseSink m_Sink;
    erasing::EraseControl m_Control;  // after the sink: its worker ends first
};
