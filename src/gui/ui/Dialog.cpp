#include "gui/ui/Dialog.h"

#include "core/base/Format.h"
#include "core/base/UserPrompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QThread>
#include <QTimerEvent>

#include <mutex>

namespace {

const QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent {
public:
    MessageEvent(UINT message, WPARAM wParam, LPARAM lParam) :
        QEvent(kMessageEventType), m_message(message), m_wParam(wParam), m_lParam(lParam)
    {
    }
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

CDialog::ModalRunHook& ModalHook()
{
    static CDialog::ModalRunHook hook;
    return hook;
}

QString ToQt(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

// Message target that outlives its dialog: posts after the dialog's
// destruction are dropped.
class CDialog::Target : public MessageTarget {
public:
    explicit Target(CDialog* dialog) : m_pDialog(dialog) {}
    bool PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        std::lock_guard lock(m_mutex);
        if (!m_pDialog)
            return false;
        QCoreApplication::postEvent(m_pDialog, new MessageEvent(message, wParam, lParam));
        return true;
    }
    void Detach()
    {
        std::lock_guard lock(m_mutex);
        m_pDialog = nullptr;
    }

private:
    std::mutex m_mutex;
    CDialog* m_pDialog;
};

void CDataExchange::Fail(int controlId, const std::string& message)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_nFailedControl = controlId;
    AppMessageBox(message, std::string(), MB_OK | MB_ICONEXCLAMATION);
    if (QWidget* widget = m_pDlgWnd->GetDlgItem(controlId))
        widget->setFocus();
}

CDialog::CDialog(int templateId, QWidget* parent) :
    QDialog(parent), m_nTemplateId(templateId), m_pTarget(std::make_shared<Target>(this)), m_pMessageTarget(m_pTarget)
{
}

CDialog::~CDialog()
{
    m_pTarget->Detach();
}

void CDialog::SetModalRunHook(ModalRunHook hook)
{
    ModalHook() = std::move(hook);
}

void CDialog::BindControl(int id, QWidget* widget)
{
    widget->setObjectName(QString("id_%1").arg(id));
    m_controls[id] = widget;
    widget->installEventFilter(this);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { DispatchCommand(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::activated, this, [this, id] { DispatchNotify(id, Notify::SelChange); });
        if (combo->lineEdit())
            connect(combo->lineEdit(), &QLineEdit::textChanged, this,
                    [this, id] { DispatchNotify(id, Notify::EditChange); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textChanged, this, [this, id] { DispatchNotify(id, Notify::EditChange); });
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        connect(plain, &QPlainTextEdit::textChanged, this, [this, id] { DispatchNotify(id, Notify::EditChange); });
    }
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CDialog::EnableDlgItem(int id, bool enable)
{
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(enable);
}

void CDialog::ShowDlgItem(int id, bool show)
{
    if (QWidget* w = GetDlgItem(id))
        w->setVisible(show);
}

void CDialog::MoveDlgItem(int id, int x, int y, int width, int height)
{
    if (QWidget* w = GetDlgItem(id))
        w->setGeometry(x, y, width, height);
}

void CDialog::SetDlgItemText(int id, const std::string& text)
{
    QWidget* w = GetDlgItem(id);
    const QString q = ToQt(text);
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(q);
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(q);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(q);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        plain->setPlainText(q);
    else if (auto* rich = qobject_cast<QTextEdit*>(w))
        rich->setPlainText(q);
    else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
        combo->setEditText(q);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(q);
    else if (w)
        w->setWindowTitle(q);
}

std::string CDialog::GetDlgItemText(int id) const
{
    QWidget* w = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text().toStdString();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        return plain->toPlainText().toStdString();
    if (auto* rich = qobject_cast<QTextEdit*>(w))
        return rich->toPlainText().toStdString();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText().toStdString();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->title().toStdString();
    return w ? w->windowTitle().toStdString() : std::string();
}

void CDialog::CheckDlgButton(int id, int check)
{
    if (auto* button = Item<QAbstractButton>(id))
        button->setChecked(check != 0);
}

int CDialog::IsDlgButtonChecked(int id) const
{
    const auto* button = Item<QAbstractButton>(id);
    return (button && button->isChecked()) ? 1 : 0;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange&)
{
}

void CDialog::MapCommand(int id, std::function<void()> handler)
{
    m_commands[id] = std::move(handler);
}

void CDialog::MapNotify(int id, Notify code, std::function<void()> handler)
{
    if (code == Notify::Clicked)
        MapCommand(id, std::move(handler));
    else
        m_notifies[{id, code}] = std::move(handler);
}

void CDialog::SendCommand(int id)
{
    DispatchCommand(id);
}

void CDialog::SendNotify(int id, Notify code)
{
    if (code == Notify::Clicked)
        DispatchCommand(id);
    else
        DispatchNotify(id, code);
}

void CDialog::DispatchCommand(int id)
{
    const auto it = m_commands.find(id);
    if (it != m_commands.end()) {
        // Copy first: a handler may remap its own id.
        const auto handler = it->second;
        handler();
    } else if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

void CDialog::DispatchNotify(int id, Notify code)
{
    const auto it = m_notifies.find({id, code});
    if (it != m_notifies.end()) {
        const auto handler = it->second;
        handler();
    }
}

bool CDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* widget = qobject_cast<QWidget*>(watched)) {
        const QString name = widget->objectName();
        if (name.startsWith("id_")) {
            const int id = name.mid(3).toInt();
            if (event->type() == QEvent::FocusOut)
                DispatchNotify(id, Notify::KillFocus);
            else if (event->type() == QEvent::FocusIn)
                DispatchNotify(id, Notify::SetFocus);
            else if (event->type() == QEvent::MouseButtonDblClick)
                DispatchNotify(id, Notify::DoubleClick);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CDialog::SetTimer(int id, int milliseconds)
{
    KillTimer(id);
    m_timers[id] = startTimer(milliseconds);
}

void CDialog::KillTimer(int id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    killTimer(it->second);
    m_timers.erase(it);
}

bool CDialog::HasTimer(int id) const
{
    return m_timers.count(id) != 0;
}

void CDialog::OnTimer(int)
{
}

void CDialog::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : m_timers) {
        if (qtId == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QDialog::timerEvent(event);
}

bool CDialog::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_pMessageTarget->PostMessage(message, wParam, lParam);
}

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    Q_ASSERT(QThread::currentThread() == thread());
    return WindowProc(message, wParam, lParam);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        OnClose();
    return 0;
}

bool CDialog::event(QEvent* event)
{
    if (event->type() == kMessageEventType) {
        const auto* message = static_cast<MessageEvent*>(event);
        WindowProc(message->m_message, message->m_wParam, message->m_lParam);
        return true;
    }
    return QDialog::event(event);
}

void CDialog::closeEvent(QCloseEvent* event)
{
    // The close box goes through WM_CLOSE; the handler decides.
    event->ignore();
    SendMessage(WM_CLOSE);
}

void CDialog::EnsureInitialised()
{
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    OnInitDialog();
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

int CDialog::DoModal()
{
    m_nModalResult = -1;
    if (ModalHook()) {
        EnsureInitialised();
        const int result = ModalHook()(*this);
        hide();
        return result;
    }
    EnsureInitialised();
    if (m_nModalResult != -1)  // ended during its initialisation
        return m_nModalResult;
    const int result = exec();
    return m_nModalResult != -1 ? m_nModalResult : result;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    QDialog::done(result);
}

bool CDialog::Create()
{
    m_bDestroyed = false;
    EnsureInitialised();
    show();
    return true;
}

void CDialog::DestroyWindow()
{
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    hide();
    PostNcDestroy();
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnClose()
{
    OnCancel();
}

void CDialog::accept()
{
    DispatchCommand(IDOK);
}

void CDialog::reject()
{
    DispatchCommand(IDCANCEL);
}

void PumpPostedMessages()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// ---- data exchange helpers ----

void DDX_Text(CDataExchange& dx, int id, std::string& value)
{
    if (dx.m_bSaveAndValidate)
        value = dx.m_pDlgWnd->GetDlgItemText(id);
    else
        dx.m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    if (!dx.m_bSaveAndValidate) {
        dx.m_pDlgWnd->SetDlgItemText(id, Format("%d", value));
        return;
    }
    long parsed = 0;
    if (!ParseLong(dx.m_pDlgWnd->GetDlgItemText(id), parsed) || parsed < -2147483648L || parsed > 2147483647L)
        dx.Fail(id, "Please enter an integer.");
    else
        value = static_cast<int>(parsed);
}

void DDX_Text(CDataExchange& dx, int id, unsigned& value)
{
    if (!dx.m_bSaveAndValidate) {
        dx.m_pDlgWnd->SetDlgItemText(id, Format("%u", value));
        return;
    }
    const std::string text = dx.m_pDlgWnd->GetDlgItemText(id);
    long parsed = 0;
    if (text.find('-') != std::string::npos || !ParseLong(text, parsed) || parsed < 0 || parsed > 4294967295L)
        dx.Fail(id, "Please enter a positive integer.");
    else
        value = static_cast<unsigned>(parsed);
}

void DDX_Check(CDataExchange& dx, int id, int& value)
{
    if (dx.m_bSaveAndValidate)
        value = dx.m_pDlgWnd->IsDlgButtonChecked(id);
    else
        dx.m_pDlgWnd->CheckDlgButton(id, value);
}

void DDX_Radio(CDataExchange& dx, int firstId, int& value)
{
    if (dx.m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; auto* radio = dx.m_pDlgWnd->Item<QRadioButton>(firstId + i); ++i) {
            if (radio->isChecked()) {
                value = i;
                break;
            }
        }
        return;
    }
    for (int i = 0; auto* radio = dx.m_pDlgWnd->Item<QRadioButton>(firstId + i); ++i)
        radio->setChecked(i == value);
}

void DDX_CBIndex(CDataExchange& dx, int id, int& value)
{
    auto* combo = dx.m_pDlgWnd->Item<QComboBox>(id);
    if (!combo)
        return;
    if (dx.m_bSaveAndValidate)
        value = combo->currentIndex();
    else
        combo->setCurrentIndex(value);
}

void DDV_MaxChars(CDataExchange& dx, int id, std::string& value, int maxChars)
{
    if (dx.m_bSaveAndValidate) {
        if (static_cast<int>(value.size()) > maxChars)
            value.resize(static_cast<size_t>(maxChars));
    } else if (auto* edit = dx.m_pDlgWnd->Item<QLineEdit>(id)) {
        edit->setMaxLength(maxChars);
    }
}

void DDV_MinMaxUInt(CDataExchange& dx, int id, unsigned value, unsigned minValue, unsigned maxValue)
{
    if (dx.m_bSaveAndValidate && !dx.m_bFailed && (value < minValue || value > maxValue))
        dx.Fail(id, Format("Please enter an integer between %u and %u.", minValue, maxValue));
}
