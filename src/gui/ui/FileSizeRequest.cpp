#include "gui/ui/FileSizeRequest.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CFileSizeRequest::CFileSizeRequest(QWidget* parent) : CDialog(IDD, parent)
{
    setWindowTitle("Quenzario");
    auto* prompt = new QLabel("Please enter a size to save (max 2048)", this);
    auto* size = new QLineEdit(this);
    auto* ok = new QPushButton("&OK", this);
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(size, 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(row);
    BindControl(IDOK, ok);
    BindControl(IDC_SIZE, size);
}

bool CFileSizeRequest::OnInitDialog()
{
    m_dwSize = kMaxSize;
    return CDialog::OnInitDialog();
}

void CFileSizeRequest::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_SIZE, m_dwSize);
    DDV_MinMaxUInt(dx, IDC_SIZE, m_dwSize, 1, kMaxSize);
}
