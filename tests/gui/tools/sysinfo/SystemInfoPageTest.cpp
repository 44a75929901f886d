#include "core/app/MainPages.h"
#include "core/base/BusyFlags.h"
#include "gui/app/MainWindowRig.h"
#include "gui/tools/sysinfo/SystemInfoPage.h"
#include "support/SysinfoFakes.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <string>

namespace {

const std::string kMachine = std::string(QUENZA_SOURCE_DIR) + "/tests/core/tools/sysinfo/machine";

// The fixture machine with `extra` more input devices, so its report runs
// past the 128 lines the other reports show.
struct MachineCopy {
    explicit MachineCopy(int extra)
    {
        namespace fs = std::filesystem;
        fs::copy(kMachine, dir.Path(), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        for (int i = 0; i < extra; ++i) {
            const fs::path input = fs::path(dir.Path()) / "sys/class/input" / ("input" + std::to_string(100 + i));
            fs::create_directories(input);
            WriteFileText((input / "name").string(), "Test Keyboard " + std::to_string(i) + "\n");
        }
    }
    TempDir dir;
};

int LineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST(SystemInfoPage, TheSysButtonShowsTheWholeReportOfTheMachine)
{
    MachineCopy machine(60);
    MainWindowRig rig;
    rig.Start();
    rig.PageObject<SystemInfoPage>().m_Sources = FixtureSystemSources(machine.dir.Path());
    CQuenzaDlg& dialog = *rig.dialog;
    ReportText& report = dialog.m_Core.m_Report;

    dialog.SendCommand(IDC_SYSINFO);
    EXPECT_EQ(report.GetStatusText(), "Please Wait...");
    EXPECT_EQ(dialog.m_nCurrentPage, kPageSystemInfo);
    dialog.WaitForToolWork();
    PumpPostedMessages();

    EXPECT_EQ(report.GetStatusText(), "Ready");
    EXPECT_TRUE(rig.Shown(IDC_OUTPUT));
    const std::string shown = rig.Text(IDC_OUTPUT);
    EXPECT_GT(LineCount(shown), 128);
    for (const char* part :
         {"System Information", "This report includes the computer's host name and network addresses.",
          "Debian GNU/Linux 12 (bookworm)", "Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz", "Optical Drives",
          "Test Keyboard 0", "Test Keyboard 59"})
        EXPECT_NE(shown.find(part), std::string::npos) << part;
    // The window's own drives are named.
    const std::string drive = dialog.m_Core.m_Drives.list.m_DeviceList.front()->m_strIdentity;
    EXPECT_NE(shown.find(drive), std::string::npos) << drive;

    // Copy takes the whole report too.
    dialog.SendCommand(IDC_COPY);
    EXPECT_NE(QGuiApplication::clipboard()->text().toStdString().find("Test Keyboard 59"), std::string::npos);

    // Another drive chosen on the page: the report is built again.
    report.ClearDisplay();
    rig.SelectDrive(1);
    dialog.WaitForToolWork();
    PumpPostedMessages();
    EXPECT_NE(rig.Text(IDC_OUTPUT).find("Test Keyboard 59"), std::string::npos);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageSystemInfo);
}

TEST(SystemInfoPage, APageChosenBeforeTheReportEndsKeepsItsLines)
{
    MainWindowRig rig;
    rig.Start();
    // The report waits at its network section until the listing is done.
    std::promise<void> listed;
    SystemSources sources = FixtureSystemSources(kMachine);
    sources.interfaceAddresses = [addresses = sources.interfaceAddresses, done = listed.get_future().share()] {
        done.wait();
        return addresses();
    };
    rig.PageObject<SystemInfoPage>().m_Sources = sources;
    CQuenzaDlg& dialog = *rig.dialog;
    dialog.SendCommand(IDC_SYSINFO);
    rig.ChooseTool(kToolsModePages);
    EXPECT_NE(rig.Text(IDC_OUTPUT).find("Drive Mode pages"), std::string::npos);
    listed.set_value();
    dialog.WaitForToolWork();
    PumpPostedMessages();
    EXPECT_EQ(dialog.m_nCurrentPage, kPageModePages);
    EXPECT_EQ(rig.Text(IDC_OUTPUT).find("System Information"), std::string::npos);
    EXPECT_NE(rig.Text(IDC_OUTPUT).find("Drive Mode pages"), std::string::npos);
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Ready");
}

TEST(SystemInfoPage, RefusedWhileATestRuns)
{
    MainWindowRig rig;
    rig.Start();
    rig.PageObject<SystemInfoPage>().m_Sources = FixtureSystemSources(kMachine);
    g_bSpeedTestRunning = 1;
    rig.dialog->SendCommand(IDC_SYSINFO);
    g_bSpeedTestRunning = 0;
    rig.dialog->WaitForToolWork();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageDriveInfo);
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetDisplayText().find("System Information"), std::string::npos);
}
