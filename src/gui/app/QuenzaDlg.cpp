#include "gui/app/QuenzaDlg.h"

#include "core/app/AppProfile.h"
#include "core/app/BusyFlags.h"
#include "core/app/Format.h"
#include "core/app/LogFile.h"

CQuenzaDlg::CQuenzaDlg(QWidget* parent) : CDialog(102, parent)
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
    LogEntry("Calling EndDialog()");
    EndDialog(0);
}
