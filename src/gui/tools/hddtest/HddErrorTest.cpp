#include "gui/tools/hddtest/HddErrorTest.h"

#include "core/tools/disk/DiskToolIds.h"
#include "gui/graphs/HddGraphStatic.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

using namespace disktool;

CHddErrorTest::CHddErrorTest(DiskToolHost host, QWidget* parent) :
    CDiskTestDialog(IDD, "HDD Error Test", parent),
    m_BufferSlider(new QSlider(Qt::Horizontal, this)),
    m_edBufferSize(new QLineEdit(this)),
    m_Control(std::move(host), CellMap(), sink())
{
    BindControl(IDC_BUFFERSIZE_LABEL, new QLabel("Buffer Size", this));
    BindControl(IDC_BUFFERSLIDER, m_BufferSlider);
    BindControl(IDC_BUFFERSIZE, m_edBufferSize);
    m_edBufferSize->setReadOnly(true);
    m_BufferSlider->setTickInterval(1);
    m_BufferSlider->setTickPosition(QSlider::TicksBelow);
    connect(m_BufferSlider, &QSlider::valueChanged, this, [this] {
        if (!m_bSettingSlider)
            OnHScroll();
    });
}

CHddErrorTest::~CHddErrorTest()
{
    m_Control.OnStopTest();
    m_Control.JoinWorker();
}

bool CHddErrorTest::OnInitDialog()
{
    CDiskTestDialog::OnInitDialog();
    InitCommon(m_Control.DriveComboItems());
    LayoutControls();
    return true;
}

void CHddErrorTest::OnSelchangeDrive()
{
    const int shown = m_Control.ChooseDrive(DriveCombo().currentIndex(), [this](const DiskSelection& selection) {
        ShowSelection(selection);
        ShowProbing(false);
    });
    ShowChoice(shown, m_Control.Probing());
}

void CHddErrorTest::ShowSelection(const DiskSelection& selection)
{
    ShowDriveFields(selection.fields);
    m_bSettingSlider = true;
    m_BufferSlider->setRange(1, selection.sliderMax);
    m_BufferSlider->setValue(selection.sliderPos);
    m_bSettingSlider = false;
    SetDlgItemText(IDC_BUFFERSIZE, selection.bufferSizeText);
}

void CHddErrorTest::OnHScroll()
{
    SetDlgItemText(IDC_BUFFERSIZE, m_Control.OnHScroll(m_BufferSlider->value()));
}

void CHddErrorTest::OnStartTest()
{
    if (m_Control.OnStartTest())
        EnableChoices(false);
}

void CHddErrorTest::OnStopTest()
{
    m_Control.OnStopTest();
}

void CHddErrorTest::EnableChoices(bool enable)
{
    EnableDlgItem(IDC_BUFFERSLIDER, enable);
    EnableDlgItem(IDC_DRIVECOMBO, enable);
}

void CHddErrorTest::LayoutControls()
{
    LayoutCommon(116);
    MoveDlgItem(IDC_BUFFERSIZE_LABEL, 526, 452, 64, 22);
    MoveDlgItem(IDC_BUFFERSLIDER, 590, 452, 92, 22);
    MoveDlgItem(IDC_BUFFERSIZE, 686, 452, 59, 22);
}
