#include "MainWindowRig.h"
#include "core/base/AppProfile.h"
#include "gui/tools/hash/HashPages.h"
#include "gui/ui/AboutDlg.h"
#include "gui/ui/Comment.h"
#include "gui/ui/Beep.h"
#include "gui/ui/FileSizeRequest.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/Resources.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/TextProgressCtrl.h"
#include "support/gui/ScopedModalHook.h"
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
    MainWindowRig rig;
    WriteAppProfileInt("SelectedDevice", 1);
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;

    EXPECT_EQ(dialog.Item<QComboBox>(IDC_DEVICES)->count(), 3);
    EXPECT_EQ(dialog.Item<QComboBox>(IDC_DEVICES)->currentText().toStdString(), "QNZEMU  BD-RE QBR-1240 (emu1)");
    EXPECT_EQ(dialog.Item<QComboBox>(IDC_TOOLS)->count(), kToolsItemCount);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageDriveInfo);
    EXPECT_TRUE(rig.Shown(IDC_READ_BD_R));
    EXPECT_FALSE(rig.Shown(IDC_OUTPUT));

    EXPECT_EQ(rig.Text(IDC_MODEL), "QNZEMU  BD-RE QBR-1240");
    EXPECT_EQ(rig.Text(IDC_FIRMWARE), "2.10");
    EXPECT_EQ(rig.Text(IDC_SERIAL_NO), "QBR12400001");
    EXPECT_EQ(rig.Text(IDC_LOADER_TYPE), "     Tray");
    EXPECT_EQ(rig.Text(IDC_DRIVE_INTERFACE), "ATAPI");
    EXPECT_EQ(rig.Text(IDC_CONNECTION_INTERFACE), "ATAPI");
    EXPECT_EQ(rig.Text(IDC_BUFFER_SIZE), "4096KB");
    EXPECT_EQ(rig.Text(IDC_USER_CHANGES), "4");
    EXPECT_EQ(rig.Text(IDC_VENDOR_CHANGES), "4");
    EXPECT_EQ(rig.Text(IDC_REGION_CODE), "2");
    EXPECT_EQ(rig.Text(IDC_REGION_CONTROL), "RPC-2");
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "BD-R");
    for (int box : {IDC_READ_BD_R, IDC_WRITE_BD_R, IDC_WRITE_BD_RE, IDC_READ_BD_ROM, IDC_WRITE_DVD_PLUS_R,
                    IDC_READ_DVD_PLUS_R, IDC_READ_DVD_PLUS_RW, IDC_READ_CD_R})
        EXPECT_TRUE(rig.Ticked(box)) << box;
    for (int box : {IDC_READ_HDBURN_R, IDC_READ_DVD_PLUS_RW_DL, IDC_READ_HDDVD_R})
        EXPECT_FALSE(rig.Ticked(box)) << box;
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Ready - BD-R Loaded");
    EXPECT_EQ(dialog.Item<CMatrixStatic>(IDC_STATUS)->GetText().substr(0, 19), "Ready - BD-R Loaded");
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_NE(rig.log.Text().find(" STARTUP THREAD END\n"), std::string::npos);

    // The window and the application carry the program's icon.
    const QImage icon = LoadIconResource(IDR_MAINFRAME).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(icon.isNull());
    for (const QIcon& shown : {dialog.windowIcon(), QApplication::windowIcon()})
        EXPECT_EQ(shown.pixmap(icon.size()).toImage().convertToFormat(QImage::Format_ARGB32), icon);
}

TEST(MainWindow, AnotherDriveFillsThePageWithItsOwnCapabilities)
{
    MainWindowRig rig;
    rig.Start();
    ASSERT_TRUE(rig.Ticked(IDC_WRITE_DVD_PLUS_R));  // the DVD writer writes DVD+R

    rig.SelectDrive(2);
    EXPECT_EQ(rig.Text(IDC_MODEL), "QNZEMU  CD-ROM QCD-5200");
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "CD-ROM");
    EXPECT_TRUE(rig.Ticked(IDC_READ_CD_R));
    for (int box : {IDC_WRITE_DVD_PLUS_R, IDC_READ_DVD_PLUS_R, IDC_READ_DVD_ROM, IDC_READ_BD_R})
        EXPECT_FALSE(rig.Ticked(box)) << box;
    for (int field : {IDC_USER_CHANGES, IDC_VENDOR_CHANGES, IDC_REGION_CODE, IDC_REGION_CONTROL})  // no DVD: no region
        EXPECT_EQ(rig.Text(field), "N/A");
    EXPECT_EQ(rig.dialog->m_Core.m_Drives.list.m_pCurrentDevice->m_strDriveText, "emu2");
}

TEST(MainWindow, WhatTheDriveWouldNotTellIsGreyedOut)
{
    MainWindowRig rig(MainWindowRig::Presets{{"dvd-reader-strict", "dvd-rom"}});
    rig.drives[0]->AddErrorRule(emu::ErrorRule::CheckCondition(0x5A, emu::sense::kInvalidFieldInCdb));
    rig.Start();
    EXPECT_EQ(rig.Text(IDC_LOADER_TYPE), "N/A");
    EXPECT_FALSE(rig.dialog->GetDlgItem(IDC_READ_DVD_ROM)->isEnabled());  // page 2Ah was not read
    EXPECT_FALSE(rig.Ticked(IDC_READ_DVD_ROM));
    EXPECT_TRUE(rig.dialog->GetDlgItem(IDC_CSS_CPPM)->isEnabled());  // the features were
    EXPECT_TRUE(rig.Ticked(IDC_CSS_CPPM));
    ASSERT_FALSE(rig.prompt.asked.empty());  // the selection told why
    EXPECT_NE(rig.prompt.asked[0].text.find("MODE SENSE(10) (5Ah) failed"), std::string::npos);

    // Another drive that tells everything: every box is known again.
    MainWindowRig writer;
    writer.Start();
    EXPECT_TRUE(writer.dialog->GetDlgItem(IDC_READ_DVD_ROM)->isEnabled());
    EXPECT_EQ(writer.Text(IDC_LOADER_TYPE), "     Tray");
}

TEST(MainWindow, DiscsComingAndGoingShowInTheMediaFields)
{
    MainWindowRig rig;
    rig.Start();
    ASSERT_EQ(rig.Text(IDC_MEDIATYPE), "DVD+R");

    rig.drives[0]->EjectMedium();
    rig.Settle();
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "");
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready - No Media loaded");  // the status line follows

    ASSERT_TRUE(rig.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd-rw")));
    rig.Settle();
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "DVD-RW");
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageDriveInfo);
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready - DVD-RW Loaded");

    // A disc that spins up arrives once the drive is ready.
    rig.drives[0]->EjectMedium();
    ASSERT_TRUE(rig.drives[0]->LoadMedium(*emu::FindMediumPreset("dvd+rw")));
    rig.Settle();
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "");
    rig.clock->Advance(rig.drives[0]->Identity().spinUpMs);
    rig.dialog->Watcher()->PollNow();
    rig.Settle();
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "DVD+RW");

    // The eject button opens the tray of the current drive.
    rig.dialog->SendCommand(IDC_EJECT);
    rig.Settle();
    EXPECT_TRUE(rig.drives[0]->TrayOpen());
    EXPECT_EQ(rig.Text(IDC_MEDIATYPE), "");
    rig.dialog->SendCommand(IDC_EJECT);
    rig.Settle();
    EXPECT_FALSE(rig.drives[0]->TrayOpen());
}

TEST(MainWindow, TheProfileListingFollowsTheDisc)
{
    MainWindowRig rig;
    rig.Start();
    rig.ChooseTool(kToolsFeatures);
    const auto shown = [&] { return rig.dialog->m_Core.m_Report.GetDisplayText(); };
    const auto lineOf = [&](const std::string& start) {
        const std::string text = shown();
        const std::size_t at = text.find(start);
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    };
    ASSERT_NE(shown().find("Current Profile 001bh"), std::string::npos);
    ASSERT_NE(lineOf("Profile 001bh DVD").find("(Current)"), std::string::npos);

    rig.drives[0]->EjectMedium();
    rig.Settle();
    EXPECT_EQ(shown().find("Current Profile"), std::string::npos);
    ASSERT_FALSE(lineOf("Profile 001bh DVD").empty());
    EXPECT_EQ(lineOf("Profile 001bh DVD").find("(Current)"), std::string::npos);

    ASSERT_TRUE(rig.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd-rw")));
    rig.Settle();
    EXPECT_NE(shown().find("Current Profile 0014h"), std::string::npos);
}

TEST(MainWindow, ListingsOfFeaturesAndModePagesFollowTheSelectedDrive)
{
    MainWindowRig rig;
    rig.Start();
    rig.ChooseTool(kToolsFeatures);
    CQuenzaDlg& dialog = *rig.dialog;
    EXPECT_EQ(dialog.m_nCurrentPage, kPageFeatures);
    EXPECT_TRUE(rig.Shown(IDC_OUTPUT));
    EXPECT_FALSE(rig.Shown(IDC_READ_CD_R));
    std::string shown = rig.Text(IDC_OUTPUT);
    EXPECT_NE(shown.find("Profile 001bh DVD+R Write Once"), std::string::npos);
    EXPECT_NE(shown.find("Feature 002bh DVD+R Write"), std::string::npos);
    EXPECT_EQ(shown.find("BD-R Sequential"), std::string::npos);

    rig.SelectDrive(1);
    EXPECT_NE(rig.Text(IDC_OUTPUT).find("Profile 0041h BD-R Sequential Recording (SRM)"), std::string::npos);

    rig.ChooseTool(kToolsModePages);
    EXPECT_EQ(dialog.m_nCurrentPage, kPageModePages);
    shown = rig.Text(IDC_OUTPUT);
    EXPECT_NE(shown.find("Drive Mode pages"), std::string::npos);
    EXPECT_NE(shown.find("MM Capabilities & Mechanical Status page"), std::string::npos);

    // The drive button brings the drive information page back.
    dialog.SendCommand(IDC_DRIVEINFO);
    rig.Settle();
    EXPECT_EQ(dialog.m_nCurrentPage, kPageDriveInfo);
    EXPECT_FALSE(rig.Shown(IDC_OUTPUT));
    EXPECT_TRUE(rig.Shown(IDC_READ_CD_R));
}

TEST(MainWindow, ADiscComingOrGoingActsByThePageShown)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    ReportText& report = dialog.m_Core.m_Report;
    const auto ejectAndReload = [&rig] {
        rig.drives[0]->EjectMedium();
        rig.Settle();
        ASSERT_TRUE(rig.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd+r")));
        rig.Settle();
    };

    // A listing stays; the disc-hash page is emptied; the media page keeps its title.
    rig.ChooseTool(kToolsFeatures);
    ejectAndReload();
    EXPECT_NE(report.GetLine(0).find("Drive Profiles"), std::string::npos);
    rig.ChooseTool(kToolsDiscMd5);
    report.SetLine(3, "a digest");
    ejectAndReload();
    EXPECT_EQ(report.GetLine(3).find("a digest"), std::string::npos);
    dialog.m_nCurrentPage = kPageMediaInfo;
    report.SetLine(3, "a report");
    rig.drives[0]->EjectMedium();
    rig.Settle();
    EXPECT_EQ(report.GetLine(3).find("a report"), std::string::npos);
    EXPECT_NE(report.GetLine(0).find("Media Information"), std::string::npos);
    // The disc coming back does not bring the report's window: the user asks for it.
    int windows = 0;
    {
        ScopedModalHook hook([&windows](CDialog&) { return ++windows, 1; });
        ASSERT_TRUE(rig.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd+r")));
        rig.Settle();
    }
    EXPECT_EQ(windows, 0);

    // On a tools report page the chosen entry runs again.
    dialog.Item<QComboBox>(IDC_TOOLS)->setCurrentIndex(kToolsModePages);
    dialog.m_nCurrentPage = kPageInfoDisplay;
    ejectAndReload();
    EXPECT_EQ(dialog.m_nCurrentPage, kPageModePages);
}

TEST(MainWindow, TheHashPagesAreSetUpFromTheToolsList)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    // What a page before left in the bars is gone before anything is hashed.
    const auto leaveFigures = [&] {
        for (int id : {IDC_PROGRESS, IDC_PROGRESS2}) {
            dialog.Item<CTextProgressCtrl>(id)->SetPos(99);
            dialog.Item<CTextProgressCtrl>(id)->SetWindowText("File 3 of 3 is 100% Complete");
        }
    };
    const auto expectClear = [&] {
        for (int id : {IDC_PROGRESS, IDC_PROGRESS2}) {
            EXPECT_EQ(dialog.Item<CTextProgressCtrl>(id)->GetPos(), 0) << id;
            EXPECT_EQ(dialog.Item<CTextProgressCtrl>(id)->Model().DisplayText(), "0 % Complete") << id;
        }
    };
    leaveFigures();
    rig.ChooseTool(kToolsDiscSha2);
    expectClear();
    EXPECT_EQ(dialog.m_nCurrentPage, kPageDiscHash);
    EXPECT_EQ(rig.PageObject<CHashPages>().m_bHashSha1, 1);
    EXPECT_EQ(rig.PageObject<CHashPages>().m_bHashSha2, 1);
    EXPECT_EQ(rig.Text(IDC_SAVE), "Custom");
    EXPECT_FALSE(dialog.GetDlgItem(IDC_STOP)->isEnabled());
    EXPECT_GT(dialog.m_Core.m_nHashEndLba, 0);
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Click 'Start' to begin calculation");

    leaveFigures();
    rig.ChooseTool(kToolsFileMd5);
    expectClear();
    EXPECT_EQ(dialog.m_nCurrentPage, kPageFileHash);
    EXPECT_EQ(rig.Text(IDC_START), "File");
    EXPECT_EQ(rig.Text(IDC_STOP), "Folder");
    EXPECT_EQ(rig.PageObject<CHashPages>().m_bHashSha1, 0);
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText(), "Click 'File' or 'Folder' to start");
}

TEST(MainWindow, HelpOpensTheTopicOfThePageAndKeysNeverEndTheWindow)
{
    MainWindowRig rig;
    rig.Start();
    std::vector<std::string> opened;
    SetShellOpenHook([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    // "Get Help" comes first; its "Local Help File" opens the page's topic.
    int answer = CHelp::kLocalHelp;
    std::vector<std::string> boxes;
    CQuenzaDlg& dialog = *rig.dialog;
    {
        ScopedModalHook hook([&](CDialog& shown) {
            boxes.push_back(shown.windowTitle().toStdString());
            return answer;
        });
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &f1);
        dialog.m_nCurrentPage = kPageSpeedTest;
        dialog.SendCommand(IDC_HELP);
        dialog.m_nCurrentPage = kPageReport3;
        QApplication::sendEvent(dialog.GetDlgItem(IDC_DEVICES), &f1);  // from a control too
        answer = IDCANCEL;
        dialog.SendCommand(IDC_HELP);
    }
    SetShellOpenHook(nullptr);
    EXPECT_EQ(boxes, std::vector<std::string>(4, "Get Help"));
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
    MainWindowRig rig;
    rig.Start();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    rig.dialog->SendCommand(IDC_COPY);
    EXPECT_FALSE(clipboard->image().isNull());
    // The drive page's text comes with its picture.
    const std::string page = clipboard->text().toStdString();
    EXPECT_EQ(page.rfind(rig.Text(IDC_MODEL) + "\n", 0), 0u) << page;
    EXPECT_NE(page.find("\nFirmware Revision:      " + rig.Text(IDC_FIRMWARE) + "\n"), std::string::npos) << page;
    EXPECT_NE(page.find("\nWrites:                 CD-R, CD-RW, DVD-R, "), std::string::npos) << page;

    rig.ChooseTool(kToolsModePages);
    rig.dialog->SendCommand(IDC_COPY);
    const QString text = clipboard->text();
    EXPECT_TRUE(text.startsWith(QString(24, ' ') + "Drive Mode pages"));
    EXPECT_TRUE(text.contains("MM Capabilities & Mechanical Status page"));
    EXPECT_TRUE(text.endsWith("h\n"));
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_FALSE(text.contains(" \n"));
}

TEST(MainWindow, RawDataIsSavedOnlyFromTheByteViewWithTheSizeAsked)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    ScriptedFileDialogs files;
    TempDir folder;

    dialog.SendCommand(IDC_SAVERAW);
    dialog.m_nCurrentPage = kPageMediaCode;
    dialog.SendCommand(IDC_SAVERAW);
    EXPECT_TRUE(files.requests.empty());
    dialog.m_nCurrentPage = kPageInfoDisplay;
    dialog.SendCommand(IDC_SAVERAW);  // the chooser is cancelled
    ASSERT_EQ(rig.prompt.asked.size(), 3u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Error.  There is no hexadecimal data to save");
    EXPECT_EQ(rig.prompt.asked[1].text, "To save Complete Media Code use Clipboard or Snapshot");
    EXPECT_EQ(rig.prompt.asked[2].text, "Error opening save file");
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].title, "Choose a FileName to save as");

    for (int i = 0; i < 32; ++i)
        dialog.m_Core.m_Drives.m_DataBuffer[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0xA0 + i);
    const std::string path = folder.File("sector.bin");
    files.Answer(FileDialogAnswer{path, 1});
    {
        ScopedModalHook hook([](CDialog& asked) {
            auto& size = dynamic_cast<CFileSizeRequest&>(asked);
            size.SetDlgItemText(CFileSizeRequest::IDC_SIZE, "16");
            size.SendCommand(IDOK);
            return size.ModalResult();
        });
        dialog.SendCommand(IDC_SAVERAW);
        // A size that is not given writes nothing.
        files.Answer(FileDialogAnswer{folder.File("cancelled.bin"), 1});
        hook.Set([](CDialog&) { return IDCANCEL; });
        dialog.SendCommand(IDC_SAVERAW);
    }

    EXPECT_TRUE(Asked(rig.prompt, "File write successful"));
    const std::string saved = ReadFileText(path);
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(static_cast<unsigned char>(saved[15]), 0xAFu);
    // An existing file is replaced only on Yes to a question naming it.
    files.Answer(FileDialogAnswer{path, 1});
    rig.prompt.Answer(IDNO);
    dialog.SendCommand(IDC_SAVERAW);
    EXPECT_EQ(rig.prompt.asked.back().text, path + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFileText(path), saved);
    EXPECT_FALSE(FileExists(folder.File("cancelled.bin")));
    EXPECT_EQ(GetAppProfileString("Last Bin Save Directory", ""), folder.Path());
}

TEST(MainWindow, ClosingSavesTheDriveAndTheWindowPosition)
{
    MainWindowRig rig;
    rig.Start();
    rig.SelectDrive(2);
    rig.dialog->move(-20, 100);
    const std::pair<int, const char*> tips[] = {
        {IDC_READ_CD_R, "Supports CD-R Read"},
        {IDC_FIRMWARE, "Firmware revision number"},
        {IDC_SPEEDTEST, "Speed test your CD/DVD/BD drive & media"},
        {IDC_HOMEPAGE, "Visit my web site now"},
        {IDC_REFRESH, "Refreshes Drive Info display by re-reading the drive"},
    };
    for (const auto& [id, tip] : tips)
        EXPECT_EQ(rig.dialog->GetDlgItem(id)->toolTip().toStdString(), tip) << id;
    rig.dialog->SendMessage(WM_CLOSE);
    rig.Settle();
    EXPECT_EQ(rig.dialog->ModalResult(), 0);
    for (const auto& [id, tip] : tips)
        EXPECT_TRUE(rig.dialog->GetDlgItem(id)->toolTip().isEmpty()) << id;  // taken off at the exit
    EXPECT_EQ(GetAppProfileInt("SelectedDevice", -9), 2);
    EXPECT_EQ(GetAppProfileInt("VideoWindow Left", -9), 0);
    EXPECT_EQ(GetAppProfileInt("VideoWindow Top", -9), 100);
    EXPECT_TRUE(rig.dialog->m_Core.m_Drives.list.m_DeviceList.empty());
    EXPECT_EQ(rig.dialog->Watcher(), nullptr);

    // The next start places the window there.
    MainWindowRig again;
    WriteAppProfileInt("VideoWindow Left", 30);
    WriteAppProfileInt("VideoWindow Top", 40);
    again.Start();
    EXPECT_EQ(again.dialog->frameGeometry().topLeft(), QPoint(30, 40));
}

TEST(MainWindow, ADoubleClickOnTheStatusDisplayTakesAComment)
{
    MainWindowRig rig;
    rig.Start();
    std::string offered;
    {
        ScopedModalHook hook([&offered](CDialog& asked) {
            offered = asked.GetDlgItemText(CComment::IDC_COMMENT);
            asked.SetDlgItemText(CComment::IDC_COMMENT, "Burned at 8x");
            asked.SendCommand(IDOK);
            return asked.ModalResult();
        });
        rig.dialog->SendNotify(IDC_STATUS, Notify::DoubleClick);
        hook.Set([](CDialog&) { return 1; });  // cancelled: nothing changes
        rig.dialog->SendNotify(IDC_STATUS, Notify::DoubleClick);
    }
    rig.Settle();
    EXPECT_EQ(offered, "Ready - DVD+R Loaded");
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Burned at 8x");
    EXPECT_EQ(rig.dialog->Item<CMatrixStatic>(IDC_STATUS)->GetText().substr(0, 12), "Burned at 8x");
}

TEST(MainWindow, TheSectorViewersMessagesShowABlockAsADump)
{
    MainWindowRig rig;
    rig.Start();
    std::vector<unsigned> beeps;
    SetBeepHook([&beeps](unsigned type) { beeps.push_back(type); });
    CQuenzaDlg& dialog = *rig.dialog;
    dialog.PostMessage(WM_READSECTOR, 16);
    rig.Settle();
    EXPECT_TRUE(rig.Shown(IDC_OUTPUT));
    const std::string dump = rig.Text(IDC_OUTPUT);
    EXPECT_EQ(dump.rfind("Address| 0  1  2", 0), 0u);
    EXPECT_NE(dump.find("\n000001F0 "), std::string::npos);  // 32 lines of 16 bytes
    EXPECT_TRUE(beeps.empty());

    dialog.PostMessage(WM_LBAENTERED, 0x7FFFFFFF);
    rig.Settle();
    SetBeepHook(nullptr);
    EXPECT_EQ(beeps.size(), 1u);
    EXPECT_EQ(dialog.m_Core.m_Report.GetStatusText().rfind("Error reading sector!", 0), 0u);
    ASSERT_FALSE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.prompt.asked.back().text, "Your requested block is beyond the last readable block.");
    EXPECT_EQ(rig.Text(IDC_OUTPUT), dump);  // the old dump stays
}

TEST(MainWindow, AClickOnTheErrorMapNamesTheBlocksOfItsCell)
{
    MainWindowRig rig(MainWindowRig::Presets{{"dvd-writer", "dvd+r-dl"}});
    rig.Start();
    rig.dialog->m_nCurrentPage = kPageErrorTest;
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(478, 428), QPointF(478, 428), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(rig.dialog.get(), &click);
    rig.Settle();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    // Two layers: 32 times 25 blocks a cell; the corner is cell 6480.
    EXPECT_EQ(rig.prompt.asked[0].text, "Sector 4f1a00h to 4f1d20h");
}

TEST(MainWindow, TheEndMessagesOfWorkersClearTheirFlagAndFreeTheControls)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
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
        rig.Settle();
        EXPECT_EQ(*flag, 0) << message;
        EXPECT_TRUE(dialog.GetDlgItem(IDC_DEVICES)->isEnabled()) << message;
        EXPECT_TRUE(dialog.GetDlgItem(IDC_START)->isEnabled()) << message;
        EXPECT_FALSE(dialog.GetDlgItem(IDC_STOP)->isEnabled()) << message;
    }
}
