#include "MainWindowRig.h"
#include "core/base/AppProfile.h"
#include "core/app/DeviceBroadcast.h"
#include "gui/tools/sectorview/SectorViewPage.h"
#include "gui/ui/BaseDialog.h"
#include "support/gui/ScopedModalHook.h"

#include <QApplication>
#include <QKeyEvent>

#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace {

// What a close must leave alone when it does not go ahead.
void ExpectUntouched(MainWindowRig& rig)
{
    CQuenzaDlg& dialog = *rig.dialog;
    EXPECT_EQ(dialog.ModalResult(), -1);
    EXPECT_FALSE(dialog.GetDlgItem(IDC_HELP)->toolTip().isEmpty());
    EXPECT_TRUE(dialog.GetDlgItem(IDC_DEVICES)->isEnabled());
    EXPECT_TRUE(dialog.GetDlgItem(IDC_TOOLS)->isEnabled());
    EXPECT_EQ(dialog.m_Core.m_Drives.list.m_DeviceList.size(), 3u);
    EXPECT_NE(dialog.Watcher(), nullptr);
}

void PressEscape(CQuenzaDlg& dialog)
{
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
}

}  // namespace

TEST(MainWindowGuards, CloseAndEscapeLeaveEverythingWhileAnOperationRunsOrTheTrayIsLockedAndEscapeNeverCloses)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;

    for (std::atomic<int>* flag : {&g_bCompareRunning, &g_bMediaHashRunning, &g_bErrorTestRunning}) {
        *flag = 1;
        dialog.SendMessage(WM_CLOSE);
        PressEscape(dialog);
        ExpectUntouched(rig);
        *flag = 0;
    }
    EXPECT_TRUE(rig.prompt.asked.empty());  // a close is refused without a word

    // The tray menu's Exit says why.
    g_bSpeedTestRunning = 1;
    dialog.SendCommand(ID_EXIT_PROGRAM);
    g_bSpeedTestRunning = 0;
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
    EXPECT_EQ(rig.prompt.asked[0].caption, "Error Test Running!");

    // A locked tray refuses silently, before anything is torn down.
    dialog.m_Core.m_Drives.mmc.m_bTrayLocked = 1;
    dialog.SendMessage(WM_CLOSE);
    PressEscape(dialog);
    dialog.SendCommand(ID_EXIT_PROGRAM);
    ExpectUntouched(rig);
    EXPECT_EQ(rig.prompt.asked.size(), 1u);

    dialog.m_Core.m_Drives.mmc.m_bTrayLocked = 0;
    // Escape never ends the window, even with nothing running; the close box does.
    PressEscape(dialog);
    rig.Settle();
    ExpectUntouched(rig);
    dialog.SendMessage(WM_CLOSE);
    rig.Settle();
    EXPECT_EQ(dialog.ModalResult(), 0);
    EXPECT_EQ(GetAppProfileInt("SelectedDevice", -9), 0);
}

TEST(MainWindowGuards, AnExitWaitsForTheDriveWorkThatUsesTheDrivesAndDropsWhatWasAskedBehindIt)
{
    // Asked after a close that waits for the drive work: once the exit has
    // run each would act on the drives it let go.
    const std::vector<std::pair<const char*, std::function<void(CQuenzaDlg&)>>> cases = {
        {"the close again", [](CQuenzaDlg& dialog) { dialog.SendMessage(WM_CLOSE); }},
        {"another drive chosen",
         [](CQuenzaDlg& dialog) {
             dialog.Item<QComboBox>(IDC_DEVICES)->setCurrentIndex(2);
             dialog.SendNotify(IDC_DEVICES, Notify::SelChange);
         }},
        {"a drive came",
         [](CQuenzaDlg& dialog) {
             dialog.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, KeepDeviceBroadcast({DBT_DEVTYP_VOLUME, "sr4", 0}));
         }},
    };
    for (const auto& [what, ask] : cases) {
        MainWindowRig rig;
        rig.Start();
        CQuenzaDlg& dialog = *rig.dialog;
        {
            // Holding the channel keeps the drive work under way until the requests are in.
            auto channel = dialog.m_Core.m_Drives.m_ScsiCommand.Lock();
            dialog.SendCommand(IDC_DRIVEINFO);
            dialog.SendMessage(WM_CLOSE);
            ask(dialog);
            EXPECT_FALSE(dialog.m_Core.m_Drives.list.m_DeviceList.empty()) << what;
        }
        rig.Settle();
        EXPECT_EQ(dialog.ModalResult(), 0) << what;
        EXPECT_TRUE(dialog.m_Core.m_Drives.list.m_DeviceList.empty()) << what;
        EXPECT_TRUE(rig.prompt.asked.empty()) << what << ": " << rig.prompt.asked.front().text;
        const std::string log = rig.log.Text();
        EXPECT_EQ(log.find(" Calling EndDialog()"), log.rfind(" Calling EndDialog()")) << what;  // the exit ran once
    }
}

TEST(MainWindowGuards, AToolWindowIsDeletedOnceWhoeverClosesItFirst)
{
    for (const bool closesItself : {true, false}) {
        MainWindowRig rig;
        rig.Start();
        CQuenzaDlg& dialog = *rig.dialog;
        auto* viewer = new CGetLBA(&dialog);
        int deleted = 0;
        QObject::connect(viewer, &QObject::destroyed, [&deleted] { ++deleted; });
        viewer->SetModeless(true);
        viewer->Create();
        rig.PageObject<SectorViewPage>().m_pGetLbaDlg.Adopt(viewer);
        if (closesItself) {
            viewer->SendCommand(IDCANCEL);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_FALSE(rig.PageObject<SectorViewPage>().m_pGetLbaDlg);
        }
        dialog.SendMessage(WM_CLOSE);
        rig.Settle();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(dialog.ModalResult(), 0);
        EXPECT_FALSE(rig.PageObject<SectorViewPage>().m_pGetLbaDlg);
        rig.dialog.reset();
        EXPECT_EQ(deleted, 1) << closesItself;
    }
}

TEST(MainWindowGuards, ARescanWaitsUntilNoOperationCanUseTheDriveRecords)
{
    MainWindowRig rig;
    rig.Start();
    rig.SelectDrive(1);
    CQuenzaDlg& dialog = *rig.dialog;
    const CDevice* before = dialog.m_Core.m_Drives.list.m_pCurrentDevice;
    // A mark only the old record carries: a rebuilt record reads its fields from the drive again.
    dialog.m_Core.m_Drives.list.m_pCurrentDevice->m_strFirmware = "old record";
    const auto driveCame = [&dialog] {
        dialog.PostMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, KeepDeviceBroadcast({DBT_DEVTYP_VOLUME, "sr4", 0}));
    };

    g_bErrorTestRunning = 1;
    driveCame();
    rig.Settle();
    EXPECT_EQ(dialog.m_Core.m_Drives.list.m_pCurrentDevice, before);  // the record lives on
    EXPECT_EQ(dialog.m_Core.m_Drives.list.m_DeviceList.size(), 3u);
    EXPECT_TRUE(dialog.HasTimer(RESCAN_TIMER));
    dialog.FireTimer(RESCAN_TIMER);
    rig.Settle();
    EXPECT_EQ(dialog.m_Core.m_Drives.list.m_pCurrentDevice, before);

    g_bErrorTestRunning = 0;
    dialog.FireTimer(RESCAN_TIMER);
    rig.Settle();
    EXPECT_FALSE(dialog.HasTimer(RESCAN_TIMER));
    EXPECT_NE(dialog.m_Core.m_Drives.list.m_pCurrentDevice->m_strFirmware, "old record");
    EXPECT_EQ(dialog.Item<QComboBox>(IDC_DEVICES)->currentIndex(), 1);  // the selection is kept
    EXPECT_EQ(dialog.m_Core.m_Drives.list.m_pCurrentDevice->m_strDriveText, "emu1");
    EXPECT_EQ(rig.Text(IDC_MODEL), "QNZEMU  BD-RE QBR-1240");
    EXPECT_NE(rig.log.Text().find("Rescanning drives..."), std::string::npos);
    EXPECT_TRUE(dialog.GetDlgItem(IDC_DEVICES)->isEnabled());
}

TEST(MainWindowGuards, DriveCommandsRunOffTheWindowsThread)
{
    MainWindowRig rig;
    rig.Start();
    std::thread::id ejectedOn;
    rig.drives[0]->AddTrayListener([&ejectedOn] { ejectedOn = std::this_thread::get_id(); });
    rig.dialog->SendCommand(IDC_EJECT);
    rig.Settle();
    EXPECT_TRUE(rig.drives[0]->TrayOpen());
    EXPECT_NE(ejectedOn, std::thread::id());
    EXPECT_NE(ejectedOn, std::this_thread::get_id());
}

TEST(MainWindowGuards, ADriveChangeIsRefusedWhileATestRunsAndTheListShowsTheCurrentDrive)
{
    MainWindowRig rig;
    rig.Start();
    g_bSpeedTestRunning = 1;
    rig.SelectDrive(2);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
    EXPECT_EQ(rig.dialog->Item<QComboBox>(IDC_DEVICES)->currentIndex(), 0);
    EXPECT_EQ(rig.dialog->m_Core.m_Drives.list.m_pCurrentDevice->m_strDriveText, "emu0");
    rig.dialog->SendCommand(IDC_EJECT);
    EXPECT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_FALSE(rig.drives[0]->TrayOpen());
}

TEST(MainWindowGuards, TheSettingsWaitForAReadTestOrTheScanWindowButNotForAnIsoBeingMade)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    int opened = 0;
    ScopedModalHook hook([&](CDialog&) {
        ++opened;
        return IDCANCEL;
    });
    const struct {
        const char* running;
        std::function<void(int)> set;
        bool refused;
    } cases[] = {
        {"error test", [](int on) { g_bErrorTestRunning = on; }, true},
        {"speed test", [](int on) { g_bSpeedTestRunning = on; }, true},
        {"scan window", [&dialog](int on) { dialog.m_bPiPoActive = on; }, true},
        {"ISO creation", [](int on) { g_bCreateIsoRunning = on; }, false},
    };
    for (const auto& test : cases) {
        rig.prompt.asked.clear();
        opened = 0;
        test.set(1);
        dialog.SendCommand(IDC_SETTINGS);
        test.set(0);
        EXPECT_EQ(opened, test.refused ? 0 : 1) << test.running;
        if (test.refused) {
            ASSERT_EQ(rig.prompt.asked.size(), 1u) << test.running;
            EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first") << test.running;
        } else {
            EXPECT_TRUE(rig.prompt.asked.empty()) << test.running;
        }
    }
}
