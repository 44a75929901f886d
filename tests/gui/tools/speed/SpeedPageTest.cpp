#include "core/app/TestPageControls.h"
#include "gui/app/MainWindowRig.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace testpage;

namespace {

// The main window on the three emulated drives of the default machine, the
// DVD writer's disc shortened so that a whole run stays quick.
class SpeedPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
        disc.capacityBlocks = 400000;
        ASSERT_TRUE(rig.drives[0]->InsertMedium(disc));
        SetBeepHook([this](unsigned type) { beeps.push_back(type); });
        rig.Start();
    }
    void TearDown() override { SetBeepHook({}); }
    CQuenzaDlg& Dialog() { return *rig.dialog; }
    std::vector<std::string> ComboEntries(int id)
    {
        std::vector<std::string> entries;
        auto* combo = Dialog().Item<QComboBox>(id);
        for (int i = 0; i < combo->count(); ++i)
            entries.push_back(combo->itemText(i).toStdString());
        return entries;
    }
    std::vector<std::string> Texts(const auto& ids)
    {
        std::vector<std::string> texts;
        for (int id : ids)
            texts.push_back(rig.Text(id));
        return texts;
    }
    void OpenPage()
    {
        Dialog().SendCommand(IDC_SPEEDTEST);
        rig.Settle();
    }
    // Start, the test on its worker to its end, and the end message shown.
    void RunTest()
    {
        Dialog().SendCommand(IDC_START);
        rig.Settle();
        Dialog().WaitForToolWork();
        PumpPostedMessages();
        rig.Settle();
    }

    MainWindowRig rig;
    std::vector<unsigned> beeps;
};

}  // namespace

TEST_F(SpeedPageTest, TheSpeedButtonShowsThePageWithTheListsOfTheDrivesDisc)
{
    OpenPage();
    EXPECT_EQ(Dialog().m_nCurrentPage, kPageSpeedTest);
    for (int id : {kSpeedList, kPreSpinList, kRequestClv, kRequestCav, kShowRpm, kShowSpeed, kGraph, kFieldCurrentSpeed,
                   kSpeedAxisLabels[0], kRpmAxisLabels[8], kCapacityAxisLabels[3], int{IDC_START}, int{IDC_STOP},
                   int{IDC_SAVE}, int{IDC_PROGRESS2}, int{IDC_MEDIATYPE}})
        EXPECT_TRUE(rig.Shown(id)) << id;
    for (int id : {kResults, kIsoRadio, int{IDC_OUTPUT}})
        EXPECT_FALSE(rig.Shown(id)) << id;
    EXPECT_EQ(rig.Text(IDC_START), "Start");
    EXPECT_EQ(rig.Text(IDC_SAVE), "Save");
    EXPECT_EQ(rig.Text(kLabelReadErrors), "Read Errors");
    EXPECT_EQ(rig.Text(kFieldMediaType), "DVD+R");
    EXPECT_EQ(rig.Text(kFieldElapsedTime), "00:00:00");
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    EXPECT_FALSE(Dialog().GetDlgItem(IDC_STOP)->isEnabled());
    EXPECT_EQ(Texts(kSpeedAxisLabels),
              (std::vector<std::string>{"18x", "16x", "14x", "12x", "10x", "8x", "6x", "4x", "2x"}));
    EXPECT_EQ(Texts(kRpmAxisLabels),
              (std::vector<std::string>{"18k", "16k", "14k", "12k", "10k", "8k", "6k", "4k", "2k"}));
    // The pre-spin list at 4 seconds, CLV asked for, the speed list at "MAX".
    const auto preSpin = ComboEntries(kPreSpinList);
    ASSERT_EQ(preSpin.size(), 11u);
    EXPECT_EQ(preSpin.front(), "No Prespin");
    EXPECT_EQ(Dialog().Item<QComboBox>(kPreSpinList)->currentIndex(), 4);
    EXPECT_TRUE(Dialog().Item<QAbstractButton>(kRequestClv)->isChecked());
    EXPECT_EQ(Dialog().Item<QComboBox>(kSpeedList)->currentIndex(), 0);

    // The list and the capacity axis follow the drive's disc.
    struct Drive {
        int index;
        std::size_t entries;
        const char* second;
        std::vector<std::string> capacity;
    };
    for (const Drive& drive :
         {Drive{0, 21, "20x", {"1GB", "2GB", "3GB", "4GB"}}, Drive{1, 10, "9x", {"6GB", "12GB", "18GB", "24GB"}},
          Drive{2, 18, "80x", {"1GB", "2GB", "3GB", "4GB"}}}) {
        SCOPED_TRACE(drive.index);
        rig.SelectDrive(drive.index);
        const auto speeds = ComboEntries(kSpeedList);
        EXPECT_EQ(speeds.size(), drive.entries);
        EXPECT_EQ(speeds.front(), "MAX");
        EXPECT_EQ(speeds[1], drive.second);
        EXPECT_EQ(speeds.back(), "1x");
        EXPECT_EQ(Texts(kCapacityAxisLabels), drive.capacity);
        EXPECT_EQ(Dialog().m_nCurrentPage, kPageSpeedTest);
    }
    // The ISO page takes the speed page's controls away.
    Dialog().SendCommand(IDC_COMPARE);
    rig.Settle();
    EXPECT_FALSE(rig.Shown(kSpeedList));
    EXPECT_FALSE(rig.Shown(kSpeedAxisLabels[0]));
    EXPECT_EQ(rig.Text(kLabelReadErrors), "Sector");
}

// The speed, error and ISO pages show the disc's media ID in the Media ID
// box they borrow from the drive page, and leave it there for that page.
TEST_F(SpeedPageTest, TheTestPagesShowTheMediaIdAndLeaveItForTheDrivePage)
{
    ASSERT_EQ(rig.Text(IDC_MEDIAID), "MCC     004");
    for (const int page : {int{IDC_SPEEDTEST}, int{IDC_ERRORTEST}, int{IDC_COMPARE}}) {
        SCOPED_TRACE(page);
        Dialog().SendCommand(page);
        rig.Settle();
        EXPECT_EQ(rig.Text(kFieldMediaId), "MCC     004");
        EXPECT_EQ(rig.Text(kFieldMediaType), "DVD+R");
        Dialog().SendCommand(IDC_DRIVEINFO);
        rig.Settle();
        EXPECT_EQ(rig.Text(IDC_MEDIAID), "MCC     004");
    }
    // A disc without a media ID leaves the box empty.
    rig.SelectDrive(2);
    OpenPage();
    EXPECT_EQ(rig.Text(kFieldMediaId), "");
}

TEST_F(SpeedPageTest, ARunFromStartToTheEndOfTheGraph)
{
    OpenPage();
    Dialog().Item<QComboBox>(kPreSpinList)->setCurrentIndex(1);
    RunTest();
    const RateGraphState graph = Dialog().Item<CGraphStatic>(kGraph)->Snapshot();
    // 400,000 blocks of a DVD: 76 pixels at 100 a GB; the curves reach the end line.
    EXPECT_EQ(graph.endMarkerX, 76);
    ASSERT_GT(graph.speed.Count(), 50u);
    EXPECT_GE(graph.speed.x.back(), 75);
    EXPECT_GE(graph.rpm.x.back(), 75);
    for (int y : graph.speed.y)
        EXPECT_LT(y, 399) << "every point a measured speed";
    EXPECT_EQ(graph.showRpm, 1);
    EXPECT_EQ(graph.showSpeed, 1);
    // The end: results kept, the page usable again, the drive given back.
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready");
    EXPECT_EQ(rig.Text(kFieldLength), "0.76GB");
    EXPECT_EQ(rig.Text(kFieldRead), "-----");
    EXPECT_EQ(rig.Text(kFieldLayerTrackPath), "Single");
    EXPECT_NE(rig.Text(kFieldAverageSpeed), "-----");
    EXPECT_NE(rig.Text(kFieldElapsedTime), "00:00:00");
    EXPECT_EQ(rig.Text(kFieldReadErrors), "0");
    for (int id : {int{IDC_START}, int{IDC_DEVICES}, int{IDC_TOOLS}, kSpeedList, kPreSpinList, kRequestCav})
        EXPECT_TRUE(Dialog().GetDlgItem(id)->isEnabled()) << id;
    EXPECT_FALSE(Dialog().GetDlgItem(IDC_STOP)->isEnabled());
    EXPECT_FALSE(rig.drives[0]->RemovalPrevented());
    EXPECT_FALSE(Dialog().m_Core.m_Drives.coordinator.InUse());
    EXPECT_EQ(g_bSpeedTestRunning, 0);
    EXPECT_EQ(beeps, std::vector<unsigned>{MB_ICONINFORMATION});
    EXPECT_TRUE(rig.prompt.asked.empty());

    // The curve toggles show and hide the curves.
    Dialog().Item<QAbstractButton>(kShowRpm)->click();
    EXPECT_EQ(Dialog().Item<CGraphStatic>(kGraph)->Snapshot().showRpm, 0);
    Dialog().Item<QAbstractButton>(kShowRpm)->click();
    EXPECT_EQ(Dialog().Item<CGraphStatic>(kGraph)->Snapshot().showRpm, 1);
}

TEST_F(SpeedPageTest, StartWithoutADiscAndTestsThatKeepTheDrive)
{
    rig.SelectDrive(1);
    rig.drives[1]->RemoveMedium();
    OpenPage();
    RunTest();
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "No Media loaded");
    EXPECT_EQ(rig.Text(kFieldMediaType), "");
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    EXPECT_FALSE(Dialog().m_Core.m_Drives.coordinator.InUse());
    EXPECT_FALSE(beeps.empty());

    // Another test running: the page is refused.
    g_bErrorTestRunning = 1;
    Dialog().SendCommand(IDC_SPEEDTEST);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
    EXPECT_EQ(rig.prompt.asked[0].caption, "Error Test Running!");
    g_bErrorTestRunning = 0;
}

TEST_F(SpeedPageTest, SaveWritesTheReadErrorListFile)
{
    OpenPage();
    TempDir files;
    const std::string path = files.File("errors.txt");
    WriteFileText(path, "an older list\n");
    ScriptedFileDialogs dialogs;
    dialogs.Answer(FileDialogAnswer{path, 1});
    rig.prompt.Answer(IDYES);  // the older list is replaced
    Dialog().SendCommand(IDC_SAVE);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Choose a FileName to save as");
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, path + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFileText(path),
              "Drive - QNZEMU  DVD-RW QDW-2040S\r\nMedia ID Code - MCC     004\r\nMedia Type - DVD+R\r\n"
              "Read Error list\r\n");
    // Cancelled: nothing written.
    Dialog().SendCommand(IDC_SAVE);
    EXPECT_EQ(dialogs.requests.size(), 2u);
}
