#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/tools/erase/DcEraseControl.h"
#include "core/tools/erase/EraseDialogIds.h"
#include "gui/tools/erase/QtEraseSink.h"
#include "gui/ui/Dialog.h"

#include <string>

class DriveContext;
class QProgressBar;
class UserPrompt;

// The modal dialog "DC Erase": restores a rewritable disc to its blank
// state through the Nu/QSI family's DC erase commands. Its logic is the
// Qt-free DcEraseControl; the erase runs on a worker and reports here
// through a QtEraseSink. Stop only asks the erase to stop; closing the window
// while it runs does the same and closes once it has ended.
class CDCErase : public CDialog, private EraseSink {
    Q_OBJECT

public:
    enum { IDD = erasing::kDcEraseTemplate };

    CDCErase(
        DriveContext& drive, UserPrompt* prompt, QWidget* parent = nullptr,
        DeviceUseProbe probe = [](const std::string& node) { return DescribeDeviceUse(node); });
    ~CDCErase() override;

    void SetMediaKind(int kind) { m_Control.SetMediaKind(kind); }
    erasing::DcEraseControl& Control() { return m_Control; }

    bool OnInitDialog() override;
    void OnCancel() override;  // "&Close"
    std::string StatusText() const { return m_strStatus; }
    int Progress() const;

private:
    void SetStatus(const std::string& text) override;
    void SetProgress(int percent) override;
    void Ended(const EraseResult& result) override;

    void OnErase(bool (erasing::DcEraseControl::*handler)());
    void SetRunning(bool running);

    std::string m_strStatus;
    QProgressBar* m_Progress = nullptr;
    bool m_bCloseWhenEnded = false;
    QtEraseSink m_Sink;
    erasing::DcEraseControl m_Control;  // after the sink: its worker ends first
};
