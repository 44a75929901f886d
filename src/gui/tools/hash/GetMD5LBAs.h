#pragma once

#include "gui/ui/Dialog.h"

#include <string>

// The start and end block of the disc hash. The owner sets the current range
// before the run; the dialog ends with 0 on OK (the owner then takes the new
// range) and 1 on Cancel. Each edit is checked when it loses the focus, and
// both again on OK, against the range at opening: the start from 0 and
// below the end, the end above 0 and up to the end it was opened with. A
// failed check says why and puts the value at opening back.
class CGetMD5LBAs : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 343;
    static constexpr int IDC_ENDLBA = 1609;
    static constexpr int IDC_STARTLBA = 1610;
    explicit CGetMD5LBAs(QWidget* parent = nullptr);

    void SetStartLBA(int lba);
    void SetEndLBA(int lba);
    int GetStartLBA() const;
    int GetEndLBA() const;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override { EndDialog(1); }

private:
    bool OnKillfocusStartLBA();
    bool OnKillfocusEndLBA();
    // Puts the texts into the edits; their change notices are not taken
    // back meanwhile, which would read an edit not filled yet.
    void ShowTexts();

    std::string m_strEndLBA;
    std::string m_strStartLBA;
    int m_nEndAtOpening = 0;
    int m_nStartAtOpening = 0;
    bool m_bShowingTexts = false;
};
