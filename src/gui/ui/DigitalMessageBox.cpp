#include "gui/ui/DigitalMessageBox.h"

#include "gui/ui/MatrixStatic.h"

#include <QVBoxLayout>

namespace {
constexpr int kColumns = 50;
}  // namespace

CDigitalMessageBox::CDigitalMessageBox(QWidget* parent) : CBaseDialog(IDD, parent), m_pDisplay(new CMatrixStatic(this))
{
    setWindowTitle("Quenzario Drive Scan ...");
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(m_pDisplay);
    BindControl(1519, m_pDisplay);
    SetEndedByOwnerOnly();
}

bool CDigitalMessageBox::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    m_colors = ReadColorScheme();
    SetUpOneLineDisplay(*m_pDisplay, kColumns, m_colors);
    show();
    return true;
}

void CDigitalMessageBox::SetMessageText(const std::string& text)
{
    m_pDisplay->SetText(text);
}
