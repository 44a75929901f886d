#include "core/base/Format.h"
#include "gui/graphs/ComparePIPO.h"
#include "gui/graphs/GraphMergePIPO.h"
#include "gui/ui/MatrixStatic.h"
#include "support/SavedScans.h"
#include "support/TestSupport.h"
#include "support/gui/Pixels.h"
#include "support/gui/ScopedModalHook.h"

#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// The compare window over two saved scans, opened as the scan window opens it.
struct CompareRig {
    CompareRig(const ScanFile& one, const ScanFile& two) : scans(dir.File("one.qnzx"), one, dir.File("two.qnzx"), two)
    {
        window = std::make_unique<CComparePIPO>(scans);
        RunModalAnswered(*window);
    }

    QImage Upper() const
    {
        window->UpperOverlay().RefreshNow();
        return window->UpperOverlay().Cache();
    }
    QImage Lower() const
    {
        window->LowerOverlay().RefreshNow();
        return window->LowerOverlay().Cache();
    }

    TempDir dir;
    ScopedProfile profile;
    ScopedProgramLog log;
    ScriptedPrompt prompt;
    SavedScanSlots scans;
    std::unique_ptr<CComparePIPO> window;
};

}  // namespace

TEST(ComparePIPO, ShowsBothScansFiguresRatingsAndCommonScales)
{
    CompareRig rig(WithJitter(MakeScan(300, 25, 4, "QDRIVE DVDRW QX-18")), MakeScan(200, 150, 7, "My comment"));
    CComparePIPO& window = *rig.window;
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(window.windowTitle(), "Quenzario PIPO Compare");
    EXPECT_NE(rig.log.Text().find("Started Compare() function"), std::string::npos);

    const CompareScanDisplays& one = kCompareScanDisplays[0];
    const CompareScanDisplays& two = kCompareScanDisplays[1];
    EXPECT_EQ(window.GetDlgItemText(one.piTotal), "1234");
    EXPECT_EQ(window.GetDlgItemText(one.piPeak), "25");
    EXPECT_EQ(window.GetDlgItemText(one.pifTotal), "57");
    EXPECT_EQ(window.GetDlgItemText(one.jitterAvg), "7.5%");
    EXPECT_EQ(window.GetDlgItemText(two.piPeak), "150");
    EXPECT_EQ(window.GetDlgItemText(two.totalLabel), "PIF Total2");
    EXPECT_EQ(window.GetDlgItemText(kCompareScanFields[0].typeBook), "DVD+R/DVD-ROM");
    EXPECT_EQ(window.GetDlgItemText(kCompareScanFields[1].drive), "My comment");
    EXPECT_EQ(window.Item<CMatrixStatic>(IDC_CMP_STATUS2)->GetText().rfind("My comment", 0), 0u);

    // Ratings: scan 1 with its measured jitter, scan 2 without.
    EXPECT_EQ(window.GetDlgItemText(IDC_CMP_RATING1), RateComparedScan(rig.scans.Slot(0)).caption);
    EXPECT_EQ(window.GetDlgItemText(IDC_CMP_RATING2), RateComparedScan(rig.scans.Slot(1)).caption);
    EXPECT_EQ(window.GetDlgItemText(IDC_CMP_RATING1).rfind("Quality ", 0), 0u);
    EXPECT_NE(window.GetDlgItemText(IDC_CMP_RATING1), window.GetDlgItemText(IDC_CMP_RATING2));

    // PI codes 4 and 7: both drawn with 7 (full scale 320), captioned at
    // 0.8 ... 0.2 of it as the scan window captions its axes.
    EXPECT_EQ(window.GetDlgItemText(IDC_CMP_PICAPTION), "256");
    EXPECT_EQ(window.GetDlgItemText(IDC_CMP_PICAPTION + 3), "64");
    EXPECT_FLOAT_EQ(window.UpperOverlay().PIFactor(), 0.5f);
    EXPECT_EQ(window.GetDlgItemText(IDC_CMP_JITTERCAPTION), "8%");
    EXPECT_EQ(window.GetDlgItemText(kCompareXCaptions[0]), "1GB");
    EXPECT_EQ(window.GetDlgItemText(kCompareSpeedCaptions[0]), "");

    // Both scans on the overlays, and each toggle takes its scan away.
    EXPECT_GT(CountPixels(rig.Upper(), kOverlayScan1PIPen), 100);
    EXPECT_GT(CountPixels(rig.Upper(), kOverlayScan2PIPen), 100);
    window.CheckDlgButton(IDC_CMP_PIGRAPH1, 0);
    window.SendCommand(IDC_CMP_PIGRAPH1);
    EXPECT_EQ(CountPixels(rig.Upper(), kOverlayScan1PIPen), 0);
    EXPECT_GT(CountPixels(rig.Lower(), kOverlayScan2JitterPen), 100);
    window.CheckDlgButton(IDC_CMP_JITTER2, 0);
    window.SendCommand(IDC_CMP_JITTER2);
    EXPECT_EQ(CountPixels(rig.Lower(), kOverlayScan2JitterPen), 0);

    // Block mode: where both bars stand the overlap colour shows.
    window.CheckDlgButton(IDC_CMP_PIGRAPH1, 1);
    window.SendCommand(IDC_CMP_PIGRAPH1);
    window.Item<QRadioButton>(IDC_CMP_UPPERBLOCK)->setChecked(true);
    window.SendCommand(IDC_CMP_UPPERBLOCK);
    EXPECT_EQ(window.m_nUpperRadio, 1);
    EXPECT_EQ(window.UpperOverlay().m_nLineMode, 0);
    EXPECT_GT(CountPixels(rig.Upper(), kOverlayPIOverlapPen), 100);
    EXPECT_TRUE(window.Item<QRadioButton>(IDC_CMP_LOWERLINE)->isChecked()) << "the lower pair stays";
}

// A PO scan whose drive measured jitter shows it; one whose drive measured
// none shows "--", its displays off.
TEST(ComparePIPO, APOScanShowsTheJitterItsDriveMeasured)
{
    ScanFile measured = WithJitter(MakeScan(300, 25, 4, "CYBERDRIVE"));
    measured.show.showPO = 1;
    ScanFile none = MakeScan(200, 150, 7, "QDRIVE");
    none.show.showPO = 1;
    std::fill(none.lower.jitter.begin(), none.lower.jitter.end(), 0);
    CompareRig rig(measured, none);
    CComparePIPO& window = *rig.window;
    const CompareScanDisplays& one = kCompareScanDisplays[0];
    const CompareScanDisplays& two = kCompareScanDisplays[1];
    EXPECT_EQ(window.GetDlgItemText(one.totalLabel), "PO Total");
    EXPECT_EQ(window.GetDlgItemText(one.jitterAvg), "7.5%");
    EXPECT_EQ(window.GetDlgItemText(one.jitterPeak), "8.2%");
    for (int id : {one.jitterAvg, one.jitterInst, one.jitterPeak, one.jitterAvgLabel})
        EXPECT_TRUE(window.GetDlgItem(id)->isEnabled()) << id;
    for (int id : {two.jitterAvg, two.jitterInst, two.jitterPeak}) {
        EXPECT_EQ(window.GetDlgItemText(id), "--") << id;
        EXPECT_FALSE(window.GetDlgItem(id)->isEnabled()) << id;
    }
}

// PIF code 11 is a full scale of 16, code 5 one of 80: the scan of code 5
// is drawn whole, and every caption says the scale drawn.
TEST(ComparePIPO, TheCommonScaleIsTheWiderFullScaleWithItsCaptions)
{
    struct Case {
        int code1;
        int code2;
        float factor;
        std::array<const char*, 4> captions;
    };
    // clang-format off
    const Case cases[] = {
        {11, 5, 2.0f,  {"64", "48", "32", "16"}},
        {5, 11, 2.0f,  {"64", "48", "32", "16"}},
        {11, 2, 10.0f, {"12.8", "9.6", "6.4", "3.2"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code1 << " and " << c.code2);
        ScanFile one = MakeScan(200, 30, 4, "One");
        one.pifScaleCode = c.code1;
        ScanFile two = MakeScan(200, 30, 4, "Two");
        two.pifScaleCode = c.code2;
        CompareRig rig(one, two);
        EXPECT_FLOAT_EQ(rig.window->LowerOverlay().PIFFactor(), c.factor);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(rig.window->GetDlgItemText(IDC_CMP_PIFCAPTION + i), c.captions[static_cast<std::size_t>(i)]);
    }
}

TEST(ComparePIPO, AnEmptyFirstScanStillShowsTheSecond)
{
    CompareRig rig(MakeScan(0, 0, 2, "Empty"), MakeScan(200, 40, 4, "Full"));
    EXPECT_EQ(rig.window->GetDlgItemText(IDC_CMP_RATING1), RateComparedScan(rig.scans.Slot(0)).caption);
    EXPECT_GT(CountPixels(rig.Upper(), kOverlayScan2PIPen), 100);
    EXPECT_GT(CountPixels(rig.Lower(), kOverlayScan2PIFPen), 100);
}

TEST(ComparePIPO, ScansOfDifferentLayerCountsAreRefused)
{
    ScanFile dual = MakeScan(100, 30, 4, "Dual");
    dual.upper.frame.layerBreakX = 225;
    CompareRig rig(MakeScan(100, 30, 4, "Single"), dual);
    EXPECT_EQ(rig.window->ModalResult(), 0);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Graphs are not compatible.  One is single layer, one is double layer");
}

TEST(ComparePIPO, TheScanWindowFollowsMinimiseAndRestoreAndClosingIsLogged)
{
    CompareRig rig(MakeScan(100, 30, 4, "One"), MakeScan(100, 35, 4, "Two"));
    rig.window->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(rig.scans.minimized, 1);
    rig.window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(rig.scans.restored, 1);
    rig.window->SendCommand(IDC_CMP_CLOSE);
    EXPECT_NE(rig.log.Text().find("Ending Compare() function"), std::string::npos);
}
