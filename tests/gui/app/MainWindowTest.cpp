#include "MainWindowBench.h"
#include "core/app/AppProfile.h"
#include "gui/ui/Comment.h"
#include "gui/ui/Beep.h"
#include "gui/ui/FileSizeRequest.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/ShellOpen.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

bool Asked(const ScriptedPrompt& prompt, const std::string& text)
{
    for (const auto& asked : prompt.asked)
        if (asked.text == text)
            return true;
    return false;
}

}  // namespace

TEST(MainWindow, StartsOnTheDriveInformationPageOfTheRememberedDrive)
{
    MainWindowBench bench;
    WriteAppProfileInt("SelectedDevice", 1);
    bench.Start();
    CQuenzaDlg& dialog = *bench.dialog;

    EXPECT_EQ(dialog.Item<QComboBox>(IDC_DEVICES)->count(), 3);
    EXPECT_EQ(dialog.Item<QComboBox>(IDC_DEVICES)->currentText().toStdString(), "QNZEMU  BD-RE QBR-1240 (emu1)");
    EXPECT_EQ(dialog.Item<QComboBox>(IDC_TOOLS)->count(), kToolsItemCount);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageDriveInfo);
    EXPECT_TRUE(bench.Shown(IDC_READ_BD_R));
    EXPECT_FALSE(bench.Shown(IDC_OUTPUT));

    EXPECT_EQ(bench.Text(IDC_MODEL), "QNZEMU  BD-RE QBR-1240");
    EXPECT_EQ(bench.Text(IDC_FIRMWARE), "2.10");
    EXPECT_EQ(bench.Text(IDC_SERIAL_NO), "QBR12400001");
    EXPECT_EQ(bench.Text(IDC_LOADER_TYPE), "     Tray");
    EXPECT_EQ(bench.Text(IDC_DRIVE_INTERFACE), "ATAPI");
    EXPECT_EQ(bench.Text(IDC_CONNECTION_INTERFACE), "ATAPI");
    EXPECT_EQ(bench.Text(IDC_BUFFER_SIZE), "4096KB");
    EXPECT_EQ(bench.Text(IDC_USER_CHANGES), "4");
    EXPECT_EQ(bench.Text(IDC_VENDOR_CHANGES), "4");
    EXPECT_EQ(bench.Text(IDC_REGION_CODE), "2");
    EXPECT_EQ(bench.Text(IDC_REGION_CONTROL), "RPC-2");
    EXPECT_EQ(bench.Text(IDC_MEDIATYPE), "BD-R");
    for (int box : {IDC_READ_BD_R, IDC_WRITE_BD_R, IDC_WRITE_BD_RE, IDC_READ_BD_ROM, IDC_WRITE_DVD_PLUS_R,
                    IDC_READ_DVD_PLUS_R, IDC_READ_DVD_PLUS_RW, IDC_READ_CD_R})
        EXPECT_TRUE(bench.Ticked(box)) << box;
    for (int box : {IDC_READ_HDBURN_R, IDC_READ_DVD_PLUS_RW_DL, IDC_READ_HDDVD_R})
        EXPECT_FALSE(bench.Ticked(box)) << box;
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Ready - BD-R Loaded");
    EXPECT_EQ(dialog.Item<CMatrixStatic>(IDC_STATUS)->GetText().substr(0, 19), "Ready - BD-R Loaded");
    EXPECT_TRUE(bench.prompt.asked.empty());
    EXPECT_NE(bench.log.Text().find(" STARTUP THREAD END\n"), std::string::npos);
}

TEST(MainWindow, AnotherDriveFillsThePageWithItsOwnCapabilities)
{
    MainWindowBench bench;
    bench.Start();
    ASSERT_TRUE(bench.Ticked(IDC_WRITE_DVD_PLUS_R));  // the DVD writer writes DVD+R

    bench.SelectDrive(2);
    EXPECT_EQ(bench.Text(IDC_MODEL), "QNZEMU  CD-ROM QCD-5200");
    EXPECT_EQ(bench.Text(IDC_MEDIATYPE), "CD-ROM");
    EXPECT_TRUE(bench.Ticked(IDC_READ_CD_R));
    for (int box : {IDC_WRITE_DVD_PLUS_R, IDC_READ_DVD_PLUS_R, IDC_READ_DVD_ROM, IDC_READ_BD_R})
        EXPECT_FALSE(bench.Ticked(box)) << box;
    for (int field : {IDC_USER_CHANGES, IDC_VENDOR_CHANGES, IDC_REGION_CODE, IDC_REGION_CONTROL})  // no DVD: no region
        EXPECT_EQ(bench.Text(field), "N/A");
    EXPECT_EQ(bench.dialog->m_Core.m_Drives.list.m_pCurrentDevice->m_strDriveText, "emu2");
}

TEST(MainWindow, DiscsComingAndGoingShowInTheMediaFields)
{
    MainWindowBench bench;
    bench.Start();
    ASSERT_EQ(bench.Text(IDC_MEDIATYPE), "DVD+R");

    bench.drives[0]->EjectMedium();
    bench.Settle();
    EXPECT_EQ(bench.Text(IDC_MEDIATYPE), "");

    ASSERT_TRUE(bench.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd-rw")));
    bench.Settle();
    EXPECT_EQ(bench.Text(IDC_MEDIATYPE), "DVD-RW");
    EXPECT_EQ(bench.dialog->m_nCurrentPage, kPageDriveInfo);

    // A disc that spins up arrives once the drive is ready.
    bench.drives[0]->EjectMedium();
    ASSERT_TRUE(bench.drives[0]->LoadMedium(*emu::FindMediumPreset("dvd+rw")));
    bench.Settle();
    EXPECT_EQ(bench.Text(IDC_MEDIATYPE), "");
    bench.clock->Advance(bench.drives[0]->Identity().spinUpMs);
    bench.dialog->Watcher()->PollNow();
    bench.Settle();
    EXPECT_EQ(bench.Text(IDC_MEDIATYPE), "DVD+RW");

    // The eject button opens the tray of the current drive.
    bench.dialog->SendCommand(IDC_EJECT);
    bench.Settle();
    EXPECT_TRUE(bench.drives[0]->TrayOpen());
    EXPECT_EQ(bench.Text(IDC_MEDIATYPE), "");
    bench.dialog->SendCommand(IDC_EJECT);
    bench.Settle();
    EXPECT_FALSE(bench.drives[0]->TrayOpen());
}

TEST(MainWindow, ListingsOfFeaturesAndModePagesFollowTheSelectedDrive)
{
    MainWindowBench bench;
    bench.Start();
    bench.ChooseTool(kToolsFeatures);
    CQuenzaDlg& dialog = *bench.dialog;
    EXPECT_EQ(dialog.m_nCurrentPage, kPageFeatures);
    EXPECT_TRUE(bench.Shown(IDC_OUTPUT));
    EXPECT_FALSE(bench.Shown(IDC_READ_CD_R));
    std::string shown = bench.Text(IDC_OUTPUT);
    EXPECT_NE(shown.find("Profile 001bh DVD+R Write Once"), std::string::npos);
    EXPECT_NE(shown.find("Feature 002bh DVD+R Write"), std::string::npos);
    EXPECT_EQ(shown.find("BD-R Sequential"), std::string::npos);

    bench.SelectDrive(1);
    EXPECT_NE(bench.Text(IDC_OUTPUT).find("Profile 0041h BD-R Sequential Recording (SRM)"), std::string::npos);

    bench.ChooseTool(kToolsModePages);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageModePages);
    shown = bench.Text(IDC_OUTPUT);
    EXPECT_NE(shown.find("Drive Mode pages"), std::string::npos);
    EXPECT_NE(shown.find("MM Capabilities & Mechanical Status page"), std::string::npos);

    // The drive button brings the drive information page back.
    dialog.SendCommand(IDC_DRIVEINFO);
    bench.Settle();
    EXPECT_EQ(dialog.m_nCurrentPage, kPageDriveInfo);
    EXPECT_FALSE(bench.Shown(IDC_OUTPUT));
    EXPECT_TRUE(bench.Shown(IDC_READ_CD_R));
}

TEST(MainWindow, ADiscComingOrGoingActsByThePageShown)
{
    MainWindowBench bench;
    bench.Start();
    CQuenzaDlg& dialog = *bench.dialog;
    ReportText& report = dialog.m_Core.m_Report;
    const auto ejectAndReload = [&bench] {
        bench.drives[0]->EjectMedium();
        bench.Settle();
        ASSERT_TRUE(bench.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd+r")));
        bench.Settle();
    };

    // A listing stays; the disc-hash page is emptied; the media page keeps its title.
    bench.ChooseTool(kToolsFeatures);
    ejectAndReload();
    EXPECT_NE(report.GetLine(0).find("Drive Profiles"), std::string::npos);
    bench.ChooseTool(kToolsDiscMd5);
    report.SetLine(3, "a digest");
    ejectAndReload();
    EXPECT_EQ(report.GetLine(3).find("a digest"), std::string::npos);
    dialog.m_nCurrentPage = kPageMediaInfo;
    report.SetLine(3, "a report");
    ejectAndReload();
    EXPECT_EQ(report.GetLine(3).find("a report"), std::string::npos);
    EXPECT_NE(report.GetLine(0).find("Media Information"), std::string::npos);

    // On a tools report page the chosen entry runs again.
    dialog.Item<QComboBox>(IDC_TOOLS)->setCurrentIndex(kToolsModePages);
    dialog.m_nCurrentPage = kPageInfoDisplay;
    ejectAndReload();
    EXPECT_EQ(dialog.m_nCurrentPage, kPageModePages);
}

TEST(MainWindow, ToolsOfLaterVersionsRefusePolitelyAndTheHashPagesAreSetUp)
{
    MainWindowBench bench;
    bench.Start();
    bench.ChooseTool(kToolsSectorViewer);
    ASSERT_EQ(bench.prompt.asked.size(), 1u);
    EXPECT_EQ(bench.prompt.asked[0].text, "The sector viewer is not available in this version of Quenzario.");
    EXPECT_EQ(bench.dialog->m_nCurrentPage, kPageDriveInfo);

    bench.ChooseTool(kToolsDiscSha2);
    CQuenzaDlg& dialog = *bench.dialog;
    EXPECT_EQ(dialog.m_nCurrentPage, kPageDiscHash);
    EXPECT_EQ(dialog.m_bHashSha1, 1);
    EXPECT_EQ(dialog.m_bHashSha2, 1);
    EXPECT_EQ(bench.Text(IDC_SAVE), "Custom");
    EXPECT_FALSE(dialog.GetDlgItem(IDC_STOP)->isEnabled());
    EXPECT_GT(dialog.m_Core.m_nHashEndLba, 0);
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Click 'Start' to begin calculation");

    bench.ChooseTool(kToolsFileMd5);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageFileHash);
    EXPECT_EQ(bench.Text(IDC_START), "File");
    EXPECT_EQ(bench.Text(IDC_STOP), "Folder");
    EXPECT_EQ(dialog.m_bHashSha1, 0);
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Click 'File' or 'Folder' to start");
}

TEST(MainWindow, HelpOpensTheTopicOfThePageAndKeysNeverEndTheWindow)
{
    MainWindowBench bench;
    bench.Start();
    std::vector<std::string> opened;
    SetShellOpenHook([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    CQuenzaDlg& dialog = *bench.dialog;
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &f1);
    dialog.m_nCurrentPage = kPageSpeedTest;
    dialog.SendCommand(IDC_HELP);
    dialog.m_nCurrentPage = kPageReport3;
    QApplication::sendEvent(dialog.GetDlgItem(IDC_DEVICES), &f1);  // from a control too
    SetShellOpenHook(nullptr);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], ProgramFolder() + "help/Drive Info.htm");
    EXPECT_EQ(opened[1], ProgramFolder() + "help/DVD Speed Test.htm");
    EXPECT_EQ(opened[2], ProgramFolder() + "help/introduction.htm");

    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent enter(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.GetDlgItem(IDC_DRIVEINFO), &enter);
        QApplication::sendEvent(&dialog, &enter);
    }
    EXPECT_EQ(dialog.ModalResult(), -1);
}

TEST(MainWindow, CopyGivesAPictureOfTheDrivePageAndTheTextOfAListing)
{
    MainWindowBench bench;
    bench.Start();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    bench.dialog->SendCommand(IDC_COPY);
    EXPECT_FALSE(clipboard->image().isNull());

    bench.ChooseTool(kToolsModePages);
    bench.dialog->SendCommand(IDC_COPY);
    const QString text = clipboard->text();
    EXPECT_TRUE(text.startsWith(QString(24, ' ') + "Drive Mode pages"));
    EXPECT_TRUE(text.contains("MM Capabilities & Mechanical Status page"));
    EXPECT_TRUE(text.endsWith("h\r\n"));
}

TEST(MainWindow, RawDataIsSavedOnlyFromTheByteViewWithTheSizeAsked)
{
    MainWindowBench bench;
    bench.Start();
    CQuenzaDlg& dialog = *bench.dialog;
    ScriptedFileDialogs files;
    TempDir folder;

    dialog.SendCommand(IDC_SAVERAW);
    dialog.m_nCurrentPage = kPageMediaCode;
    dialog.SendCommand(IDC_SAVERAW);
    EXPECT_TRUE(files.requests.empty());
    dialog.m_nCurrentPage = kPageInfoDisplay;
    dialog.SendCommand(IDC_SAVERAW);  // the chooser is cancelled
    ASSERT_EQ(bench.prompt.asked.size(), 3u);
    EXPECT_EQ(bench.prompt.asked[0].text, "Error.  There is no hexadecimal data to save");
    EXPECT_EQ(bench.prompt.asked[1].text, "To save Complete Media Code use Clipboard or Snapshot");
    EXPECT_EQ(bench.prompt.asked[2].text, "Error opening save file");
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].title, "Choose a FileName to save as");

    for (int i = 0; i < 32; ++i)
        dialog.m_Core.m_Drives.m_DataBuffer[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0xA0 + i);
    const std::string path = folder.File("sector.bin");
    files.Answer(FileDialogAnswer{path, 1});
    CDialog::SetModalRunHook([](CDialog& asked) {
        auto& size = dynamic_cast<CFileSizeRequest&>(asked);
        size.SetDlgItemText(CFileSizeRequest::IDC_SIZE, "16");
        size.SendCommand(IDOK);
        return size.ModalResult();
    });
    dialog.SendCommand(IDC_SAVERAW);
    // A size that is not given writes nothing.
    files.Answer(FileDialogAnswer{folder.File("cancelled.bin"), 1});
    CDialog::SetModalRunHook([](CDialog&) { return IDCANCEL; });
    dialog.SendCommand(IDC_SAVERAW);
    CDialog::SetModalRunHook(nullptr);

    EXPECT_TRUE(Asked(bench.prompt, "File write successful"));
    const std::string saved = ReadFileText(path);
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(static_cast<unsigned char>(saved[15]), 0xAFu);
    EXPECT_FALSE(FileExists(folder.File("cancelled.bin")));
    EXPECT_EQ(GetAppProfileString("Last Bin Save Directory", ""), folder.Path());
}

TEST(MainWindow, ClosingSavesTheDriveAndTheWindowPosition)
{
    MainWindowBench bench;
    bench.Start();
    bench.SelectDrive(2);
    bench.dialog->move(-20, 100);
    const std::pair<int, const char*> tips[] = {
        {IDC_READ_CD_R, "Supports CD-R Read"},
        {IDC_FIRMWARE, "Firmware revision number"},
        {IDC_SPEEDTEST, "Speed test your CD/DVD/BD drive & media"},
        {IDC_HOMEPAGE, "Visit my web site now"},
        {IDC_REFRESH, "Refreshes Drive Info display by re-reading the drive"},
    };
    for (const auto& [id, tip] : tips)
        EXPECT_EQ(bench.dialog->GetDlgItem(id)->toolTip().toStdString(), tip) << id;
    bench.dialog->SendMessage(WM_CLOSE);
    bench.Settle();
    EXPECT_EQ(bench.dialog->ModalResult(), 0);
    for (const auto& [id, tip] : tips)
        EXPECT_TRUE(bench.dialog->GetDlgItem(id)->toolTip().isEmpty()) << id;  // taken off at the exit
    EXPECT_EQ(GetAppProfileInt("SelectedDevice", -9), 2);
    EXPECT_EQ(GetAppProfileInt("VideoWindow Left", -9), 0);
    EXPECT_EQ(GetAppProfileInt("VideoWindow Top", -9), 100);
    EXPECT_TRUE(bench.dialog->m_Core.m_Drives.list.m_DeviceList.empty());
    EXPECT_EQ(bench.dialog->Watcher(), nullptr);

    // The next start places the window there.
    MainWindowBench again;
    WriteAppProfileInt("VideoWindow Left", 30);
    WriteAppProfileInt("VideoWindow Top", 40);
    again.Start();
    EXPECT_EQ(again.dialog->frameGeometry().topLeft(), QPoint(30, 40));
}

TEST(MainWindow, ADoubleClickOnTheStatusDisplayTakesAComment)
{
    MainWindowBench bench;
    bench.Start();
    std::string offered;
    CDialog::SetModalRunHook([&offered](CDialog& asked) {
        offered = asked.GetDlgItemText(CComment::IDC_COMMENT);
        asked.SetDlgItemText(CComment::IDC_COMMENT, "Burned at 8x");
        asked.SendCommand(IDOK);
        return asked.ModalResult();
    });
    bench.dialog->SendNotify(IDC_STATUS, Notify::DoubleClick);
    CDialog::SetModalRunHook([](CDialog&) { return 1; });  // cancelled: nothing changes
    bench.dialog->SendNotify(IDC_STATUS, Notify::DoubleClick);
    CDialog::SetModalRunHook(nullptr);
    bench.Settle();
    EXPECT_EQ(offered, "Ready - DVD+R Loaded");
    EXPECT_EQ(bench.dialog->m_Core.m_Report.GetStatusText(), "Burned at 8x");
    EXPECT_EQ(bench.dialog->Item<CMatrixStatic>(IDC_STATUS)->GetText().substr(0, 12), "Burned at 8x");
}

TEST(MainWindow, TheSectorViewersMessagesShowABlockAsADump)
{
    MainWindowBench bench;
    bench.Start();
    std::vector<unsigned> beeps;
    SetBeepHook([&beeps](unsigned type) { beeps.push_back(type); });
    CQuenzaDlg& dialog = *bench.dialog;
    dialog.PostMessage(WM_READSECTOR, 16);
    bench.Settle();
    EXPECT_TRUE(bench.Shown(IDC_OUTPUT));
    const std::string dump = bench.Text(IDC_OUTPUT);
    EXPECT_EQ(dump.rfind("Address| 0  1  2", 0), 0u);
    EXPECT_NE(dump.find("\n000001F0 "), std::string::npos);  // 32 lines of 16 bytes
    EXPECT_TRUE(beeps.empty());

    dialog.PostMessage(WM_LBAENTERED, 0x7FFFFFFF);
    bench.Settle();
    SetBeepHook(nullptr);
    EXPECT_EQ(beeps.size(), 1u);
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Error reading sector!");
    ASSERT_FALSE(bench.prompt.asked.empty());
    EXPECT_EQ(bench.prompt.asked.back().text, "Your requested block is beyond the last readable block.");
    EXPECT_EQ(bench.Text(IDC_OUTPUT), dump);  // the old dump stays
}

TEST(MainWindow, AClickOnTheErrorMapNamesTheBlocksOfItsCell)
{
    MainWindowBench bench(MainWindowBench::Presets{{"dvd-writer", "dvd+r-dl"}});
    bench.Start();
    bench.dialog->m_nCurrentPage = kPageErrorTest;
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(478, 428), QPointF(478, 428), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bench.dialog.get(), &click);
    bench.Settle();
    ASSERT_EQ(bench.prompt.asked.size(), 1u);
    // Two layers: 32 times 25 blocks a cell; the corner is cell 6480.
    EXPECT_EQ(bench.prompt.asked[0].text, "Sector 4f1a00h to 4f1d20h");
}

TEST(MainWindow, TheEndMessagesOfWorkersClearTheirFlagAndFreeTheControls)
{
    MainWindowBench bench;
    bench.Start();
    CQuenzaDlg& dialog = *bench.dialog;
    const std::vector<std::pair<UINT, std::atomic<int>*>> cases = {{WM_ERRORTESTENDED, &g_bErrorTestRunning},
                                                                   {WM_COMPAREENDED, &g_bCompareRunning},
                                                                   {WM_TESTENDED, &g_bSpeedTestRunning}};
    for (const auto& [message, flag] : cases) {
        dialog.m_nCurrentPage = kPageSpeedTest;
        *flag = 1;
        dialog.EnableDlgItem(IDC_DEVICES, false);
        dialog.EnableDlgItem(IDC_START, false);
        dialog.EnableDlgItem(IDC_STOP, true);
        dialog.PostMessage(message);
        bench.Settle();
        EXPECT_EQ(*flag, 0) << message;
        EXPECT_TRUE(dialog.GetDlgItem(IDC_DEVICES)->isEnabled()) << message;
        EXPECT_TRUE(dialog.GetDlgItem(IDC_START)->isEnabled()) << message;
        EXPECT_FALSE(dialog.GetDlgItem(IDC_STOP)->isEnabled()) << message;
    }
}
