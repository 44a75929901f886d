#include "core/base/LogFile.h"
#include "core/app/MainPages.h"
#include "core/base/UserPrompt.h"
#include "core/info/MediaInfoReport.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/info/MediaInfo.h"
#include "gui/ui/ShellOpen.h"

#include <memory>

namespace {

// A report window is open or being filled: a disc arriving meanwhile starts no second one.
bool g_reportOpen = false;

}  // namespace

void CQuenzaDlg::OnMediaInfo()
{
    LogEntry("Media Info command received - Calling GeneralInfo()");
    GeneralInfo();
}

void CQuenzaDlg::GeneralInfo()
{
    ShowPage(kPageMediaInfo);
    if (g_reportOpen || RefuseWhileTesting(true))
        return;
    g_reportOpen = true;
    auto lines = std::make_shared<ReportText>();
    auto outcome = std::make_shared<MediaInfoOutcome>();
    const bool scanWindowOpen = m_bPiPoActive == 1;
    RunDriveWork(
        [this, lines, outcome, scanWindowOpen] {
            *outcome = MediaInfoReport(m_Core.m_Drives, m_Core.m_Report, *lines).GeneralInfo(scanWindowOpen);
        },
        [this, lines, outcome] {
            if (!outcome->messageBox.empty())
                AppMessageBox(outcome->messageBox, outcome->caption, outcome->boxType);
            if (outcome->unknown
                && AppMessageBox("The media you have is unknown by Quenzario. Please email this media code for "
                                 "addition in the program now?",
                                 "Unknown Media Code", MB_YESNO | MB_ICONQUESTION)
                    == IDYES)
                ShellOpen(MediaCodeMailLink(*outcome->unknown));
            if (outcome->show) {
                CMediaInfo window(lines, this);
                window.m_HomePage = [this] { OnHomePage(); };
                window.DoModal();
                ShowStatus("Ready");
                LogEntry("End Generalinfo()");
            }
            g_reportOpen = false;
            if (outcome->showDriveInfo)
                OnDriveinfo();
        });
}

int CQuenzaDlg::ShowCompleteMediaCode()
{
    LogEntry("Start DoCompleteMediaCode()");
    ShowPage(kPageMediaCode);
    m_Core.m_Report.ClearDisplayLines();
    if (g_reportOpen)
        return 0;
    g_reportOpen = true;
    auto lines = std::make_shared<ReportText>();
    auto count = std::make_shared<int>(0);
    RunDriveWork([this, lines,
                  count] { *count = MediaInfoReport(m_Core.m_Drives, m_Core.m_Report, *lines).DoCompleteMediaCode(0); },
                 [this, lines, count] {
                     if (*count == 0)
                         m_nCurrentPage = kPageDriveInfo;
                     CMediaInfo window(lines, this);
                     window.m_HomePage = [this] { OnHomePage(); };
                     window.DoModal();
                     g_reportOpen = false;
                 });
    return 0;
}

void CQuenzaDlg::ShowBurnerInfo()
{
    ShowPage(kPageInfoDisplay);
    RunDriveWork([this] { ::ShowBurnerInfo(m_Core.m_Drives, m_Core.m_Report); });
}
