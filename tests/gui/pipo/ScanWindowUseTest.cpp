#include "core/base/AppProfile.h"
#include "core/base/MessageIds.h"
#include "core/graphs/ScanCompare.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanScales.h"
#include "core/pipo/ScanSlots.h"
#include "core/pipo/ScanWindowIds.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/pipo/PiPo.h"
#include "gui/ui/Comment.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/ShellOpen.h"
#include "ScanWindowRig.h"
#include "support/gui/ScopedModalHook.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// Runs a scan of the current drive over [start, end] (hexadecimal texts) to
// its end, its posted calls shown. The drive is known as a DVD drive, as the
// main window's interrogation finds it.
void ScanOver(ScanWindowRig& rig, const std::string& start, const std::string& end)
{
    CPiPo& window = *rig.window;
    rig.drives.Record().m_bDvdDrive = 1;
    window.Control().SetRangeTexts(start, end);
    window.SendCommand(IDC_PIPO_START);
    window.Control().JoinScanThread();
    PumpPostedMessages();
}

std::array<std::string, 4> ShownCaptions(const ScanWindowRig& rig, const std::array<int, 4>& ids)
{
    return {rig.Text(ids[0]), rig.Text(ids[1]), rig.Text(ids[2]), rig.Text(ids[3])};
}

}  // namespace

// Whatever name is typed, the scan is written as a ".qnzx" that a drop (and
// so Load and the command line) takes again.
TEST(ScanWindowUse, ASavedScanIsAQnzxFileWhateverWasTyped)
{
    struct Case {
        const char* typed;
        const char* written;
    };
    const Case cases[] = {
        {"scan", "scan.qnzx"},
        {"scan.txt", "scan.txt.qnzx"},
        {"SCAN.QNZX", "SCAN.QNZX"},
        {"disc.qnzx", "disc.qnzx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ScanWindowRig rig;
        rig.FakeScan(40);
        rig.files.Answer(FileDialogAnswer{rig.dir.File(c.typed), 1});
        rig.window->SendCommand(IDC_PIPO_SAVE);
        EXPECT_TRUE(rig.prompt.asked.empty());
        ScanFile saved;
        ASSERT_TRUE(LoadScanFile(rig.dir.File(c.written), saved));
        EXPECT_EQ(saved.upper.pi.size(), 40u);
        rig.window->SendCommand(IDC_PIPO_GRAPH2);
        rig.window->OnDropFiles({rig.dir.File(c.written)});
        EXPECT_TRUE(rig.prompt.asked.empty()) << rig.prompt.asked.front().text;
        EXPECT_EQ(rig.window->UpperGraph(1).GetPointCount(), 40u);
    }
    // An existing ".qnzx" of the name is asked about before it is replaced.
    ScanWindowRig rig;
    rig.FakeScan(10);
    WriteFileText(rig.dir.File("old.qnzx"), "old");
    rig.files.Answer(FileDialogAnswer{rig.dir.File("old"), 1});
    rig.prompt.Answer(IDNO);
    rig.window->SendCommand(IDC_PIPO_SAVE);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].caption, "File Exists");
    EXPECT_EQ(ReadFileText(rig.dir.File("old.qnzx")), "old");
}

// "Auto Peak" on both plots: the scan's ladders raise the scales on the
// scan's thread, and the captions follow them to the scale the graph draws on.
TEST(ScanWindowUse, AutoPeakCaptionsFollowTheScalesTheScanRaises)
{
    ScanWindowRig rig("liteon", "dvd+r-scratched");
    CPiPo& window = *rig.window;
    for (int id : {IDC_PIPO_UPPER_SCALE, IDC_PIPO_LOWER_SCALE}) {
        window.Item<QComboBox>(id)->setCurrentIndex(0);  // "Auto Peak"
        window.SendNotify(id, Notify::SelChange);
    }
    ASSERT_EQ(rig.Text(kUpperLeftCaptions[0]), "8");
    // Across the scratch, whose PI and PIF outgrow the smallest scale.
    ScanOver(rig, "90000", "B0000");
    ASSERT_EQ(window.Context().state.m_nDriveCode, kDriveLiteon);
    ASSERT_GT(window.UpperGraph(1).GetPointCount(), 10u);
    const int upperCode = window.UpperGraph(1).GetPIScaleCode();
    const int lowerCode = window.LowerGraph(1).GetPIFScaleCode();
    EXPECT_GT(upperCode, 2);
    EXPECT_GT(lowerCode, 2);
    EXPECT_EQ(ShownCaptions(rig, kUpperLeftCaptions), LeftAxisCaptions(upperCode));
    EXPECT_EQ(ShownCaptions(rig, kLowerLeftCaptions), LeftAxisCaptions(lowerCode));
    // The compare window captions the same code alike.
    EXPECT_EQ(ComparePICaptions(upperCode), ShownCaptions(rig, kUpperLeftCaptions));
}

// A loaded scan shows on its own fixed scales; the next scan starts on the
// scales chosen for scanning ("Auto Peak"), which raise with the disc's
// errors, and those are the scales kept for the next time.
TEST(ScanWindowUse, AScanAfterALoadStartsOnTheScalesChosenForScanning)
{
    ScanWindowRig rig("liteon", "dvd+r-scratched");
    CPiPo& window = *rig.window;
    const auto choose = [&](int index) {
        for (int id : {IDC_PIPO_UPPER_SCALE, IDC_PIPO_LOWER_SCALE}) {
            window.Item<QComboBox>(id)->setCurrentIndex(index);
            window.SendNotify(id, Notify::SelChange);
        }
    };
    const auto shownIndex = [&](int id) { return window.Item<QComboBox>(id)->currentIndex(); };
    const std::string path = rig.dir.File("fixed.qnzx");
    const auto load = [&] {
        rig.files.Answer(FileDialogAnswer{path, 1});
        window.SendCommand(IDC_PIPO_LOAD);
    };
    rig.FakeScan(40);
    choose(2);  // "0-10"
    rig.files.Answer(FileDialogAnswer{path, 1});
    window.SendCommand(IDC_PIPO_SAVE);
    choose(0);  // "Auto Peak"
    load();
    ASSERT_EQ(shownIndex(IDC_PIPO_UPPER_SCALE), 2);  // the file's own
    ASSERT_EQ(window.UpperGraph(1).GetPIScaleCode(), 2);

    ScanOver(rig, "90000", "B0000");
    EXPECT_TRUE(rig.prompt.asked.empty()) << rig.prompt.asked.front().text;
    ASSERT_GT(window.UpperGraph(1).GetPointCount(), 10u);
    EXPECT_EQ(shownIndex(IDC_PIPO_UPPER_SCALE), 0);
    EXPECT_EQ(shownIndex(IDC_PIPO_LOWER_SCALE), 0);
    EXPECT_GT(window.UpperGraph(1).GetPIScaleCode(), 2);
    EXPECT_GT(window.LowerGraph(1).GetPIFScaleCode(), 2);

    load();
    window.OnClose();
    EXPECT_EQ(GetAppProfileInt("PIScale", -1), 0);
    EXPECT_EQ(GetAppProfileInt("PIPOScaleLower", -1), 0);
}

// A drive of no scanning family: its message once, Start disabled, and Start
// leaves nothing waiting at "Starting PI PO Test...".
TEST(ScanWindowUse, ADriveOfNoScanningFamilySaysSoOnceAndCannotStart)
{
    ScanWindowRig rig("toshiba", "hddvd-rom");
    CPiPo& window = *rig.window;
    EXPECT_EQ(window.Context().state.m_nDriveCode, kDriveUnsuitable);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Toshiba drives do not support pi//po scanning");
    EXPECT_FALSE(rig.Enabled(IDC_PIPO_START));
    // Showing the second slot reads the medium again: nothing more is said.
    window.SendCommand(IDC_PIPO_GRAPH2);
    window.SendCommand(IDC_PIPO_GRAPH1);
    EXPECT_EQ(rig.prompt.asked.size(), 1u);

    window.SendCommand(IDC_PIPO_START);
    window.Control().JoinScanThread();
    PumpPostedMessages();
    EXPECT_NE(window.m_strStatus.rfind("Starting PI PO Test...", 0), 0u) << window.m_strStatus;
    EXPECT_FALSE(rig.Enabled(IDC_PIPO_START));
    EXPECT_TRUE(rig.Enabled(IDC_PIPO_LOAD));
}

// A BD is drawn on an axis that holds the whole disc, and its media ID is
// shown as the drive reports it.
TEST(ScanWindowUse, ABdScanHasAnAxisOfTheDiscsSizeAndItsMediaId)
{
    ScanWindowRig rig("liteon", "bd-r");
    CPiPo& window = *rig.window;
    EXPECT_EQ(rig.Text(IDC_PIPO_MEDIA_NAME), "BD-R");
    EXPECT_NE(rig.Text(IDC_PIPO_MID_CODE), "N/A");
    EXPECT_NE(rig.Text(IDC_PIPO_MID_CODE).find("VERBAT"), std::string::npos) << rig.Text(IDC_PIPO_MID_CODE);
    ScanOver(rig, "0", "20000");
    // 10,000,000 blocks recorded (19.1 GiB): 5 GB a caption, the end at x 381.
    EXPECT_EQ(ShownCaptions(rig, kBottomCaptions), (std::array<std::string, 4>{"5GB", "10GB", "15GB", "20GB"}));
    EXPECT_EQ(window.UpperGraph(1).StoreRecord().frame.endMarkerX, 381);
    EXPECT_GE(window.UpperGraph(1).GetPointCount(), 4u);
    EXPECT_LE(window.UpperGraph(1).GetPointCount(), 6u) << "a point per 5 x 5243 sectors";

    // A DVD keeps its axis.
    ScanWindowRig dvd("liteon", "dvd+r");
    ScanOver(dvd, "0", "7530");
    EXPECT_EQ(ShownCaptions(dvd, kBottomCaptions), (std::array<std::string, 4>{"1GB", "2GB", "3GB", "4GB"}));
}

// The Cyberdrive's lower displays hold jitter and say so; its jitter toggle
// is pressed and usable while the jitter line is drawn.
TEST(ScanWindowUse, ThePOViewLabelsItsJitterDisplaysAsJitter)
{
    ScanWindowRig rig("cyberdrive", "dvd+r");
    CPiPo& window = *rig.window;
    ASSERT_EQ(window.Context().state.m_nDriveCode, kDriveCyberdrive);
    EXPECT_EQ(rig.Text(IDC_PIPO_PIF_TOTAL_LABEL), "PO Total");
    EXPECT_EQ(rig.Text(IDC_PIPO_JITTER_INST_LABEL), "Jitter Inst.");
    EXPECT_EQ(rig.Text(IDC_PIPO_JITTER_PEAK_LABEL), "Jitter Peak");
    EXPECT_EQ(window.ShowFlags().showJitter, 1);
    EXPECT_EQ(window.IsDlgButtonChecked(IDC_PIPO_SHOW_JITTER), 1);
    EXPECT_TRUE(rig.Enabled(IDC_PIPO_SHOW_JITTER));
    EXPECT_TRUE(rig.Enabled(IDC_PIPO_JITTER_AVG));
    EXPECT_TRUE(rig.Shown(kLowerRightCaptions[0]));
    window.CheckDlgButton(IDC_PIPO_SHOW_JITTER, 0);
    window.SendCommand(IDC_PIPO_SHOW_JITTER);
    EXPECT_EQ(window.ShowFlags().showJitter, 0);
    EXPECT_FALSE(rig.Shown(kLowerRightCaptions[0]));

    // The Pioneer view keeps its position displays.
    ScanWindowRig pioneer("pioneer", "dvd+r");
    EXPECT_EQ(pioneer.Text(IDC_PIPO_JITTER_INST_LABEL), "Current LBA");
    EXPECT_EQ(pioneer.Text(IDC_PIPO_JITTER_PEAK_LABEL), "Max LBA");
}

// The comment dialog starts empty on the displays' hint, and a scan saved
// with the hint on its status line carries no comment.
TEST(ScanWindowUse, TheDisplaysHintIsNeverAComment)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    window.SetStatus(kSlotStatusPrompt);
    std::string offered = "unset";
    {
        ScopedModalHook hook([&](CDialog& dialog) {
            offered = dialog.GetDlgItemText(CComment::IDC_COMMENT);
            dialog.reject();
            return dialog.ModalResult();
        });
        window.SendNotify(IDC_PIPO_STATUS_DISPLAY, Notify::DoubleClick);
    }
    EXPECT_EQ(offered, "");

    rig.FakeScan(5);
    rig.files.Answer(FileDialogAnswer{rig.dir.File("hint.qnzx"), 1});
    window.SendCommand(IDC_PIPO_SAVE);
    ScanFile saved;
    ASSERT_TRUE(LoadScanFile(rig.dir.File("hint.qnzx"), saved));
    EXPECT_EQ(saved.status.find("Double-Click"), std::string::npos) << saved.status;
}

// "?" without a program to show the help page says so.
TEST(ScanWindowUse, HelpThatCannotOpenSaysSo)
{
    ScanWindowRig rig;
    std::string opened;
    SetShellOpenHook([&](const std::string& target) {
        opened = target;
        return false;
    });
    rig.window->SendCommand(IDC_PIPO_HELP);
    SetShellOpenHook(nullptr);
    EXPECT_NE(opened.find("ZentaroPIPO.htm"), std::string::npos);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "The help page " + opened + " cannot be opened.");
}
