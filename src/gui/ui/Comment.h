#pragma once

#include "gui/ui/Dialog.h"
#include "gui/ui/ThemeHelperST.h"

#include <optional>
#include <string>

class CMatrixStatic;
class CXPStyleButtonST;

// Asks for a comment of up to 40 characters. The owner fills m_strComment
// and m_strEdit with the current text; the dialog ends with 0 on OK (the
// owner then takes m_strComment) and 1 on Cancel.
class CComment : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 243;
    static constexpr int IDC_COMMENT = 1392;
    static constexpr int kMaxComment = 40;
    explicit CComment(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnTimer(int id) override;
    void OnOK() override { EndDialog(0); }
    void OnCancel() override { EndDialog(1); }

    std::string m_strComment;
    std::string m_strEdit;

private:
    void ReadComment();

    CXPStyleButtonST* m_pCancel;
    CXPStyleButtonST* m_pOK;
    CThemeHelperST m_ThemeHelper;
};

// Asks for a comment in place of shown (its trailing blanks dropped; the
// displays' hint is no comment and starts it empty): the new comment when
// the dialog ends with OK, nothing on Cancel.
std::optional<std::string> AskComment(QWidget* parent, const std::string& shown);

// Lets the user retype the comment a dot-matrix display shows.
void EditMatrixComment(CMatrixStatic& display, QWidget* parent);
