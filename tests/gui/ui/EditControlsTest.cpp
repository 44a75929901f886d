#include "gui/ui/EditEx.h"
#include "gui/ui/MyEdit.h"
#include "UiTestHelpers.h"

#include <QMouseEvent>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <vector>

TEST(CCEditEx, TypedCharactersAreFilteredByMode)
{
    struct Case {
        bool hex;
        int key;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {true, Qt::Key_A, "a", true},  {true, Qt::Key_F, "F", true},      {true, Qt::Key_7, "7", true},
        {true, Qt::Key_G, "g", false}, {true, Qt::Key_Minus, "-", false}, {true, Qt::Key_Space, " ", false},
        {false, Qt::Key_7, "7", true}, {false, Qt::Key_A, "a", false},
    };
    for (const Case& c : cases) {
        CCEditEx edit;
        edit.SetHexMode(c.hex);
        PressKey(edit, c.key, c.text);
        EXPECT_EQ(edit.text(), c.accepted ? QString(c.text) : QString()) << c.hex << " " << c.text;
    }
}

TEST(CCEditEx, EditingKeysWorkAndOnlyDigitsGoIn)
{
    CCEditEx edit;
    edit.setText("1A2B");
    edit.setCursorPosition(4);
    PressKey(edit, Qt::Key_Backspace, "\b");
    EXPECT_EQ(edit.text(), "1A2");
    edit.setCursorPosition(0);
    PressKey(edit, Qt::Key_Delete, QString(QChar(0x7F)));
    EXPECT_EQ(edit.text(), "A2");
    // Select all, then type over it.
    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QString(QChar(0x01)));
    QApplication::sendEvent(&edit, &selectAll);
    PressKey(edit, Qt::Key_7, "7");
    EXPECT_EQ(edit.text(), "7");
    // What is pasted goes in only when it is all digits of the mode.
    edit.insert("x1");
    EXPECT_EQ(edit.text(), "7");
    edit.insert("fF");
    EXPECT_EQ(edit.text(), "7fF");
    edit.SetHexMode(false);
    edit.clear();
    edit.insert("12A");
    EXPECT_EQ(edit.text(), "");
    edit.insert("120");
    EXPECT_EQ(edit.text(), "120");
}

namespace {

class OwnerDialog : public CDialog {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_OUTPUTEDITNOTIFY)
            notified.push_back({wParam, lParam});
        return CDialog::WindowProc(message, wParam, lParam);
    }
    std::vector<std::pair<WPARAM, LPARAM>> notified;
};

}  // namespace

TEST(CMyEdit, DoubleClickTellsTheOwnerWhereTheCaretWas)
{
    OwnerDialog owner;
    auto* edit = new CMyEdit(&owner);
    owner.BindControl(1000, edit);
    edit->resize(400, 200);
    edit->setPlainText("00000010  41 42 43 44");
    owner.show();
    QApplication::processEvents();

    QTextCursor caret = edit->textCursor();
    caret.setPosition(11);  // inside "41"
    edit->setTextCursor(caret);
    const QPointF at = edit->cursorRect(caret).center();
    QMouseEvent click(QEvent::MouseButtonDblClick, at, edit->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit->viewport(), &click);

    EXPECT_TRUE(owner.notified.empty());  // posted, not sent
    PumpPostedMessages();
    ASSERT_EQ(owner.notified.size(), 1u);
    EXPECT_EQ(owner.notified[0].first, CMyEdit::SelectionParam(11, 11));
    EXPECT_EQ(owner.notified[0].first & 0xFFFFu, 11u);
    EXPECT_EQ(owner.notified[0].second, 0);
    EXPECT_TRUE(edit->textCursor().hasSelection());  // the default handling still selects the word
    EXPECT_EQ(CMyEdit::SelectionParam(3, 70000), WPARAM{3} | (WPARAM{70000 & 0xFFFF} << 16));
}
