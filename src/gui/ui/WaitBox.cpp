#include "gui/ui/WaitBox.h"

#include <QLabel>
#include <QVBoxLayout>

CWaitBox::CWaitBox(QWidget* parent) : CBaseDialog(IDD, parent)
{
    setWindowTitle("Quenzario");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    auto* text = new QLabel(QString::fromStdString(m_strText), this);
    text->setAlignment(Qt::AlignCenter);
    text->setMinimumWidth(280);
    layout->addWidget(text);
    BindControl(1600, text);
    SetEndedByOwnerOnly();
}

void CWaitBox::SetText(const std::string& text)
{
    m_strText = text;
    UpdateData(false);
}

void CWaitBox::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, 1600, m_strText);
}
