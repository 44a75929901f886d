#include "gui/info/MediaInfoPage.h"

#include "core/app/MainPages.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/info/MediaInfoReport.h"
#include "gui/app/PageHost.h"
#include "gui/info/MediaInfo.h"
#include "gui/ui/ShellOpen.h"

#include <memory>

MediaInfoPage::MediaInfoPage(PageHost& host) : m_host(host), m_dlg(host.Window())
{
}

void MediaInfoPage::Show(int)
{
    OnMediaInfo();
}

// The report windows come only when asked for (the button, Refresh, the
// tools list): another drive or disc only clears what was read of the last.
void MediaInfoPage::DriveSelected(int page)
{
    DiscRemoved(page);
}

void MediaInfoPage::DiscArrived(int page)
{
    DiscRemoved(page);
}

void MediaInfoPage::DiscRemoved(int page)
{
    if (page == kPageMediaInfo)
        ClearMediaInfoReport();
    else
        m_host.ClearReport();
}

void MediaInfoPage::Refresh(int page)
{
    if (page == kPageMediaInfo)
        GeneralInfo();
}

void MediaInfoPage::ToolsItemChosen(int item)
{
    if (item == kToolsBurnInfo)
        ShowBurnerInfo();
    else
        ShowCompleteMediaCode();
}

void MediaInfoPage::OnMediaInfo()
{
    LogEntry("Media Info command received - Calling GeneralInfo()");
    GeneralInfo();
}

void MediaInfoPage::GeneralInfo()
{
    m_host.ShowPage(kPageMediaInfo);
    if (m_bReportOpen || m_host.RefuseWhileTesting(true))
        return;
    m_bReportOpen = true;
    MainDialogCore& core = m_host.Core();
    auto lines = std::make_shared<ReportText>();
    auto outcome = std::make_shared<MediaInfoOutcome>();
    const bool scanWindowOpen = m_host.ScanWindowOpen();
    m_host.RunDriveWork(
        [&core, lines, outcome, scanWindowOpen] {
            *outcome = MediaInfoReport(core.m_Drives, core.m_Report, *lines).GeneralInfo(scanWindowOpen);
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
                CMediaInfo window(lines, &m_dlg);
                window.m_HomePage = [this] { m_host.ShowHomePage(); };
                window.DoModal();
                m_host.ShowStatus("Ready");
                LogEntry("End Generalinfo()");
            }
            m_bReportOpen = false;
            if (outcome->showDriveInfo)
                m_host.OpenPage(kPageDriveInfo);
        });
}

int MediaInfoPage::ShowCompleteMediaCode()
{
    LogEntry("Start DoCompleteMediaCode()");
    m_host.ShowPage(kPageMediaCode);
    MainDialogCore& core = m_host.Core();
    core.m_Report.ClearDisplayLines();
    if (m_bReportOpen)
        return 0;
    m_bReportOpen = true;
    auto lines = std::make_shared<ReportText>();
    auto count = std::make_shared<int>(0);
    m_host.RunDriveWork(
        [&core, lines, count] {
            *count = MediaInfoReport(core.m_Drives, core.m_Report, *lines).DoCompleteMediaCode(0);
        },
        [this, lines, count] {
            if (*count == 0)
                m_host.SetCurrentPage(kPageDriveInfo);
            CMediaInfo window(lines, &m_dlg);
            window.m_HomePage = [this] { m_host.ShowHomePage(); };
            window.DoModal();
            m_bReportOpen = false;
        });
    return 0;
}

void MediaInfoPage::ShowBurnerInfo()
{
    m_host.ShowPage(kPageInfoDisplay);
    MainDialogCore& core = m_host.Core();
    m_host.RunDriveWork([&core] { ::ShowBurnerInfo(core.m_Drives, core.m_Report); });
}

void MediaInfoPage::ClearMediaInfoReport()
{
    // The title stays for the next report.
    ReportText& report = m_host.Core().m_Report;
    report.ClearDisplay();
    report.SetLine(0, Format("%28s%s%28s", " ", "Media Information", " "));
}
