#pragma once

#include "gui/ui/Dialog.h"
#include "gui/ui/Resources.h"

#include <string>

// The general message dialog: an icon, a message, Yes and No (or OK only)
// and a "Do not show this message again" check box. Ends with 1 for Yes and
// OK, 0 for No and IDCANCEL (2) when closed; the owner finds the check box
// in m_nCheck whichever way it ended.
class CMessageClassDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 284;
    static constexpr int IDC_YES = 1483;
    static constexpr int IDC_NO = 1485;
    static constexpr int IDC_NOSHOW = 1026;
    explicit CMessageClassDlg(QWidget* parent = nullptr);

    void SetTitle(const std::string& title);
    void SetMessageText(const std::string& message);
    void SetYesText(const std::string& text) { m_strYes = text; }
    void SetNoText(const std::string& text) { m_strNo = text; }
    void SetOkOnly(bool okOnly) { m_bOkOnly = okOnly; }
    void SetShowCheckBox(bool show) { m_bShowCheckBox = show; }
    void SetDefaultIcon() { m_nIconId = IDI_MESSAGE; }
    // Enter answers No (a question whose Yes changes something).
    void SetNoAsDefault() { m_bNoIsDefault = true; }

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

    int m_nCheck = 0;
    std::string m_strMessage;
    std::string m_strTitle;
    std::string m_strYes = "Yes";
    std::string m_strNo = "No";
    bool m_bOkOnly = false;
    bool m_bShowCheckBox = true;
    bool m_bNoIsDefault = false;
    unsigned m_nIconId = IDI_MESSAGE;

private:
    void ReadCheck() { m_nCheck = IsDlgButtonChecked(IDC_NOSHOW); }
};
