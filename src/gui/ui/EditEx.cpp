#include "gui/ui/EditEx.h"

#include <QKeyEvent>

namespace {

// Keys that reach the dialog or edit without typing a character.
bool IsKeyWithoutCharacter(int key)
{
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return true;
    default: return false;
    }
}

}  // namespace

CCEditEx::CCEditEx(QWidget* parent) : QLineEdit(parent)
{
}

void CCEditEx::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && !IsKeyWithoutCharacter(event->key())) {
        for (const char32_t character : typed.toUcs4()) {
            if (!m_filter.Accepts(character)) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}
