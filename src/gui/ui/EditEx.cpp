#include "gui/ui/EditEx.h"

#include <QKeyEvent>
#include <QValidator>

namespace {

// A control character is an editing key or a shortcut, never text.
bool IsControlCharacter(char32_t character)
{
    return character < 0x20 || character == 0x7F;
}

// What an edit may hold: digits of the filter's mode only. Texts the program
// sets are not checked; what is typed or pasted is.
class DigitValidator : public QValidator {
public:
    DigitValidator(const CharFilter& filter, QObject* parent) : QValidator(parent), m_filter(filter) {}

    State validate(QString& input, int&) const override
    {
        for (const char32_t character : input.toUcs4())
            if (!m_filter.Accepts(character))
                return Invalid;
        return Acceptable;
    }

private:
    const CharFilter& m_filter;
};

}  // namespace

CCEditEx::CCEditEx(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new DigitValidator(m_filter, this));
}

void CCEditEx::keyPressEvent(QKeyEvent* event)
{
    for (const char32_t character : event->text().toUcs4()) {
        if (!IsControlCharacter(character) && !m_filter.Accepts(character)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
