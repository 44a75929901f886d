#include "MainWindowRig.h"
#include "gui/tools/testpage/TestResultsList.h"

#include "core/app/TestPageControls.h"
#include "support/gui/ScopedModalHook.h"

#include <functional>

// What a page leaves behind when another comes, and what it shows when
// another drive is chosen.

TEST(PageChanges, ThePagesControlsLeaveWithItAndItsStartRunsNothingElsewhere)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    struct Case {
        const char* page;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"error test", [&] { dialog.SendCommand(IDC_ERRORTEST); }},
        {"speed test", [&] { dialog.SendCommand(IDC_SPEEDTEST); }},
        {"compare", [&] { dialog.SendCommand(IDC_COMPARE); }},
        {"disc hash", [&] { rig.ChooseTool(kToolsDiscMd5); }},
        {"file hash", [&] { rig.ChooseTool(kToolsFileSha1); }},
    };
    for (const Case& c : cases) {
        c.open();
        rig.Settle();
        ASSERT_TRUE(rig.Shown(IDC_START)) << c.page;
        ASSERT_TRUE(rig.Shown(IDC_PROGRESS2)) << c.page;
        rig.ChooseTool(kToolsSectorViewer);
        EXPECT_EQ(dialog.m_nCurrentPage, kPageInfoDisplay) << c.page;
        EXPECT_TRUE(rig.Shown(IDC_OUTPUT)) << c.page;
        for (int id : {IDC_START, IDC_STOP, IDC_SAVE, IDC_PROGRESS, IDC_PROGRESS2})
            EXPECT_FALSE(rig.Shown(id)) << c.page << " " << id;
        // The buttons' commands (a key, a test's end) run no other page's.
        for (int id : {IDC_START, IDC_SAVE, IDC_STOP})
            dialog.SendCommand(id);
        rig.Settle();
        EXPECT_EQ(dialog.m_nCurrentPage, kPageInfoDisplay) << c.page;
        EXPECT_EQ(g_bSpeedTestRunning, 0) << c.page;
        EXPECT_FALSE(rig.Shown(IDC_START)) << c.page;
        EXPECT_TRUE(rig.prompt.asked.empty()) << c.page;
    }
    // The hash pages' bars come back with their page.
    rig.ChooseTool(kToolsFileMd5);
    EXPECT_TRUE(rig.Shown(IDC_PROGRESS));
    EXPECT_TRUE(rig.Shown(IDC_PROGRESS2));
}

TEST(PageChanges, AfterTheMediaPageAnotherDriveShowsItsOwnFacts)
{
    MainWindowRig rig;
    rig.Start();
    const std::string firmware = rig.Text(IDC_FIRMWARE);
    const std::string serial = rig.Text(IDC_SERIAL_NO);
    ASSERT_FALSE(rig.Ticked(IDC_READ_BD_R));  // the DVD writer
    int reports = 0;
    ScopedModalHook hook([&reports](CDialog&) { return ++reports, 1; });
    rig.dialog->SendCommand(IDC_MEDIAINFO);
    rig.Settle();
    ASSERT_EQ(reports, 1);
    ASSERT_EQ(rig.dialog->m_nCurrentPage, kPageMediaInfo);

    rig.SelectDrive(1);
    EXPECT_EQ(reports, 1);  // the report's window comes only when asked for
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageMediaInfo);
    EXPECT_EQ(rig.Text(IDC_MODEL), "QNZEMU  BD-RE QBR-1240");
    EXPECT_EQ(rig.Text(IDC_FIRMWARE), "2.10");
    EXPECT_EQ(rig.Text(IDC_SERIAL_NO), "QBR12400001");
    EXPECT_NE(rig.Text(IDC_FIRMWARE) + rig.Text(IDC_SERIAL_NO), firmware + serial);
    EXPECT_TRUE(rig.Ticked(IDC_READ_BD_R));
    EXPECT_TRUE(rig.Ticked(IDC_WRITE_BD_RE));
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "BD-R");
}

TEST(PageChanges, AnotherDriveLeavesNoPageWithThePreviousDrivesResultsOrRange)
{
    MainWindowRig rig(MainWindowRig::Presets{{"dvd-writer", "dvd+r"}, {"bd-writer", "bd-r"}, {"dvd-writer", "dvd-r"}});
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    MainDialogCore& core = dialog.m_Core;

    // The disc hash: the new disc's whole range, not a range of the previous disc.
    rig.ChooseTool(kToolsDiscMd5);
    const std::int64_t dvdEnd = core.m_nHashEndLba;
    core.m_nHashStartLba = 10;
    rig.SelectDrive(1);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageDiscHash);
    EXPECT_EQ(core.m_nHashStartLba, 0);
    EXPECT_GT(core.m_nHashEndLba, dvdEnd);  // the BD-R holds more

    // The error test's and the compare's lists.
    const auto results = [&] { return dialog.Item<TestResultsList>(testpage::kResults)->count(); };
    for (int button : {IDC_ERRORTEST, IDC_COMPARE}) {
        dialog.SendCommand(button);
        rig.Settle();
        const int page = dialog.m_nCurrentPage;
        dialog.m_TestPage.AddListLine("Sector 1234h");
        PumpPostedMessages();
        ASSERT_EQ(results(), 2) << button;
        rig.SelectDrive(dialog.Item<QComboBox>(IDC_DEVICES)->currentIndex() == 0 ? 1 : 0);
        EXPECT_EQ(dialog.m_nCurrentPage, page) << button;
        EXPECT_EQ(results(), 1) << button;  // the heading alone
    }

    // The burn information is the new drive's disc's.
    rig.SelectDrive(0);
    rig.ChooseTool(kToolsBurnInfo);
    EXPECT_NE(core.m_Report.GetLine(2).find("This DVD+R holds no burner information"), std::string::npos);
    rig.SelectDrive(2);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageInfoDisplay);
    EXPECT_EQ(core.m_Report.GetLine(2).find("This DVD+R"), std::string::npos);
    EXPECT_NE(core.m_Report.GetLine(0).find("Info on burner used to create this disc"), std::string::npos);
    EXPECT_TRUE(rig.prompt.asked.empty());
}
