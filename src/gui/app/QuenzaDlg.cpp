#include "gui/app/QuenzaDlg.h"

#include "core/app/AppProfile.h"
#include "core/app/BusyFlags.h"
#include "core/app/Format.h"
#include "core/app/LogFile.h"

CQuenzaDlg::CQuenzaDlg(QWidget* parent) : CQuenzaDlg(DriveSources::FromEnvironment(), parent) {}

CQuenzaDlg::CQuenzaDlg(DriveSources sources, QWidget* parent) : CDialog(102, parent), m_Core(std::move(sources))
{
    g_bCompareRunning = 0;
    g_bCreateIsoRunning = 0;
    g_bSpeedTestRunning = 0;
    g_bErrorTestRunning = 0;
    setWindowTitle(QString::fromStdString(Format("Quenzario V%.3f", GetProgramVersionNumber())));
    resize(748, 560);
}

CQuenzaDlg::~CQuenzaDlg() = default;

bool CQuenzaDlg::OnInitDialog()
{
    LogEntry("Start main window class");
    CDialog::OnInitDialog();
    if (!m_Core.m_Drives.InitInterfaces())
        EndDialog(0);  // the reason has been shown
    return true;
}

void CQuenzaDlg::OnClose()
{
    if (m_bPiPoActive == 1 || AnyBusyFlagSet())
        return;
    OnExitProgram();
}

void CQuenzaDlg::OnExitProgram()
{
    LogEntry("Exit program command received");
    LogEntry("Saving current device");
    WriteAppProfileInt("SelectedDevice", m_Core.m_Drives.GetDeviceComboSel());
    LogEntry("Destroying device list array");
    m_Core.m_Drives.ReleaseDevices();
    m_Core.m_Drives.m_ScsiCommand.CloseAssociateHandle();
    LogEntry("Calling EndDialog()");
    EndDialog(0);
}
