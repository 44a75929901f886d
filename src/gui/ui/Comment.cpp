#include "gui/ui/Comment.h"

#include "core/ui/CommentHint.h"
#include "core/ui/TextLimit.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/XPStyleButtonST.h"
#include "platform/text/Trim.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr int kFocusTimer = 1;
}  // namespace

CComment::CComment(QWidget* parent) :
    CDialog(IDD, parent), m_pCancel(new CXPStyleButtonST("&Cancel", this)), m_pOK(new CXPStyleButtonST("&OK", this))
{
    setWindowTitle("Enter a Comment");
    auto* prompt = new QLabel("Enter a comment up to 40 characters long", this);
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(kMaxComment);
    edit->setMinimumWidth(320);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOK);
    buttons->addWidget(m_pCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addLayout(buttons);

    // Enter accepts the comment.
    m_pOK->setDefault(true);
    BindControl(IDOK, m_pOK);
    BindControl(IDCANCEL, m_pCancel);
    BindControl(IDC_COMMENT, edit);
    MapNotify(IDC_COMMENT, Notify::EditChange, [this] { ReadComment(); });
    MapNotify(IDC_COMMENT, Notify::KillFocus, [this] { ReadComment(); });
}

bool CComment::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetDlgItem(IDC_COMMENT)->setFocus();
    for (CXPStyleButtonST* button : {m_pOK, m_pCancel}) {
        button->SetThemeHelper(&m_ThemeHelper);
        button->SetIconResources(0, BTNST_AUTO_GRAY);
        button->ShiftColor(BTNST_COLOR_BK_IN, 30);
    }
    m_pOK->SetTooltipText("Accepts the new comment");
    m_pCancel->SetTooltipText("Cancels the window");
    SetTimer(kFocusTimer, 100);
    return true;
}

void CComment::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_COMMENT, m_strEdit);
    DDV_MaxChars(dx, IDC_COMMENT, m_strEdit, kMaxComment);
}

void CComment::OnTimer(int id)
{
    if (id != kFocusTimer)
        return;
    KillTimer(kFocusTimer);
    auto* edit = Item<QLineEdit>(IDC_COMMENT);
    edit->setFocus();
    edit->end(false);
}

void CComment::ReadComment()
{
    m_strComment = CutToCharacters(GetDlgItemText(IDC_COMMENT), kMaxComment);
}

std::optional<std::string> AskComment(QWidget* parent, const std::string& shown)
{
    CComment comment(parent);
    comment.m_strComment = IsCommentHint(shown) ? std::string() : WithoutTrailingBlanks(shown);
    comment.m_strEdit = comment.m_strComment;
    if (comment.DoModal() != 0)
        return std::nullopt;
    return comment.m_strComment;
}

void EditMatrixComment(CMatrixStatic& display, QWidget* parent)
{
    if (const std::optional<std::string> comment = AskComment(parent, display.GetText()))
        display.SetText(*comment);
}
