#include "core/app/TestPageControls.h"
#include "core/base/Format.h"
#include "core/tools/errortest/ErrorTest.h"
#include "gui/app/MainWindowRig.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/tools/sectorview/GetLBA.h"
#include "gui/tools/sectorview/SectorViewPage.h"
#include "gui/tools/testpage/TestResultsList.h"
#include "gui/ui/Beep.h"
#include "support/gui/ManualSlideClock.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace testpage;
using namespace errortest;

namespace {

// The main window on the default machine, the DVD writer's disc shortened
// so that a whole run stays quick.
class ErrorPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
        disc.capacityBlocks = 2000;
        ASSERT_TRUE(rig.drives[0]->InsertMedium(disc));
        SetBeepHook([this](unsigned type) { beeps.push_back(type); });
        rig.Start();
    }
    void TearDown() override { SetBeepHook({}); }
    CQuenzaDlg& Dialog() { return *rig.dialog; }
    std::vector<std::string> ListLines()
    {
        std::vector<std::string> lines;
        auto* list = Dialog().Item<TestResultsList>(kResults);
        for (int i = 0; i < list->count(); ++i)
            lines.push_back(list->Line(i));
        return lines;
    }
    CGetLBA& Viewer() { return *rig.PageObject<SectorViewPage>().m_pGetLbaDlg.Get(); }
    QLineEdit& Address() { return *Viewer().Item<QLineEdit>(CGetLBA::IDC_LBA); }
    // A press of the viewer's button, the block read and shown.
    void Press(int button)
    {
        Viewer().SendCommand(button);
        PumpPostedMessages();
        rig.Settle();
    }

    ManualSlideClock slideClock;
    MainWindowRig rig;
    std::vector<unsigned> beeps;
};

}  // namespace

TEST_F(ErrorPageTest, ARunListsTheBadBlocksMarksTheMapAndSavesTheList)
{
    rig.drives[0]->AddErrorRule(emu::ErrorRule::UnreadableBlocks(0x1C2, 1));
    Dialog().SendCommand(IDC_ERRORTEST);
    rig.Settle();
    EXPECT_EQ(Dialog().m_nCurrentPage, kPageErrorTest);
    EXPECT_EQ(rig.Text(kGroupBox), "CD/DVD/BD CRC Read Error Test");
    EXPECT_EQ(rig.Text(kLabelReadErrors), "Sector");
    EXPECT_EQ(rig.Text(kLabelCurrentSpeed), "Bad Sectors");
    EXPECT_EQ(rig.Text(kLabelAverageSpeed), "Suspect Sectors");
    EXPECT_EQ(rig.Text(kLabelAverageDataRate), "% Bad/Suspect");
    for (int id : {kGraph, kResults, kFieldCurrentSpeed, int{IDC_START}, int{IDC_STOP}, int{IDC_SAVE}})
        EXPECT_TRUE(rig.Shown(id)) << id;
    EXPECT_FALSE(rig.Shown(kSpeedList));
    EXPECT_FALSE(Dialog().GetDlgItem(IDC_SAVE)->isEnabled());

    Dialog().SendCommand(IDC_START);
    rig.Settle();
    Dialog().WaitForToolWork();
    PumpPostedMessages();
    rig.Settle();
    EXPECT_EQ(ListLines(), (std::vector<std::string>{kReadErrorsHeading, "1. Error - LBA = 000001c2h"}));
    EXPECT_EQ(rig.Text(kFieldCurrentSpeed), "1");
    EXPECT_EQ(rig.Text(kFieldAverageSpeed), "399");
    EXPECT_EQ(rig.Text(kFieldRemaining), "0");
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready");
    const RateGraphState map = Dialog().Item<CGraphStatic>(kGraph)->Snapshot();
    EXPECT_EQ(map.mode, 1);
    EXPECT_EQ(map.blockCounter, 5);
    EXPECT_EQ(map.badBlocks, (std::vector<int>{1}));
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    EXPECT_FALSE(Dialog().GetDlgItem(IDC_STOP)->isEnabled());
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_SAVE)->isEnabled());
    EXPECT_EQ(beeps, (std::vector<unsigned>{MB_ICONINFORMATION}));

    TempDir files;
    const std::string path = files.File("errors.txt");
    ScriptedFileDialogs dialogs;
    dialogs.Answer(FileDialogAnswer{path, 1});
    Dialog().SendCommand(IDC_SAVE);
    EXPECT_EQ(ReadFileText(path),
              "Drive - QNZEMU  DVD-RW QDW-2040S\r\nMedia ID Code - MCC     004\r\nMedia Type - DVD+R\r\n"
              "Read Error list\r\n1. Error - LBA = 000001c2h\r\n");
    // Saving onto a file that is there asks first, naming it; No keeps it.
    WriteFileText(path, "kept");
    rig.prompt.Answer(IDNO);
    dialogs.Answer(FileDialogAnswer{path, 1});
    Dialog().SendCommand(IDC_SAVE);
    ASSERT_FALSE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.prompt.asked.back().text, path + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(rig.prompt.asked.back().type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(ReadFileText(path), "kept");
    rig.prompt.Answer(IDYES);
    dialogs.Answer(FileDialogAnswer{path, 1});
    Dialog().SendCommand(IDC_SAVE);
    EXPECT_NE(ReadFileText(path), "kept");

    // The speed page names the three fields its own way again.
    Dialog().SendCommand(IDC_SPEEDTEST);
    rig.Settle();
    EXPECT_EQ(rig.Text(kLabelCurrentSpeed), "Current Speed");
    EXPECT_EQ(rig.Text(kLabelAverageSpeed), "Average Speed");
    EXPECT_EQ(rig.Text(kLabelAverageDataRate), "Avg Data Rate");
}

TEST_F(ErrorPageTest, TheSectorViewerStepsForwardAndBack)
{
    rig.ChooseTool(kToolsSectorViewer);
    ASSERT_TRUE(rig.PageObject<SectorViewPage>().m_pGetLbaDlg);
    EXPECT_EQ(Dialog().m_Core.m_Report.m_bHexView, 1);
    // It slides out in 25 steps and docks at the window's right edge.
    EXPECT_EQ(slideClock.Advance(49), 0);
    EXPECT_EQ(slideClock.RunAll(), 26);
    EXPECT_EQ(slideClock.NowMs(), 50u + 25u * 25u);
    EXPECT_TRUE(Viewer().isVisible());
    EXPECT_FALSE(Viewer().IsHidden());
    EXPECT_EQ(Viewer().geometry().left(), Dialog().frameGeometry().right() + 1);
    // Chosen again while out: a beep.
    rig.ChooseTool(kToolsSectorViewer);
    EXPECT_EQ(beeps.size(), 1u);

    Address().setText("1f");
    Press(CGetLBA::IDC_FWD);
    EXPECT_EQ(Address().text().toStdString(), "20");
    const std::string dump = rig.Text(IDC_OUTPUT);
    EXPECT_NE(dump.find("00000000 51 4E 5A 00 00 00 00 00 00 00 00 1F"), std::string::npos) << dump.substr(0, 300);
    Press(CGetLBA::IDC_FWD);
    EXPECT_EQ(Address().text().toStdString(), "21");

    Viewer().SendCommand(CGetLBA::IDC_DECIMAL);
    EXPECT_EQ(Address().text().toStdString(), "33");
    Viewer().SendCommand(CGetLBA::IDC_DECIMAL);
    EXPECT_EQ(Address().text().toStdString(), "33");
    Press(CGetLBA::IDC_REV);
    EXPECT_EQ(Address().text().toStdString(), "32");
    EXPECT_NE(rig.Text(IDC_OUTPUT).find("00000000 51 4E 5A 00 00 00 00 00 00 00 00 21"), std::string::npos);

    // A block that cannot be read: the address stays and the status says why.
    rig.drives[0]->AddErrorRule(emu::ErrorRule::UnreadableBlocks(32, 1));
    const std::string shown = rig.Text(IDC_OUTPUT);
    Press(CGetLBA::IDC_REV);
    EXPECT_EQ(Address().text().toStdString(), "32");
    EXPECT_EQ(rig.Text(IDC_OUTPUT), shown);
    EXPECT_EQ(Dialog().m_Core.m_Report.GetStatusText(), "Error reading sector! Medium Error");
    EXPECT_NE(rig.log.Text().find("READ(10) (28h) failed: Medium Error - "), std::string::npos);
    EXPECT_EQ(beeps.size(), 2u);

    // Enter and Escape neither send nor close.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&Address(), &press);
    }
    PumpPostedMessages();
    rig.Settle();
    EXPECT_TRUE(Viewer().isVisible());
    EXPECT_EQ(Address().text().toStdString(), "32");

    // "Close" slides it back under the window.
    Viewer().SendCommand(CGetLBA::IDC_CLOSE);
    slideClock.RunAll();
    EXPECT_TRUE(Viewer().IsHidden());
    EXPECT_FALSE(Viewer().isVisible());
}

// Lines that come faster than the window takes them enter the list in one
// insertion, in lines of one height: a disc with a million bad blocks does
// not lay out each line as it comes.
TEST_F(ErrorPageTest, ListLinesThatCameTogetherEnterTheListAtOnce)
{
    Dialog().SendCommand(IDC_ERRORTEST);
    rig.Settle();
    auto* list = Dialog().Item<TestResultsList>(kResults);
    ASSERT_EQ(list->count(), 1);  // the heading
    int insertions = 0;
    const QMetaObject::Connection counting = QObject::connect(list->model(), &QAbstractItemModel::rowsInserted,
                                                              [&insertions] { ++insertions; });
    for (int i = 0; i < 50000; ++i)
        Dialog().m_TestPage.AddListLine(Format("%d. Error - LBA = %08xh", i + 1, i));
    PumpPostedMessages();
    QObject::disconnect(counting);
    EXPECT_EQ(insertions, 1);
    ASSERT_EQ(list->count(), 50001);
    EXPECT_EQ(list->Line(50000), "50000. Error - LBA = 0000c34fh");
    EXPECT_TRUE(list->uniformItemSizes());
}

TEST_F(ErrorPageTest, ThePageIsRefusedWhileASpeedTestRuns)
{
    g_bSpeedTestRunning = 1;
    Dialog().SendCommand(IDC_ERRORTEST);
    rig.Settle();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
    EXPECT_EQ(rig.prompt.asked[0].caption, "Error Test Running!");
    EXPECT_NE(Dialog().m_nCurrentPage, kPageErrorTest);
    g_bSpeedTestRunning = 0;
}
