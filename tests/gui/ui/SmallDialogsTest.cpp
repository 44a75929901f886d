#include "core/base/AppProfile.h"
#include "core/ui/ColorSchemes.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/Beep.h"
#include "gui/ui/Comment.h"
#include "gui/ui/DigitalMessageBox.h"
#include "gui/ui/FileSizeRequest.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/MessageClassDlg.h"
#include "gui/ui/WaitBox.h"
#include "gui/ui/WarningDlg.h"
#include "gui/ui/XPStyleButtonST.h"
#include "support/TestSupport.h"
#include "UiTestHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

void Click(CDialog& dlg, int id)
{
    dlg.Item<QAbstractButton>(id)->click();
}

void DeleteDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ProbeBaseDialog : public CBaseDialog {
public:
    ProbeBaseDialog() : CBaseDialog(999) { BindControl(1325, new QLineEdit(this)); }
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, 1325, value);
        DDV_MinMaxUInt(dx, 1325, value, 1, 10);
    }
    unsigned value = 5;
};

}  // namespace

TEST(BaseDialog, ModalRunsEndWithOkOrCancel)
{
    ScriptedPrompt prompt;
    ScopedModalHook hook([](CDialog& dlg) {
        dlg.SetDlgItemText(1325, "11");
        dlg.SendCommand(IDOK);  // fails its check: stays open
        if (dlg.ModalResult() != -1)
            return -2;
        dlg.SetDlgItemText(1325, "7");
        dlg.SendCommand(IDOK);
        return dlg.ModalResult();
    });
    ProbeBaseDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.value, 7u);
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(dlg.BackgroundColor(), RoleColor(dlg, QPalette::Button));
}

TEST(BaseDialog, ModelessDialogDeletesItselfOnceClosed)
{
    for (const int how : {IDOK, IDCANCEL, 0}) {
        QPointer<ProbeBaseDialog> dlg = new ProbeBaseDialog;
        dlg->SetModeless(true);
        dlg->Create();
        if (how == 0)
            dlg->close();
        else
            dlg->SendCommand(how);
        ASSERT_FALSE(dlg.isNull()) << how;  // not inside its own handler
        EXPECT_FALSE(dlg->isVisible());
        DeleteDeferred();
        EXPECT_TRUE(dlg.isNull()) << how;
    }
}

TEST(WaitBox, EscapeAndCloseLeaveItToItsOwner)
{
    QPointer<CWaitBox> box = new CWaitBox;
    box->SetModeless(true);
    box->Create();
    EXPECT_EQ(box->GetDlgItemText(1600), "Initialising Quenzario Please Wait ...");

    PressKey(*box, Qt::Key_Escape);
    box->close();
    DeleteDeferred();
    ASSERT_FALSE(box.isNull());
    EXPECT_TRUE(box->isVisible());
    box->SetText("Scanning for hard drives...");  // the owner still uses it
    EXPECT_EQ(box->GetDlgItemText(1600), "Scanning for hard drives...");

    box->DestroyWindow();  // the owner ends it
    DeleteDeferred();
    EXPECT_TRUE(box.isNull());
}

TEST(DigitalMessageBox, ShowsOneLineInTheProfilesColours)
{
    ScopedProfile profile;
    WriteAppProfileInt("Colors", 6);
    QPointer<CDigitalMessageBox> box = new CDigitalMessageBox;
    box->SetModeless(true);
    box->Create();
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), "Quenzario Drive Scan ...");
    const CMatrixStatic& display = box->Display();
    EXPECT_EQ(display.Colors(), GetColorScheme(6));
    EXPECT_EQ(display.size(), QSize(50 * 11 + 6, 20));
    box->SetMessageText(" Interrogating your drives, Please Wait...");
    EXPECT_EQ(display.GetText().size(), 50u);

    PressKey(*box, Qt::Key_Escape);
    DeleteDeferred();
    ASSERT_FALSE(box.isNull());
    box->DestroyWindow();
    DeleteDeferred();
    EXPECT_TRUE(box.isNull());
}

TEST(MessageClassDlg, ResultsOfEachWayOut)
{
    struct Case {
        const char* way;
        bool okOnly;
        bool tick;
        std::function<void(CDialog&)> end;
        int result;
    };
    const Case cases[] = {
        {"Yes", false, false, [](CDialog& d) { Click(d, CMessageClassDlg::IDC_YES); }, 1},
        {"No, ticked", false, true, [](CDialog& d) { Click(d, CMessageClassDlg::IDC_NO); }, 0},
        {"OK, ticked", true, true, [](CDialog& d) { Click(d, IDOK); }, 1},
        {"Escape", false, true, [](CDialog& d) { d.reject(); }, IDCANCEL},
        {"close box", true, false, [](CDialog& d) { d.close(); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        int beeps = 0;
        SetBeepHook([&](unsigned type) { beeps += type == MB_SIMPLEBEEP ? 1 : 100; });
        ScopedModalHook hook([&](CDialog& dlg) {
            EXPECT_EQ(dlg.GetDlgItem(IDOK)->isHidden(), !c.okOnly);
            EXPECT_EQ(dlg.GetDlgItem(CMessageClassDlg::IDC_YES)->isHidden(), c.okOnly);
            EXPECT_EQ(dlg.GetDlgItem(CMessageClassDlg::IDC_NO)->isHidden(), c.okOnly);
            if (c.tick)
                Click(dlg, CMessageClassDlg::IDC_NOSHOW);
            c.end(dlg);
            return dlg.ModalResult();
        });
        CMessageClassDlg dlg;
        dlg.SetTitle("File Association Repair");
        dlg.SetMessageText("Do you want this repaired?");
        dlg.SetOkOnly(c.okOnly);
        EXPECT_EQ(dlg.DoModal(), c.result) << c.way;
        EXPECT_EQ(dlg.m_nCheck, c.tick ? 1 : 0) << c.way;
        EXPECT_EQ(dlg.windowTitle(), "File Association Repair");
        EXPECT_EQ(beeps, 1) << c.way;
        SetBeepHook(nullptr);
    }
}

TEST(MessageClassDlg, CaptionsIconAndLimits)
{
    SetBeepHook([](unsigned) {});
    ScopedModalHook hook([](CDialog& dlg) {
        EXPECT_EQ(dlg.GetDlgItemText(CMessageClassDlg::IDC_YES), "Original");
        EXPECT_EQ(dlg.GetDlgItemText(CMessageClassDlg::IDC_NO), "Extended");
        EXPECT_TRUE(dlg.GetDlgItem(CMessageClassDlg::IDC_NOSHOW)->isHidden());
        EXPECT_FALSE(dlg.Item<QLabel>(1486)->pixmap().isNull());
        EXPECT_EQ(dlg.GetDlgItemText(1484).size(), 299u);
        return 1;
    });
    CMessageClassDlg dlg;
    dlg.SetTitle(std::string(100, 'T'));
    dlg.SetMessageText(std::string(300, 'M'));
    dlg.SetYesText("Original");
    dlg.SetNoText("Extended");
    dlg.SetShowCheckBox(false);
    EXPECT_EQ(dlg.m_strTitle.size(), 99u);
    EXPECT_EQ(dlg.m_strMessage.size(), 299u);
    EXPECT_EQ(dlg.DoModal(), 1);
    SetBeepHook(nullptr);
}

TEST(WarningDlg, AcceptDeclineAndTheNoShowSetting)
{
    ScopedProfile profile;
    struct Case {
        const char* way;
        std::function<void(CDialog&)> end;
        int result;
    };
    const Case cases[] = {
        {"I Accept", [](CDialog& d) { Click(d, IDOK); }, 0},
        {"I Dont Accept", [](CDialog& d) { Click(d, IDCANCEL); }, 1},
        {"Escape", [](CDialog& d) { d.reject(); }, 1},
        {"close box", [](CDialog& d) { d.close(); }, 1},
    };
    for (const Case& c : cases) {
        ScopedModalHook hook([&](CDialog& dlg) {
            c.end(dlg);
            return dlg.ModalResult();
        });
        CWarningDlg dlg;
        EXPECT_EQ(dlg.DoModal(), c.result) << c.way;
        EXPECT_EQ(dlg.windowTitle(), "Advanced Tool Warning");
    }

    ScopedModalHook hook([](CDialog& dlg) {
        Click(dlg, CWarningDlg::IDC_NOSHOW);
        EXPECT_EQ(GetAppProfileInt("WarningDialog", -1), 1);
        Click(dlg, CWarningDlg::IDC_NOSHOW);  // unticked again: the warning stays on
        EXPECT_EQ(GetAppProfileInt("WarningDialog", -1), 0);
        Click(dlg, IDOK);
        return dlg.ModalResult();
    });
    CWarningDlg dlg;
    EXPECT_EQ(dlg.DoModal(), 0);
    EXPECT_EQ(dlg.m_nCheck, 0);
}

TEST(WarningDlg, TranslucencyFollowsTheProfile)
{
    ScopedProfile profile;
    ScopedModalHook hook([](CDialog& dlg) { return static_cast<int>(dlg.windowOpacity() * 255 + 0.5); });
    struct Case {
        int translucency;
        int alpha;
    };
    for (const Case& c : {Case{255, 255}, Case{200, 200}, Case{0, 127}}) {
        WriteAppProfileInt("Translucency", c.translucency);
        CWarningDlg dlg;
        EXPECT_EQ(dlg.DoModal(), c.alpha) << c.translucency;
    }
}

TEST(Comment, TakesTheTypedTextOnOkOnly)
{
    for (const bool accept : {true, false}) {
        ScopedModalHook hook([&](CDialog& dlg) {
            EXPECT_EQ(dlg.GetDlgItemText(CComment::IDC_COMMENT), "Ready");
            EXPECT_TRUE(dlg.HasTimer(1));
            dlg.FireTimer(1);
            EXPECT_FALSE(dlg.HasTimer(1));
            auto* edit = dlg.Item<QLineEdit>(CComment::IDC_COMMENT);
            EXPECT_EQ(edit->cursorPosition(), 5);  // caret at the end
            edit->setText(QString(45, 'x'));  // typed: cut at 40
            Click(dlg, accept ? IDOK : IDCANCEL);
            return dlg.ModalResult();
        });
        CComment dlg;
        dlg.m_strComment = "Ready";
        dlg.m_strEdit = "Ready";
        EXPECT_EQ(dlg.DoModal(), accept ? 0 : 1);
        EXPECT_EQ(dlg.m_strComment, std::string(40, 'x'));  // the owner takes it only on 0
        EXPECT_EQ(dlg.windowTitle(), "Enter a Comment");
    }
}

// Enter in the edit accepts the comment (OK is the default button).
TEST(Comment, EnterAcceptsTheTypedComment)
{
    ScopedModalHook hook([](CDialog& dlg) {
        dlg.show();
        auto* edit = dlg.Item<QLineEdit>(CComment::IDC_COMMENT);
        edit->setText("Burnt at 8x");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &enter);
        return dlg.ModalResult();
    });
    CComment dlg;
    EXPECT_EQ(dlg.DoModal(), 0);
    EXPECT_EQ(dlg.m_strComment, "Burnt at 8x");
}

// The displays' hint is no comment: the dialog starts empty on it.
TEST(Comment, TheDisplaysHintStartsAnEmptyComment)
{
    for (const std::string shown : {"Double-Click Digital Displays to edit   ", "Burnt at 8x   "}) {
        std::string offered;
        ScopedModalHook hook([&](CDialog& dlg) {
            offered = dlg.GetDlgItemText(CComment::IDC_COMMENT);
            dlg.reject();
            return dlg.ModalResult();
        });
        EXPECT_FALSE(AskComment(nullptr, shown));
        EXPECT_EQ(offered, shown[0] == 'D' ? "" : "Burnt at 8x");
    }
}

TEST(Comment, ButtonsWearTheDialogLook)
{
    ScopedModalHook hook([](CDialog& dlg) {
        auto* ok = dlg.Item<CXPStyleButtonST>(IDOK);
        auto* cancel = dlg.Item<CXPStyleButtonST>(IDCANCEL);
        EXPECT_EQ(ok->toolTip(), "Accepts the new comment");
        EXPECT_EQ(cancel->toolTip(), "Cancels the window");
        for (CXPStyleButtonST* button : {ok, cancel}) {
            EXPECT_EQ(button->Look().Color(BTNST_COLOR_BK_IN),
                      ShiftColorValue(button->Look().Color(BTNST_COLOR_BK_OUT), 30));
            EXPECT_FALSE(button->HasIcon());
        }
        dlg.reject();
        return dlg.ModalResult();
    });
    CComment dlg;
    EXPECT_EQ(dlg.DoModal(), 1);
}

TEST(FileSizeRequest, AnswersAreTellableFromCancel)
{
    ScriptedPrompt prompt;
    struct Case {
        const char* typed;
        int result;
        unsigned size;
        size_t messages;
    };
    const Case cases[] = {
        {nullptr, IDOK, 2048, 0},    {"1", IDOK, 1, 0},          {"2", IDOK, 2, 0},
        {"4096", IDCANCEL, 2048, 1}, {"abc", IDCANCEL, 2048, 1},
    };
    for (const Case& c : cases) {
        prompt.asked.clear();
        ScopedModalHook hook([&](CDialog& dlg) {
            EXPECT_EQ(dlg.GetDlgItemText(CFileSizeRequest::IDC_SIZE), "2048");
            if (c.typed)
                dlg.SetDlgItemText(CFileSizeRequest::IDC_SIZE, c.typed);
            Click(dlg, IDOK);
            if (dlg.ModalResult() == -1)  // still open: the user gives up
                dlg.close();
            return dlg.ModalResult();
        });
        CFileSizeRequest dlg;
        dlg.m_dwSize = 7;
        EXPECT_EQ(dlg.DoModal(), c.result) << (c.typed ? c.typed : "default");
        if (c.result == IDOK) {
            EXPECT_EQ(dlg.m_dwSize, c.size);
        }
        EXPECT_EQ(prompt.asked.size(), c.messages);
    }
    EXPECT_EQ(prompt.asked.at(0).text, "Please enter a positive integer.");
}
