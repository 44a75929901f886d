#include "gui/ui/MyEdit.h"

#include "gui/ui/Dialog.h"

CMyEdit::CMyEdit(QWidget* parent) : QPlainTextEdit(parent)
{
}

void CMyEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QTextCursor cursor = textCursor();
    for (QWidget* owner = parentWidget(); owner; owner = owner->parentWidget()) {
        if (auto* dialog = qobject_cast<CDialog*>(owner)) {
            dialog->PostMessage(WM_OUTPUTEDITNOTIFY, SelectionParam(cursor.selectionStart(), cursor.selectionEnd()), 0);
            break;
        }
    }
    QPlainTextEdit::mouseDoubleClickEvent(event);
}
