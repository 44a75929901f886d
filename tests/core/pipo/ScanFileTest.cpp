#include "core/pipo/ScanFile.h"

#include "core/base/Format.h"
#include "core/pipo/QualityRating.h"
#include "support/ScanFileFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include <sys/stat.h>

namespace {

// Where N sits in either graph record.
constexpr std::size_t kCountField = 88;

PiPoGraphFrame FixtureFrame()
{
    PiPoGraphFrame frame;
    frame.endMarkerX = 420;
    frame.endMarkerColor = 0x0000FF;
    frame.gridColor = 0x6D6D6D;
    frame.halfGridColor = 0x363636;
    frame.cleared = 1;
    frame.notSmallDisc = 1;
    return frame;
}

ScanFile Version2Contents()
{
    ScanFile f;
    f.version = 2;
    f.ranges[kCurrentRange] = {0, 0x23053F, 0x23053F, 0x1A2B, "1A2B", "23053F"};
    f.ranges[kSlot1Range] = f.ranges[kCurrentRange];
    f.ranges[kSlot2Range] = {0, 0x23053F, 0x100000, 0x800, "800", "100000"};
    f.displays = {25, 1, 5, 0, 120, 82, 75, 80, 4321, 3};
    f.show = {1, 0, 1, 1, 1};
    f.status = "Test Complete" + std::string(27, ' ');
    f.midCode = "CMC";
    f.mediaType = "DVD-R";
    f.bookType = "N/A";
    f.driveDisplay = "Drive\xE9";
    f.upper.piFactor = 4.0f;
    f.upper.speedFactor = 1.0f;
    f.upper.frame = FixtureFrame();
    f.upper.pi = {9};
    f.upper.speed = {83};
    f.lower.showPO = 0;
    f.lower.jitterScaleCode = 3;
    f.lower.frame = FixtureFrame();
    f.lower.pif = {2};
    f.lower.po = {0};
    f.lower.jitter = {79};
    f.piScaleCode = 4;
    f.pifScaleCode = 2;
    f.jitterScaleCode = 3;
    return f;
}

ScanFile Version1Contents()
{
    ScanFile f;
    f.version = 1;
    f.displays = {3, 0, 1, 0, 2, 0, 0, 0, 40, 1};
    f.status = "Ready" + std::string(35, ' ');
    f.mediaType = "DVD+R";
    f.bookType = "DVD-ROM";
    f.upper.frame.cleared = 1;
    f.upper.pi = {3};
    f.upper.speed = {40};
    f.lower.jitterScaleCode = 0;
    f.lower.frame.cleared = 1;
    f.lower.pif = {1, 4};
    f.lower.po = {0, 1};
    f.lower.jitter = {0, 0};
    f.pifScaleCode = 2;
    return f;
}

// What a failed load must leave alone.
ScanFile Sentinel()
{
    ScanFile f;
    f.midCode = "untouched";
    f.upper.pi = {1, 2, 3};
    return f;
}

}  // namespace

TEST(ScanFile, Version2IsWrittenAndReadByteForByte)
{
    TempDir dir;
    ScanFile contents = Version2Contents();
    for (ScanRange& range : contents.ranges)
        range.llStartLba = 0;  // a save takes the start from its text
    ASSERT_TRUE(SaveScanFile(dir.File("scan.qnzx"), contents));
    EXPECT_EQ(ReadFileText(dir.File("scan.qnzx")), ScanFileFixture::Version2().Bytes());
    EXPECT_EQ(contents.ranges[kCurrentRange].llStartLba, 6699) << "1A2B";

    ScanFile read;
    std::string error;
    ASSERT_TRUE(DecodeScanFile(ScanFileFixture::Version2().Bytes(), read, error)) << error;
    EXPECT_EQ(read, Version2Contents());
}

TEST(ScanFile, Version1LoadsWithEmptyRanges)
{
    TempDir dir;
    WriteFileText(dir.File("old.qnz"), ScanFileFixture::Version1().Bytes());
    ScanFile read;
    std::string error;
    ASSERT_TRUE(LoadScanFile(dir.File("old.qnz"), read, &error)) << error;
    EXPECT_EQ(read, Version1Contents());
    EXPECT_EQ(read.ranges[kSlot2Range].strStartLba, "0");
    EXPECT_TRUE(read.midCode.empty());
    EXPECT_EQ(DisplayTextsFromValues(read.displays).jitterInst, "---");
}

// A live scan saved and loaded again comes back whole: a PIF series without
// a jitter pass is kept, and jitter figures keep their last decimal.
TEST(ScanFile, LiveScanRoundTrip)
{
    PiPoUpperGraph upper;
    PiPoLowerGraph lower;
    upper.SetPIScale(5);
    upper.SetSpeedScale(1);
    lower.SetPIFScale(3);
    lower.SetJitterScale(4);
    upper.SetCapacityMarker(430, 0xFF);
    lower.SetLayerBreakMarker(215, 0xFF00);
    for (int i = 0; i < 300; ++i) {
        upper.AddPoint(i % 40, 40 + i / 10);
        lower.AddPIFPoint(i % 7);
    }
    ScanDisplayTexts texts;
    texts.piTotal = "4321";
    texts.piAvg = "3";
    texts.piPeak = "39";
    texts.pifTotal = "900";
    texts.pifAvg = "3";
    texts.pifPeak = "6";
    texts.jitterAvg = "8.2%";
    texts.jitterPeak = "9.1%";
    texts.jitterInst = "7.56%";

    ScanFile saved;
    saved.displays = DisplayValuesFromTexts(texts);
    saved.show = {1, 0, 0, 1, 1};
    saved.status = "Test Complete";
    saved.midCode = "MCC 03RG20";
    saved.driveDisplay = "My comment";
    saved.ranges[kCurrentRange].strStartLba = "7FF";
    StoreScanGraphs(upper, lower, saved);
    TempDir dir;
    ASSERT_TRUE(SaveScanFile(dir.File("round.qnzx"), saved));

    ScanFile loaded;
    std::string error;
    ASSERT_TRUE(LoadScanFile(dir.File("round.qnzx"), loaded, &error)) << error;
    EXPECT_EQ(loaded.mediaType, "N/A");
    EXPECT_EQ(loaded.bookType, "N/A");
    EXPECT_EQ(loaded.status, "Test Complete" + std::string(27, ' '));
    EXPECT_EQ(loaded.ranges[kCurrentRange].llStartLba, 0x7FF);
    EXPECT_EQ(loaded.ranges[kCurrentRange].strStartLba, "7FF");
    EXPECT_EQ(loaded.show, saved.show);
    EXPECT_EQ(loaded.piScaleCode, 5);
    EXPECT_EQ(loaded.pifScaleCode, 3);
    EXPECT_EQ(loaded.jitterScaleCode, 4);

    ScanDisplayTexts expected = texts;
    expected.pofTotal = "0";
    expected.jitterInst = "7.6%";
    EXPECT_EQ(DisplayTextsFromValues(loaded.displays), expected);

    PiPoUpperGraph upperAgain;
    PiPoLowerGraph lowerAgain;
    upperAgain.ClearGraph();
    lowerAgain.ClearGraph();
    upperAgain.LoadRecord(loaded.upper);
    lowerAgain.LoadRecord(loaded.lower);
    EXPECT_EQ(upperAgain.StoreRecord(), upper.StoreRecord());
    const PiPoLowerData before = lower.StoreRecord();
    const PiPoLowerData after = lowerAgain.StoreRecord();
    EXPECT_EQ(after.pif, before.pif);
    EXPECT_EQ(after.po, before.po);
    EXPECT_TRUE(after.jitter.empty()) << "no jitter points drawn where none was measured, PIF never cut";
    EXPECT_EQ(after.frame, before.frame);
}

TEST(ScanFile, DisplayFigures)
{
    struct Case {
        const char* text;
        std::int32_t tenths;
        const char* shown;
    };
    const Case jitter[] = {{"8.2%", 82, "8.2%"},
                           {"7.5%", 75, "7.5%"},
                           {"7.56%", 76, "7.6%"},
                           {"100.0%", 1000, "100.0%"},
                           {"100.1%", 1001, "---"},
                           {"---", 0, "---"},
                           {"0.04%", 0, "---"},
                           {"", 0, "---"},
                           {"1e300", std::numeric_limits<std::int32_t>::max(), "---"}};
    for (const Case& c : jitter) {
        ScanDisplayTexts texts;
        texts.jitterPeak = c.text;
        texts.jitterAvg = "8.0%";
        const ScanDisplayValues values = DisplayValuesFromTexts(texts);
        EXPECT_EQ(values.jitterPeak, c.tenths) << c.text;
        EXPECT_EQ(DisplayTextsFromValues(values).jitterPeak, c.shown) << c.text;
    }

    ScanDisplayTexts counts;
    counts.piTotal = "12abc";
    counts.piAvg = "";
    counts.pifTotal = " -4";
    counts.pofTotal = "99999999999";
    const ScanDisplayValues values = DisplayValuesFromTexts(counts);
    EXPECT_EQ(values.piTotal, 12);
    EXPECT_EQ(values.piAvg, 0);
    EXPECT_EQ(values.pifTotal, -4);
    EXPECT_EQ(values.pofTotal, std::numeric_limits<std::int32_t>::max());

    ScanDisplayValues noJitter;
    noJitter.jitterInst = 80;
    EXPECT_EQ(DisplayTextsFromValues(noJitter).jitterInst, "---") << "average and peak both unmeasured";
}

TEST(ScanFile, NumbersUseTheCLocaleWhateverTheProcessLocale)
{
    ScopedCommaLocale comma;
    if (!comma.Ok())
        GTEST_SKIP() << "no comma-decimal locale can be built on this machine";
    ScanDisplayTexts texts;
    texts.jitterAvg = "7.5%";
    texts.jitterPeak = "8.2%";
    texts.piAvg = "10";
    texts.piPeak = "100";
    texts.pifAvg = "1";
    texts.pifPeak = "5";
    const ScanDisplayValues values = DisplayValuesFromTexts(texts);
    EXPECT_EQ(values.jitterAvg, 75);
    EXPECT_EQ(DisplayTextsFromValues(values).jitterPeak, "8.2%");
    EXPECT_EQ(RateScanDisplays(texts, false).caption, "Quality Rating 94.58%");
}

TEST(ScanFile, SaveRulesForTextsAndStrings)
{
    ScanFile file;
    file.ranges[kSlot1Range].strStartLba = "FFFFFFFFF";
    file.ranges[kSlot2Range].strStartLba = "zz";
    file.status = std::string(50, 'S');
    file.driveDisplay = std::string(45, 'D');
    PrepareScanFileForSave(file);
    EXPECT_EQ(file.ranges[kSlot1Range].llStartLba, std::numeric_limits<std::int32_t>::max()) << "read as a 32-bit long";
    EXPECT_EQ(file.ranges[kSlot2Range].llStartLba, 0);

    ScanFile read;
    std::string error;
    ASSERT_TRUE(DecodeScanFile(EncodeScanFile(file), read, error)) << error;
    EXPECT_EQ(read.status, std::string(40, 'S'));
    EXPECT_EQ(read.driveDisplay, std::string(40, 'D'));
    EXPECT_EQ(read.mediaType, "N/A");
    EXPECT_TRUE(read.midCode.empty());
}

TEST(ScanFile, TruncatedFilesAreRefusedWithNothingLoaded)
{
    for (const std::string& whole : {ScanFileFixture::Version2().Bytes(), ScanFileFixture::Version1().Bytes()}) {
        for (std::size_t length = 0; length < whole.size(); ++length) {
            ScanFile file = Sentinel();
            std::string error;
            ASSERT_FALSE(DecodeScanFile(whole.substr(0, length), file, error)) << length;
            EXPECT_FALSE(error.empty()) << length;
            ASSERT_EQ(file, Sentinel()) << length;
        }
    }
}

TEST(ScanFile, HostileFilesAreRefusedWithNothingLoaded)
{
    const ScanFileFixture fixture = ScanFileFixture::Version2();
    const std::size_t upperAt = fixture.upperAt;
    const std::size_t lowerAt = fixture.lowerAt;
    const std::size_t lengthsAt = fixture.lengthsAt;
    struct Case {
        const char* name;
        std::size_t offset;
        std::int32_t value;
    };
    const Case cases[] = {
        {"upper count past the end", upperAt + kCountField, std::numeric_limits<std::int32_t>::max()},
        {"negative upper count", upperAt + kCountField, -5},
        {"lower count past the end", lowerAt + kCountField, 1000},
        {"upper scale not a number", upperAt + 16, 0x7FC00000},
        {"huge MID length", lengthsAt, std::numeric_limits<std::int32_t>::max()},
        {"lengths that overflow a 32-bit sum", lengthsAt + 4, std::numeric_limits<std::int32_t>::max() - 2},
        {"negative book length", lengthsAt + 8, -1},
        {"drive text running into the codes", lengthsAt + 12, 42},
    };
    for (const Case& c : cases) {
        std::string bytes = fixture.Bytes();
        PutLittleEndian32(bytes, c.offset, c.value);
        if (c.offset == lengthsAt + 4)
            PutLittleEndian32(bytes, lengthsAt, std::numeric_limits<std::int32_t>::max() - 2);
        ScanFile file = Sentinel();
        std::string error;
        EXPECT_FALSE(DecodeScanFile(bytes, file, error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(file, Sentinel()) << c.name;
    }

    ScanFile file = Sentinel();
    std::string error;
    EXPECT_FALSE(DecodeScanFile(fixture.Bytes() + "x", file, error));
    EXPECT_NE(error.find("after the scan"), std::string::npos) << error;
    EXPECT_FALSE(DecodeScanFile("not a scan file at all", file, error));
    EXPECT_EQ(file, Sentinel());
}

TEST(ScanFile, FilesThatCannotBeReadOrWrittenSayWhy)
{
    TempDir dir;
    // A pipe would block the load for as long as nobody writes to it.
    ASSERT_EQ(mkfifo(dir.File("pipe.qnzx").c_str(), 0600), 0);
    ASSERT_TRUE(std::filesystem::create_directory(dir.File("folder.qnzx")));
    ScanFile file = Sentinel();
    std::string error;
    for (const char* name : {"missing.qnzx", "folder.qnzx", "pipe.qnzx"}) {
        error.clear();
        EXPECT_FALSE(LoadScanFile(dir.File(name), file, &error)) << name;
        EXPECT_FALSE(error.empty()) << name;
        EXPECT_EQ(file, Sentinel()) << name;
    }

    error.clear();
    EXPECT_FALSE(SaveScanFile(dir.File("no/such/folder/scan.qnzx"), file, &error));
    EXPECT_FALSE(error.empty());
}
