#include "gui/tools/sysinfo/SystemInfoPage.h"

#include "core/app/MainPages.h"
#include "core/tools/sysinfo/SystemInfoCommand.h"
#include "gui/app/PageHost.h"
#include "gui/ui/Dialog.h"

#include <QScreen>

#include <optional>
#include <string>
#include <vector>

namespace {

ScreenFacts ScreenOf(const QWidget& window)
{
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return {};
    const QSize size = screen->geometry().size() * screen->devicePixelRatio();
    return {size.width(), size.height()};
}

}  // namespace

void SystemInfoPage::Show(int)
{
    OnSystemInformation();
}

void SystemInfoPage::DriveSelected(int)
{
    OnSystemInformation();
}

void SystemInfoPage::CloseWindows()
{
    *m_stop = true;
}

void SystemInfoPage::OnSystemInformation()
{
    if (m_bBuilding || m_host.RefuseWhileTesting(true) || m_host.DriveHeld())
        return;
    m_bBuilding = true;
    ReportText& report = m_host.Core().m_Report;
    BeginSystemInformation(report);
    m_host.ShowInfoDisplay(false);  // the output box back at its full size
    m_host.ShowPage(kPageSystemInfo);
    report.ClearDisplay();
    // The drive lists are read once the drive work before has ended.
    m_host.WhenDriveIdle([this, &report] {
        const DriveContext& drives = m_host.Core().m_Drives;
        WindowFacts facts;
        facts.screen = ScreenOf(m_host.Window());
        facts.opticalDrives = DriveFactsOf(drives.list.m_DeviceList);
        facts.otherDrives = DriveFactsOf(drives.disks.m_HddList);
        *m_stop = false;
        auto lines = std::make_shared<std::optional<std::vector<std::string>>>();
        SystemReportRun run;
        run.stopRequested = [stop = m_stop] { return stop->load(); };
        m_host.RunToolWork([sources = m_Sources, facts = std::move(facts), run,
                            lines] { *lines = BuildSystemReport(sources, facts, run); },
                           [this, &report, lines] {
                               // A page chosen meanwhile keeps its own lines.
                               EndSystemInformation(report,
                                                    m_host.CurrentPage() == kPageSystemInfo ? *lines : std::nullopt);
                               m_bBuilding = false;
                           });
    });
}
