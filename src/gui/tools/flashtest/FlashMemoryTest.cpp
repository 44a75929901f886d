#include "gui/tools/flashtest/FlashMemoryTest.h"

#include "core/tools/disk/DiskToolIds.h"
#include "gui/graphs/HddGraphStatic.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

using namespace disktool;

CFlashMemoryTest::CFlashMemoryTest(DiskToolHost host, QWidget* parent) :
    CDiskTestDialog(IDD, "Flash Memory Tester", parent), m_Control(std::move(host), CellMap(), sink())
{
    BindControl(IDC_FLASHDRIVE_LABEL, new QLabel("Choose Flash Drive to Test", this));
    BindControl(IDC_QUICKTEST, new QRadioButton("Quick R/W Test", this));
    BindControl(IDC_FULLTEST, new QRadioButton("Full R/W Test", this));
}

CFlashMemoryTest::~CFlashMemoryTest()
{
    m_Control.OnStopTest();
    m_Control.JoinWorker();
}

bool CFlashMemoryTest::OnInitDialog()
{
    m_Control.m_nTestType = 0;
    CDiskTestDialog::OnInitDialog();
    InitCommon(m_Control.DriveComboItems());
    LayoutControls();
    return true;
}

void CFlashMemoryTest::DoDataExchange(CDataExchange& dx)
{
    DDX_Radio(dx, IDC_QUICKTEST, m_Control.m_nTestType);
}

void CFlashMemoryTest::OnSelchangeDrive()
{
    const int shown = m_Control.ChooseDrive(DriveCombo().currentIndex(), [this](const DiskDriveFields& fields) {
        ShowDriveFields(fields);
        UpdateData(false);
        ShowProbing(false);
    });
    ShowChoice(shown, m_Control.Probing());
}

void CFlashMemoryTest::OnStartTest()
{
    UpdateData(true);
    if (m_Control.OnStartTest())
        EnableChoices(false);
}

void CFlashMemoryTest::OnStopTest()
{
    m_Control.OnStopTest();
}

void CFlashMemoryTest::EnableChoices(bool enable)
{
    for (int id : {IDC_QUICKTEST, IDC_FULLTEST, IDC_DRIVECOMBO})
        EnableDlgItem(id, enable);
}

void CFlashMemoryTest::LayoutControls()
{
    LayoutCommon(186);
    MoveDlgItem(IDC_FLASHDRIVE_LABEL, 16, 504, 168, 24);
    MoveDlgItem(IDC_QUICKTEST, 526, 448, 128, 22);
    MoveDlgItem(IDC_FULLTEST, 656, 448, 92, 22);
}
