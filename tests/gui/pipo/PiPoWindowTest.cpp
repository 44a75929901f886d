#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/drive/WrapperRig.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanWindowIds.h"
#include "gui/graphs/ComparePIPO.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/pipo/PiPo.h"
#include "gui/pipo/SetLogicalBlockAddress.h"
#include "gui/ui/MatrixStatic.h"
#include "support/SavedScans.h"
#include "support/gui/ScriptedFileDialogs.h"
#include "ScanWindowRig.h"
#include "support/gui/ScopedModalHook.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(ScanWindow, OpensOnTheDriveWithItsFamilysViewMediaAndRange)
{
    ScanWindowRig rig("liteon", "dvd+r", {}, [] { WriteAppProfileInt("Translucency", 200); });
    CPiPo& window = *rig.window;
    EXPECT_EQ(window.windowTitle(), "Quenzario PIPO Scanning");
    EXPECT_EQ(window.size(), QSize(753, 540));
    EXPECT_NEAR(window.windowOpacity(), 200 / 255.0, 0.01);
    EXPECT_NE(rig.drives.log.Text().find("Started PIPO() function"), std::string::npos);

    EXPECT_EQ(window.Context().state.m_nDriveCode, kDriveLiteon);
    EXPECT_EQ(rig.Text(IDC_PIPO_MEDIA_NAME), "DVD+R");
    EXPECT_NE(rig.Text(IDC_PIPO_MID_CODE), "N/A");
    EXPECT_EQ(rig.Text(IDC_PIPO_LOWER_BOX), "PI Failures Graph");
    EXPECT_TRUE(rig.Shown(IDC_PIPO_JITTER_SCALE)) << "a jitter-capable Lite-On";
    EXPECT_TRUE(rig.Shown(IDC_PIPO_READ_SPEED));
    EXPECT_FALSE(rig.Shown(IDC_PIPO_NEC_SPEED));
    EXPECT_FALSE(rig.Shown(IDC_PIPO_ACCURACY));
    EXPECT_TRUE(rig.Enabled(IDC_PIPO_START));
    EXPECT_EQ(window.CurrentSlot(), 1);
    EXPECT_EQ(window.IsDlgButtonChecked(IDC_PIPO_GRAPH1), 1);

    // The range of the disc, the settings' defaults, the captions.
    const std::int64_t last = rig.drives.context.reads.ReadCapacity();
    EXPECT_EQ(rig.Text(IDC_PIPO_START_LBA), "0");
    EXPECT_EQ(rig.Text(IDC_PIPO_END_LBA), Format("%X", static_cast<unsigned>(last)));
    EXPECT_EQ(window.Item<QComboBox>(IDC_PIPO_NEC_SPEED)->currentText(), "  4x ");
    EXPECT_EQ(rig.Text(kBottomCaptions[0]), "1GB");
    EXPECT_EQ(window.GetDlgItem(IDC_PIPO_START)->toolTip().toStdString(), "Starts a scan graph");
    EXPECT_EQ(window.GetDlgItem(IDC_PIPO_PI_BLOCK)->toolTip().toStdString(), "Set this plot to block line mode");

    // Each family's view shows its own controls.
    window.ShowView(ScanViewMode::NecIhas);
    EXPECT_TRUE(rig.Shown(IDC_PIPO_NEC_SPEED));
    EXPECT_FALSE(rig.Shown(IDC_PIPO_JITTER_SCALE));
    window.ShowView(ScanViewMode::PO);
    EXPECT_EQ(rig.Text(IDC_PIPO_PIF_TOTAL_LABEL), "PO Total");
    EXPECT_TRUE(rig.Shown(IDC_PIPO_SHOW_PO));
    EXPECT_FALSE(rig.Shown(IDC_PIPO_SHOW_PIF));
    window.ShowView(ScanViewMode::Plextor);
    EXPECT_TRUE(rig.Shown(IDC_PIPO_ACCURACY));
    EXPECT_EQ(rig.Text(IDC_PIPO_UPPER_BOX), "PIE / Speed Graph");
}

TEST(ScanWindow, ScaleBoxesAndTogglesDriveTheGraphs)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    window.Context().state.m_nPIPeak = 11;
    auto* scale = window.Item<QComboBox>(IDC_PIPO_UPPER_SCALE);
    scale->setCurrentIndex(0);  // "Auto Peak"
    window.SendNotify(IDC_PIPO_UPPER_SCALE, Notify::SelChange);
    EXPECT_EQ(window.UpperGraph(1).GetPIScaleCode(), 3);
    EXPECT_EQ(rig.Text(kUpperLeftCaptions[0]), "16");
    EXPECT_EQ(rig.Text(kUpperLeftCaptions[3]), "4");
    scale->setCurrentIndex(10);
    window.SendNotify(IDC_PIPO_UPPER_SCALE, Notify::SelChange);
    EXPECT_EQ(rig.Text(kUpperLeftCaptions[0]), "2048");

    window.Item<QComboBox>(IDC_PIPO_JITTER_SCALE)->setCurrentIndex(6);
    window.SendNotify(IDC_PIPO_JITTER_SCALE, Notify::SelChange);
    EXPECT_EQ(window.LowerGraph(1).GetJitterScaleCode(), 6);
    EXPECT_EQ(rig.Text(kLowerRightCaptions[0]), "64%");

    window.Item<QComboBox>(IDC_PIPO_READ_SPEED)->setCurrentIndex(0);  // " MAX  " is 16x
    window.SendNotify(IDC_PIPO_READ_SPEED, Notify::SelChange);
    EXPECT_EQ(rig.Text(kUpperRightCaptions[0]), "16x");
    window.Item<QComboBox>(IDC_PIPO_READ_SPEED)->setCurrentIndex(6);  // " 16x" leaves it
    window.Item<QComboBox>(IDC_PIPO_READ_SPEED)->setCurrentIndex(1);
    window.SendNotify(IDC_PIPO_READ_SPEED, Notify::SelChange);
    EXPECT_EQ(rig.Text(kUpperRightCaptions[0]), "4x");
    window.Item<QComboBox>(IDC_PIPO_READ_SPEED)->setCurrentIndex(6);
    window.SendNotify(IDC_PIPO_READ_SPEED, Notify::SelChange);
    EXPECT_EQ(rig.Text(kUpperRightCaptions[0]), "4x");

    // "Show PIF" off hides L5-L8 and disables the PIF radios.
    window.CheckDlgButton(IDC_PIPO_SHOW_PIF, 0);
    window.SendCommand(IDC_PIPO_SHOW_PIF);
    EXPECT_EQ(window.ShowFlags().showPIF, 0);
    EXPECT_FALSE(rig.Shown(kLowerLeftCaptions[0]));
    EXPECT_FALSE(rig.Enabled(IDC_PIPO_PIF_LINE));
}

// A scan saved, loaded into the second slot: both slots hold a scan and
// Compare opens on them.
TEST(ScanWindow, SaveLoadIntoSlot2AndCompare)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    rig.FakeScan(120);
    window.Context().state.m_bNotSaved1 = 1;
    window.DriveDisplay().SetText("My comment");
    const std::string path = rig.dir.File("scan.qnzx");
    rig.files.Answer(FileDialogAnswer{path, 1});
    window.SendCommand(IDC_PIPO_SAVE);
    ASSERT_TRUE(rig.prompt.asked.empty()) << rig.prompt.asked.front().text;
    EXPECT_EQ(window.Context().state.m_bNotSaved1, 0);
    ScanFile saved;
    ASSERT_TRUE(LoadScanFile(path, saved));
    EXPECT_EQ(saved.upper.pi.size(), 120u);
    EXPECT_EQ(saved.displays.piTotal, 1234);
    EXPECT_EQ(saved.displays.jitterPeak, 84);
    EXPECT_EQ(saved.mediaType, "DVD+R");
    EXPECT_EQ(saved.driveDisplay.rfind("My comment", 0), 0u);
    EXPECT_FALSE(rig.Enabled(IDC_PIPO_COMPARE));

    window.SendCommand(IDC_PIPO_GRAPH2);
    EXPECT_EQ(window.CurrentSlot(), 2);
    EXPECT_EQ(window.UpperGraph(2).GetPointCount(), 0u);
    EXPECT_TRUE(window.UpperGraph(2).isVisibleTo(&window));
    EXPECT_FALSE(window.UpperGraph(1).isVisibleTo(&window));
    rig.files.Answer(FileDialogAnswer{path, 1});
    window.SendCommand(IDC_PIPO_LOAD);
    ASSERT_TRUE(rig.prompt.asked.empty()) << rig.prompt.asked.front().text;
    EXPECT_EQ(window.UpperGraph(2).GetPointCount(), 120u);
    EXPECT_EQ(window.LowerGraph(2).GetJitterCount(), 120u);
    EXPECT_EQ(rig.Text(IDC_PIPO_PI_TOTAL), "1234");
    EXPECT_EQ(rig.Text(IDC_PIPO_JITTER_PEAK), "8.4%");
    EXPECT_EQ(rig.Text(IDC_PIPO_QUALITY_RATING).rfind("Quality Rating ", 0), 0u);
    EXPECT_EQ(window.DriveDisplay().GetText().rfind("My comment", 0), 0u);
    EXPECT_TRUE(rig.Enabled(IDC_PIPO_COMPARE));

    // Back on slot 1 its own figures return.
    window.SendCommand(IDC_PIPO_GRAPH1);
    EXPECT_EQ(rig.Text(IDC_PIPO_PI_TOTAL), "1234");
    EXPECT_TRUE(window.UpperGraph(1).isVisibleTo(&window));

    int compareRuns = 0;
    std::string rating2;
    {
        ScopedModalHook hook([&](CDialog& dialog) {
            if (auto* compare = dynamic_cast<CComparePIPO*>(&dialog)) {
                ++compareRuns;
                rating2 = compare->GetDlgItemText(IDC_CMP_RATING2);
            }
            return 0;
        });
        window.SendCommand(IDC_PIPO_COMPARE);
    }
    EXPECT_EQ(compareRuns, 1);
    EXPECT_EQ(rating2.rfind("Quality ", 0), 0u);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(ScanWindow, AFailedSaveKeepsTheScanUnsavedAndSaysSo)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    rig.FakeScan(10);
    window.Context().state.m_bNotSaved1 = 1;
    rig.files.Answer(FileDialogAnswer{rig.dir.File("missing/folder/scan.qnzx"), 1});
    window.SendCommand(IDC_PIPO_SAVE);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Error opening file for writing");
    EXPECT_EQ(window.Context().state.m_bNotSaved1, 1);

    // An existing file and No: left as it was.
    const std::string path = rig.dir.File("old.qnzx");
    WriteFileText(path, "old");
    rig.files.Answer(FileDialogAnswer{path, 1});
    rig.prompt.Answer(IDNO);
    window.SendCommand(IDC_PIPO_SAVE);
    EXPECT_EQ(rig.prompt.asked.back().caption, "File Exists");
    EXPECT_EQ(ReadFileText(path), "old");
    EXPECT_EQ(window.Context().state.m_bNotSaved1, 1);
}

TEST(ScanWindow, SnapshotsDecodeBackToTheWindow)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    rig.FakeScan(50);
    for (const char* name : {"shot.png", "shot.gif", "shot.bmp"}) {
        SCOPED_TRACE(name);
        const std::string path = rig.dir.File(name);
        rig.files.Answer(FileDialogAnswer{path, 1});
        window.SendCommand(IDC_PIPO_SNAPSHOT);
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(path)));
        EXPECT_EQ(image.size(), window.size());
    }
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(ScanWindow, TheRangeDialogSetsTheRangeAndCancelKeepsIt)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    const std::string end = rig.Text(IDC_PIPO_END_LBA);

    {
        ScopedModalHook hook([](CDialog& dialog) {
            auto* range = dynamic_cast<CSetLogicalBlockAddress*>(&dialog);
            if (range == nullptr)
                return 0;
            range->Item<QLineEdit>(CSetLogicalBlockAddress::IDC_START_LBA)->setText("1A2B");
            return IDCANCEL;
        });
        window.SendCommand(IDC_PIPO_SET_LBA);
        EXPECT_EQ(rig.Text(IDC_PIPO_START_LBA), "0");
        EXPECT_EQ(rig.Text(IDC_PIPO_END_LBA), end);

        hook.Set([](CDialog& dialog) {
            auto* range = dynamic_cast<CSetLogicalBlockAddress*>(&dialog);
            if (range == nullptr)
                return 0;
            EXPECT_EQ(range->windowTitle(), "Set Logical Block Addresss");
            range->Item<QLineEdit>(CSetLogicalBlockAddress::IDC_START_LBA)->setText("1A2G");
            range->Item<QLineEdit>(CSetLogicalBlockAddress::IDC_END_LBA)->setText("2000");
            range->SendCommand(IDOK);
            return range->ModalResult();
        });
        window.SendCommand(IDC_PIPO_SET_LBA);
    }
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, kLbaHexOnly);
    EXPECT_EQ(rig.Text(IDC_PIPO_START_LBA), "1A2");
    EXPECT_EQ(rig.Text(IDC_PIPO_END_LBA), "2000");
    EXPECT_EQ(window.Context().state.m_llStartLba, 0x1A2);
}

TEST(ScanWindow, CloseDuringAScanIsRefusedAndSettingsAreSavedOnClose)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    window.Context().g_bErrorTestRunning = 1;
    window.OnClose();
    window.Context().g_bErrorTestRunning = 0;
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must click 'Stop' first");
    EXPECT_EQ(window.ModalResult(), -1) << "still open";

    window.Item<QComboBox>(IDC_PIPO_LOWER_SCALE)->setCurrentIndex(5);
    window.SendNotify(IDC_PIPO_LOWER_SCALE, Notify::SelChange);
    window.OnClose();
    EXPECT_EQ(window.ModalResult(), 0);
    EXPECT_EQ(GetAppProfileInt("PIPOScaleLower", -1), 5);
    EXPECT_EQ(GetAppProfileInt("SpeedNEC", -1), 3);
}

TEST(ScanWindow, DroppedFilesLoadIntoTheSlots)
{
    ScanWindowRig rig;
    CPiPo& window = *rig.window;
    const std::string one = rig.dir.File("one.qnzx");
    const std::string two = rig.dir.File("TWO.QNZX");
    ScanFile scan1 = MakeScan(80, 25, 4, "drive one");
    ScanFile scan2 = MakeScan(60, 40, 5, "drive two");
    ASSERT_TRUE(SaveScanFile(one, scan1));
    ASSERT_TRUE(SaveScanFile(two, scan2));

    window.OnDropFiles({one, two, rig.dir.File("three.qnzx")});
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(window.CurrentSlot(), 1);
    EXPECT_EQ(window.UpperGraph(1).GetPointCount(), 80u);
    EXPECT_EQ(window.UpperGraph(2).GetPointCount(), 60u);
    EXPECT_TRUE(rig.Enabled(IDC_PIPO_COMPARE));

    window.OnDropFiles({rig.dir.File("graph.ibg")});
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Non-QNZ file, Quenzario only supports its own 'QNZ' or 'QNZX' files");
    EXPECT_EQ(window.UpperGraph(1).GetPointCount(), 80u);
}

TEST(ScanWindow, AScanFileOnTheCommandLineOpensInTheWindowOnce)
{
    TempDir files;
    const std::string path = files.File("disc.qnzx");
    ScanFile scan = MakeScan(70, 25, 4, "command line");
    ASSERT_TRUE(SaveScanFile(path, scan));
    ScanWindowRig rig("liteon", "dvd+r", path);
    EXPECT_EQ(rig.window->UpperGraph(1).GetPointCount(), 70u);
    EXPECT_TRUE(rig.cmdLine1.empty());
    EXPECT_EQ(rig.window->DriveDisplay().GetText().rfind("command line", 0), 0u);
}
