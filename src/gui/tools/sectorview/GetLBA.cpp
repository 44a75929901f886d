#include "gui/tools/sectorview/GetLBA.h"

#include "core/base/UserPrompt.h"
#include "gui/ui/EditEx.h"
#include "gui/ui/SlidingWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

CGetLBA::CGetLBA(QWidget* mainWindow) : CBaseDialog(IDD, mainWindow), m_pMainWindow(mainWindow)
{
    setWindowTitle("Enter Logical Block Address");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    m_edLBA = new CCEditEx(this);
    auto* fwd = new QPushButton("&Fwd", this);
    auto* rev = new QPushButton("&Rev", this);
    auto* hex = new QRadioButton("&Hex", this);
    auto* decimal = new QRadioButton("&Decimal", this);
    auto* close = new QPushButton("&Close", this);
    for (QPushButton* button : {fwd, rev, close})
        button->setAutoDefault(false);
    auto* radix = new QButtonGroup(this);
    radix->addButton(hex);
    radix->addButton(decimal);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(m_edLBA, 0, 0, 1, 2);
    layout->addWidget(fwd, 0, 2);
    layout->addWidget(rev, 0, 3);
    layout->addWidget(hex, 1, 0);
    layout->addWidget(decimal, 1, 1);
    layout->addWidget(close, 1, 3);
    BindControl(IDC_LBA, m_edLBA);
    BindControl(IDC_FWD, fwd);
    BindControl(IDC_REV, rev);
    BindControl(IDC_HEX, hex);
    BindControl(IDC_DECIMAL, decimal);
    BindControl(IDC_CLOSE, close);
    MapCommand(IDC_FWD, [this] { OnFwd(); });
    MapCommand(IDC_REV, [this] { OnRev(); });
    MapCommand(IDC_HEX, [this] { OnHex(); });
    MapCommand(IDC_DECIMAL, [this] { OnDecimal(); });
    MapCommand(IDC_CLOSE, [this] { OnCloseButton(); });
    MapNotify(IDC_LBA, Notify::EditChange, [this] { ReadControls(); });
    MapNotify(IDC_LBA, Notify::KillFocus, [this] { ReadControls(); });
    m_edLBA->installEventFilter(this);
    resize(LbaSlide::kWidth, LbaSlide::kHeight);
}

bool CGetLBA::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    m_edLBA->SetHexMode(true);
    m_Entry.SetText("0");
    RefreshControls();
    ApplyTranslucency(*this);
    return true;
}

void CGetLBA::StartSlide()
{
    StartSlideTimer(*this, kSlideTimer, m_Slide.StartSlide());
}

void CGetLBA::OnTimer(int id)
{
    if (id != kSlideTimer) {
        CBaseDialog::OnTimer(id);
        return;
    }
    SlideTick(*this, kSlideTimer, m_Slide, m_rcMain, m_pMainWindow);
}

void CGetLBA::Dock()
{
    DockBeside(*this, m_Slide, m_rcMain);
}

void CGetLBA::OnFwd()
{
    Send(WM_READSECTOR);
}

void CGetLBA::OnRev()
{
    Send(WM_LBAENTERED);
}

void CGetLBA::Send(UINT message)
{
    ReadControls();
    std::string refusal;
    const std::optional<std::uint32_t> lba = m_Entry.Send(refusal);
    if (!lba) {
        AppMessageBox(refusal);
        return;
    }
    if (auto* main = qobject_cast<CDialog*>(m_pMainWindow))
        main->PostMessage(message, *lba, 0);
}

void CGetLBA::NextLBA()
{
    m_Entry.NextLBA();
    RefreshControls();
}

void CGetLBA::PrevLBA()
{
    m_Entry.PrevLBA();
    RefreshControls();
}

void CGetLBA::OnHex()
{
    ReadControls();
    m_Entry.OnHex();
    m_edLBA->SetHexMode(true);
    RefreshControls();
}

void CGetLBA::OnDecimal()
{
    ReadControls();
    m_Entry.OnDecimal();
    m_edLBA->SetHexMode(false);
    RefreshControls();
}

void CGetLBA::ReadControls()
{
    m_Entry.SetText(m_edLBA->text().toStdString());
}

void CGetLBA::RefreshControls()
{
    const QString text = QString::fromStdString(m_Entry.Text());
    if (m_edLBA->text() != text)
        m_edLBA->setText(text);
    CheckDlgButton(IDC_HEX, m_Entry.IsHex() ? 1 : 0);
    CheckDlgButton(IDC_DECIMAL, m_Entry.IsHex() ? 0 : 1);
}

bool CGetLBA::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edLBA && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
            return true;
        if (key == Qt::Key_Backspace) {
            ReadControls();
            m_Entry.RemoveLastCharacter();
            RefreshControls();
            m_edLBA->setFocus();
            m_edLBA->end(false);
            return true;  // the edit lets no Backspace through itself
        }
    }
    return CBaseDialog::eventFilter(watched, event);
}

void CGetLBA::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}
