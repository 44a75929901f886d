#pragma once

#include "gui/ui/Dialog.h"

// The warning shown before the advanced raw-command tool opens. Ends with 0
// for "I Accept" and 1 for "I Dont Accept", Escape and the close box. Its
// check box keeps the profile value "WarningDialog" in step: 1 while ticked
// (the warning is not shown again), 0 when unticked.
class CWarningDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 182;
    static constexpr int IDC_NOSHOW = 1026;
    explicit CWarningDlg(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override { EndDialog(0); }
    void OnCancel() override { EndDialog(1); }

    int m_nCheck = 0;

private:
    void OnNoShowClicked();
};
