#include "gui/ui/QtUserPrompt.h"

#include "core/base/MessageIds.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace {

// A window manager cuts a title longer than its window: the box is made wide
// enough for its title, the window menu and buttons beside it.
void FitToTitle(QMessageBox& box)
{
    constexpr int kTitleBarButtons = 160;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

int AskOnGuiThread(const std::string& text, const std::string& caption, unsigned type)
{
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(text, caption, type, QApplication::activeWindow());
    switch (box->exec()) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Retry: return IDRETRY;
    default: return IDOK;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& text, const std::string& caption, unsigned type,
                                            QWidget* parent)
{
    auto owned = std::make_unique<QMessageBox>(parent);
    QMessageBox& box = *owned;
    box.setText(QString::fromStdString(text));
    box.setWindowTitle(QString::fromStdString(caption.empty() ? std::string("Quenzario") : caption));
    switch (type & MB_ICON_MASK) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (type & MB_BUTTON_MASK) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNOCANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MB_RETRYCANCEL: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    if ((type & MB_DEFBUTTON_MASK) == MB_DEFBUTTON2) {
        const auto buttons = box.buttons();
        if (buttons.size() > 1)
            box.setDefaultButton(qobject_cast<QPushButton*>(
                box.button((type & MB_BUTTON_MASK) == MB_OKCANCEL || (type & MB_BUTTON_MASK) == MB_RETRYCANCEL
                               ? QMessageBox::Cancel
                               : QMessageBox::No)));
    }
    FitToTitle(box);
    return owned;
}

int QtUserPrompt::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    if (QThread::currentThread() == qApp->thread())
        return AskOnGuiThread(text, caption, type);
    int answer = IDCANCEL;
    QMetaObject::invokeMethod(
        qApp, [&] { answer = AskOnGuiThread(text, caption, type); }, Qt::BlockingQueuedConnection);
    return answer;
}
