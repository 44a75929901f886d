#include "core/base/Format.h"
#include "core/pipo/JitterRating.h"
#include "core/pipo/QualityRating.h"
#include "core/pipo/ScanDisplays.h"
#include "core/graphs/ScanCompare.h"
#include "core/pipo/ScanScales.h"
#include "support/SavedScans.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ScanCompare, TwoSavedScansGiveTheirFiguresScalesAndRatings)
{
    TempDir dir;
    SavedScanSlots scans(dir.File("one.qnzx"), WithJitter(MakeScan(300, 25, 4, "QDRIVE DVDRW QX-18")),
                         dir.File("two.qnzx"), MakeScan(200, 120, 7, "My comment"));
    const ScanSlotView one = scans.Slot(0);
    const ScanSlotView two = scans.Slot(1);
    EXPECT_EQ(one.upper.pi.size(), 300u);
    EXPECT_EQ(one.displays.piAvg, "3");
    EXPECT_EQ(one.displays.jitterAvg, "7.5%");
    EXPECT_EQ(two.displays.jitterAvg, "---");
    EXPECT_EQ(two.driveDisplay.substr(0, 10), "My comment");

    const CompareScales scales = CommonScales(one, two);
    EXPECT_EQ(scales.pi, 7);
    EXPECT_EQ(ComparePICaptions(scales.pi), (std::array<std::string, 4>{"256", "192", "128", "64"}));
    EXPECT_EQ(CompareJitterCaptions(scales.jitter), (std::array<std::string, 4>{"8%", "6%", "4%", "2%"}));
    EXPECT_TRUE(ScansCompatible(one, two));
    EXPECT_EQ(CompareXAxisCaptions(one)[3], "4GB");

    // Scan 1 measured its jitter and is rated with it; scan 2 did not.
    const float withJitter = std::max(0.0f, CalcQualityRatingWithJitter(3, 25, 1, 4, 7.5f, 8.2f));
    EXPECT_EQ(RateComparedScan(one).caption, Format("Quality %.2f%%", static_cast<double>(withJitter)));
    const float withoutJitter = std::max(0.0f, CalcQualityRating(3, 120, 1, 4));
    EXPECT_EQ(RateComparedScan(two).caption, Format("Quality %.2f%%", static_cast<double>(withoutJitter)));
    ScanSlotView blank;
    EXPECT_EQ(RateComparedScan(blank).caption, "Quality");
    EXPECT_EQ(RateComparedScan(blank).rating, 0.0f);

    PiPoUpperOverlay upper;
    FillUpperOverlay(upper, one, two, 1, scales);
    EXPECT_EQ(upper.m_nLineMode, 0);
    EXPECT_EQ(upper.m_Scan1PI.count, 300);
    EXPECT_EQ(upper.m_Scan2PI.count, 200);
    EXPECT_EQ(upper.m_nEndMarker1, 440);
    EXPECT_FLOAT_EQ(upper.PIFactor(), 0.5f);
}

// The compare window's axes read as the scan window's do for the same code:
// captions at 0.8, 0.6, 0.4 and 0.2 of the full scale.
TEST(ScanCompare, CaptionsAgreeWithTheScanWindowsForEveryCode)
{
    for (int code = 0; code <= 10; ++code) {
        ScanScales scan;
        scan.SetUpperScale(code, nullptr);
        EXPECT_EQ(ComparePICaptions(code), scan.Upper().captions) << code;
    }
    EXPECT_EQ(ComparePICaptions(0), (std::array<std::string, 4>{"8", "6", "4", "2"}));
    EXPECT_EQ(ComparePICaptions(10), (std::array<std::string, 4>{"2048", "1536", "1024", "512"}));
    EXPECT_EQ(ComparePICaptions(11), ComparePICaptions(2)) << "a code the overlay ignores draws at the first rung";
    for (int code = 0; code <= 6; ++code) {
        ScanScales scan;
        scan.SetJitterAxis(code, nullptr);
        std::array<std::string, 4> topDown = scan.Jitter().captions;  // the scan window's run bottom to top
        std::reverse(topDown.begin(), topDown.end());
        EXPECT_EQ(CompareJitterCaptions(code), topDown) << code;
    }
    EXPECT_EQ(CompareJitterCaptions(1), (std::array<std::string, 4>{"4%", "3%", "2%", "1%"}));
    EXPECT_EQ(CompareJitterCaptions(6), (std::array<std::string, 4>{"64%", "48%", "32%", "16%"}));
    EXPECT_EQ(CompareJitterCaptions(7), CompareJitterCaptions(2));
    ScanScales back;  // the process-wide last codes as they began
    back.SetUpperScale(0, nullptr);
    back.SetJitterAxis(0, nullptr);
}

// A code the overlay ignores draws, and is captioned, at the first rung; the
// common scale is the larger full scale, whichever code it has.
TEST(ScanCompare, CaptionsAndCommonScalesByFullScale)
{
    using Captions = std::array<std::string, 4>;
    const Captions first = {"8", "6", "4", "2"};
    struct Case {
        int code;
        Captions pi;
        Captions pif;
    };
    // clang-format off
    const Case cases[] = {
        {0,  first,                               first},
        {2,  first,                               first},
        {3,  {"16", "12", "8", "4"},              {"16", "12", "8", "4"}},
        {6,  {"128", "96", "64", "32"},           {"128", "96", "64", "32"}},
        {10, {"2048", "1536", "1024", "512"},     {"2048", "1536", "1024", "512"}},
        {11, first,                               {"12.8", "9.6", "6.4", "3.2"}},
        {12, first,                               first},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(ComparePICaptions(c.code), c.pi) << c.code;
        EXPECT_EQ(ComparePIFCaptions(c.code), c.pif) << c.code;
    }

    // The common scale is the larger full scale, whichever code it has.
    struct Pair {
        int code1;
        int code2;
        int pi;
        int pif;
        int jitter;
    };
    // clang-format off
    const Pair pairs[] = {
        {4,  7,  7,  7,  4},   // jitter 7 draws at 4 %, below code 4's 20 %
        {11, 5,  5,  5,  5},   // PIF 11 is 16, below 80
        {11, 2,  2,  11, 2},   // PIF 16 over 10; elsewhere drawn alike, the code the overlay takes
        {11, 3,  3,  3,  3},
        {0,  2,  2,  2,  2},
        {12, 3,  3,  3,  3},
    };
    // clang-format on
    for (const Pair& p : pairs) {
        SCOPED_TRACE(testing::Message() << p.code1 << " and " << p.code2);
        ScanSlotView one;
        ScanSlotView two;
        one.piScaleCode = one.pifScaleCode = one.jitterScaleCode = p.code1;
        two.piScaleCode = two.pifScaleCode = two.jitterScaleCode = p.code2;
        for (const auto& [a, b] : {std::pair{&one, &two}, std::pair{&two, &one}}) {
            const CompareScales scales = CommonScales(*a, *b);
            EXPECT_EQ(scales.pi, p.pi);
            EXPECT_EQ(scales.pif, p.pif);
            EXPECT_EQ(scales.jitter, p.jitter);
        }
    }
}

TEST(ScanCompare, CaptionsOfPOAndPIFScans)
{
    const CompareScanCaptions po = CompareCaptionsForScan(1, true, false);
    EXPECT_EQ(po.total, "PO Total2");
    EXPECT_EQ(po.graphButton, "PO Graph 2");
    EXPECT_EQ(po.jitterInst, "Jitter Inst2");
    EXPECT_FALSE(po.jitterEnabled);
    EXPECT_TRUE(CompareCaptionsForScan(1, true, true).jitterEnabled) << "a PO scan whose drive measured jitter";
    const CompareScanCaptions pif = CompareCaptionsForScan(0, false, false);
    EXPECT_EQ(pif.average, "PIF Avg");
    EXPECT_EQ(pif.graphButton, "PIF Graph 1");
    EXPECT_TRUE(pif.jitterEnabled);
}

// The rating counts the jitter the displays hold, whatever the view: the PO
// view's drive measures it; the Pioneer view's jitter displays hold the
// position and the end, its average none.
TEST(ScanCompare, AScanIsRatedWithTheJitterItsDisplaysHold)
{
    TempDir dir;
    ScanFile po = WithJitter(MakeScan(300, 25, 4, "CYBERDRIVE"));
    po.show.showPO = 1;
    ScanDisplayTexts positions = DisplayTextsFromValues(MakeScan(1, 25, 4, "").displays);
    positions.jitterAvg = "---";
    positions.jitterInst = positions.jitterPeak = "7FFF";
    ScanFile pioneer = MakeScan(300, 25, 4, "PIONEER");
    pioneer.displays = DisplayValuesFromTexts(positions);
    SavedScanSlots scans(dir.File("po.qnzx"), po, dir.File("pioneer.qnzx"), pioneer);
    ASSERT_TRUE(scans.Slot(0).poMode);
    const float withJitter = std::max(0.0f, CalcQualityRatingWithJitter(3, 25, 1, 4, 7.5f, 8.2f));
    EXPECT_EQ(RateComparedScan(scans.Slot(0)).caption, Format("Quality %.2f%%", static_cast<double>(withJitter)));
    const float withoutJitter = std::max(0.0f, CalcQualityRating(3, 25, 1, 4));
    EXPECT_EQ(RateComparedScan(scans.Slot(1)).caption, Format("Quality %.2f%%", static_cast<double>(withoutJitter)));
    EXPECT_EQ(RateScan(positions).caption, Format("Quality Rating %.2f%%", static_cast<double>(withoutJitter)));
}

TEST(ScanCompare, APOScanOverlaysItsPOSeriesAndOneLayerBreakMakesTheScansIncompatible)
{
    ScanSlotView one;
    one.lower.pif = {1, 2};
    one.lower.po = {7, 8};
    one.poMode = true;
    ScanSlotView two;
    two.lower.pif = {3};
    two.lower.po = {9};
    PiPoLowerOverlay lower;
    FillLowerOverlay(lower, one, two, 0, CommonScales(one, two));
    EXPECT_EQ(lower.m_Scan1First.values, (std::vector<std::int32_t>{7, 8}));
    EXPECT_EQ(lower.m_Scan2First.values, (std::vector<std::int32_t>{3}));
    EXPECT_EQ(lower.m_Scan1First.count, 2);

    EXPECT_TRUE(ScansCompatible(one, two));
    two.upper.frame.layerBreakX = 225;
    EXPECT_FALSE(ScansCompatible(one, two));
    one.upper.frame.layerBreakX = 220;
    EXPECT_TRUE(ScansCompatible(one, two));
    EXPECT_EQ(CompareXAxisCaptions(one)[0], "2GB");
}
