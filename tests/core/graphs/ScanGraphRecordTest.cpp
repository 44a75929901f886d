#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/ScanGraphRecord.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Upper record, two samples, every field given a value of its own.
// clang-format off
const unsigned char kUpperRecord[] = {
    0x01, 0x00, 0x00, 0x00, // speed line mode
    0x00, 0x00, 0x00, 0x00, // PI line mode (block)
    0x01, 0x00, 0x00, 0x00, // show speed
    0x01, 0x00, 0x00, 0x00, // show PI
    0x00, 0x00, 0x00, 0x41, // PI factor 8.0f
    0x00, 0x00, 0x00, 0x40, // speed factor 2.0f
    0x90, 0x01, 0x00, 0x00, // end marker x 400
    0xFF, 0x00, 0x00, 0x00, // end marker colour
    0x6D, 0x6D, 0x6D, 0x00, // grid
    0x36, 0x36, 0x36, 0x00, // half grid
    0x00, 0x00, 0x00, 0x00, // background
    0xC8, 0x00, 0x00, 0x00, // layer break x 200
    0x00, 0x00, 0xFF, 0x00, // layer break colour
    0x00, 0x00, 0x00, 0x00, // reserved
    0x80, 0x80, 0x80, 0x00, // second layer break colour
    0x00, 0x00, 0x00, 0x00, // reserved
    0x00, 0x00, 0x00, 0x00, // reserved
    0x00, 0x00, 0x00, 0x00, // reserved
    0xFF, 0xFF, 0x00, 0x00, // speed colour
    0x00, 0xFF, 0x00, 0x00, // PI colour
    0x00, 0x00, 0x00, 0x00, // reserved
    0x00, 0x00, 0x00, 0x00, // reserved
    0x02, 0x00, 0x00, 0x00, // N
    0x02, 0x00, 0x00, 0x00, // speed count
    0x01, 0x00, 0x00, 0x00, // cleared
    0x01, 0x00, 0x00, 0x00, // not small disc
    0x00, 0x00, 0x00, 0x00, // small disc
    0x07, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, // PI 7, 12
    0x34, 0x00, 0x00, 0x00, 0x3D, 0x00, 0x00, 0x00, // speed 52, 61
};
// clang-format on

// clang-format off
const unsigned char kLowerRecord[] = {
    0x01, 0x00, 0x00, 0x00, // PO line mode
    0x00, 0x00, 0x00, 0x00, // PIF line mode (block)
    0x00, 0x00, 0x00, 0x00, // show PO
    0x01, 0x00, 0x00, 0x00, // show PIF
    0x03, 0x00, 0x00, 0x00, // jitter scale code
    0x00, 0x00, 0x80, 0x41, // PIF factor 16.0f
    0x90, 0x01, 0x00, 0x00, // end marker x 400
    0xFF, 0x00, 0x00, 0x00, // end marker colour
    0x6D, 0x6D, 0x6D, 0x00, // grid
    0x36, 0x36, 0x36, 0x00, // half grid
    0x10, 0x10, 0x10, 0x00, // background
    0x00, 0x00, 0x00, 0x00, // layer break x
    0x00, 0x00, 0xFF, 0x00, // layer break colour
    0x00, 0x00, 0x00, 0x00, // reserved
    0x80, 0x80, 0x80, 0x00, // second layer break colour
    0x00, 0x00, 0x00, 0x00, // reserved
    0x00, 0x00, 0x00, 0x00, // reserved
    0x00, 0x00, 0x00, 0x00, // reserved
    0xFF, 0xFF, 0x00, 0x00, // PO colour
    0xFF, 0x00, 0xFF, 0x00, // PIF colour
    0x00, 0x00, 0x00, 0x00, // reserved
    0x00, 0x00, 0x00, 0x00, // reserved
    0x02, 0x00, 0x00, 0x00, // N
    0x00, 0x00, 0x00, 0x00, // cleared
    0x00, 0x00, 0x00, 0x00, // not small disc
    0x01, 0x00, 0x00, 0x00, // small disc
    0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, // PIF 1, 5
    0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // PO 0, 2
    0x4E, 0x00, 0x00, 0x00, 0x52, 0x00, 0x00, 0x00, // jitter 7.8 %, 8.2 %
};
// clang-format on

PiPoGraphFrame FixtureFrame()
{
    PiPoGraphFrame frame;
    frame.endMarkerX = 400;
    frame.endMarkerColor = 0x0000FF;
    frame.gridColor = 0x6D6D6D;
    frame.halfGridColor = 0x363636;
    frame.layerBreakColor = 0xFF0000;
    frame.layerBreakColor2 = 0x808080;
    return frame;
}

PiPoUpperData FixtureUpper()
{
    PiPoUpperData d;
    d.speedLineMode = 1;
    d.piLineMode = 0;
    d.piFactor = 8.0f;
    d.speedFactor = 2.0f;
    d.frame = FixtureFrame();
    d.frame.layerBreakX = 200;
    d.frame.cleared = 1;
    d.frame.notSmallDisc = 1;
    d.speedColor = 0x00FFFF;
    d.piColor = 0x00FF00;
    d.pi = {7, 12};
    d.speed = {52, 61};
    return d;
}

PiPoLowerData FixtureLower()
{
    PiPoLowerData d;
    d.pifLineMode = 0;
    d.showPO = 0;
    d.jitterScaleCode = 3;
    d.frame = FixtureFrame();
    d.frame.backgroundColor = 0x101010;
    d.frame.smallDisc = 1;
    d.poColor = 0x00FFFF;
    d.pifColor = 0xFF00FF;
    d.pif = {1, 5};
    d.po = {0, 2};
    d.jitter = {78, 82};
    return d;
}

std::string WrittenUpper(const PiPoUpperData& data)
{
    LittleEndianWriter out;
    WriteUpperRecord(out, data);
    return out.Bytes();
}

std::int32_t GetLittleEndian32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + i))) << (8 * i);
    return static_cast<std::int32_t>(value);
}

std::string WrittenLower(const PiPoLowerData& data)
{
    LittleEndianWriter out;
    WriteLowerRecord(out, data);
    return out.Bytes();
}

}  // namespace

TEST(ScanGraphRecord, RecordsAreWrittenAndReadByteForByte)
{
    EXPECT_EQ(WrittenUpper(FixtureUpper()), FixtureBytes(kUpperRecord));
    EXPECT_EQ(WrittenLower(FixtureLower()), FixtureBytes(kLowerRecord));

    const std::string upperBytes = FixtureBytes(kUpperRecord);
    LittleEndianReader upperIn(upperBytes);
    PiPoUpperData upper;
    std::string error;
    ASSERT_TRUE(ReadUpperRecord(upperIn, upper, error)) << error;
    EXPECT_EQ(upper, FixtureUpper());
    EXPECT_EQ(upperIn.Remaining(), 0u);

    const std::string lowerBytes = FixtureBytes(kLowerRecord);
    LittleEndianReader lowerIn(lowerBytes);
    PiPoLowerData lower;
    ASSERT_TRUE(ReadLowerRecord(lowerIn, lower, error)) << error;
    EXPECT_EQ(lower, FixtureLower());
    EXPECT_EQ(lowerIn.Remaining(), 0u);
}

TEST(ScanGraphRecord, EmptyGraphsStoreOnlyTheFixedPart)
{
    const std::string upper = WrittenUpper(PiPoUpperData());
    const std::string lower = WrittenLower(PiPoLowerData());
    ASSERT_EQ(upper.size(), kUpperRecordFixedSize);
    ASSERT_EQ(lower.size(), kLowerRecordFixedSize);
    EXPECT_EQ(upper.substr(88, 8), std::string(8, '\0')) << "N and the speed count";
    EXPECT_EQ(lower.substr(88, 4), std::string(4, '\0'));
}

TEST(ScanGraphRecord, SpeedSeriesFollowsNWhateverTheSpeedCountField)
{
    std::string bytes = FixtureBytes(kUpperRecord);
    PutLittleEndian32(bytes, 92, 1000);
    LittleEndianReader in(bytes);
    PiPoUpperData upper;
    std::string error;
    ASSERT_TRUE(ReadUpperRecord(in, upper, error)) << error;
    EXPECT_EQ(upper.speed, (std::vector<std::int32_t>{52, 61}));
    EXPECT_EQ(in.Remaining(), 0u);
}

// A scan without a jitter pass keeps its whole PIF series. The jitter series
// is padded on disc for readers that take N of each, and loads with only its
// measured points; a file without the padding's length loads all N.
TEST(ScanGraphRecord, UnequalLowerSeriesArePaddedNeverCut)
{
    constexpr std::size_t kShortfallOffset = 80;
    struct Case {
        const char* name;
        std::vector<int> jitter;  // measured, of 3 PIF points
        std::int32_t shortfall;
    };
    // clang-format off
    const Case cases[] = {
        {"no jitter pass",       {},          3},
        {"jitter stopped early", {83},        2},
        {"every point",          {83, 0, 85}, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PiPoLowerGraph graph;
        for (int pif : {4, 9, 2})
            graph.AddPIFPoint(pif);
        for (int jitter : c.jitter)
            graph.AddJitterPoint(jitter);
        std::string bytes = WrittenLower(graph.StoreRecord());
        ASSERT_EQ(bytes.size(), kLowerRecordFixedSize + 3 * 3 * 4) << "N of each series on disc";
        EXPECT_EQ(GetLittleEndian32(bytes, kShortfallOffset), c.shortfall);
        EXPECT_EQ(GetLittleEndian32(bytes, bytes.size() - 4), c.jitter.size() == 3 ? 85 : 0) << "padded with 0";

        LittleEndianReader in(bytes);
        PiPoLowerData read;
        std::string error;
        ASSERT_TRUE(ReadLowerRecord(in, read, error)) << error;
        EXPECT_EQ(read.pif, (std::vector<std::int32_t>{4, 9, 2}));
        EXPECT_EQ(read.po, (std::vector<std::int32_t>{0, 0, 0}));
        EXPECT_EQ(read.jitter, std::vector<std::int32_t>(c.jitter.begin(), c.jitter.end()));
        EXPECT_EQ(graph.GetPointCount(), 3u) << "the live graph is not cut either";

        // An older file (the field 0) or a foreign value: all N, as before.
        for (std::int32_t field : {0, -1, 4}) {
            PutLittleEndian32(bytes, kShortfallOffset, field);
            LittleEndianReader old(bytes);
            ASSERT_TRUE(ReadLowerRecord(old, read, error)) << error;
            EXPECT_EQ(read.jitter.size(), 3u) << field;
        }
    }
    // A jitter series longer than the PIF one pads PIF and PO.
    PiPoLowerData read;
    std::string error;
    PiPoLowerGraph longJitter;
    longJitter.AddPoint(6, 1, 80);
    longJitter.AddJitterPoint(81);
    const std::string bytes = WrittenLower(longJitter.StoreRecord());
    LittleEndianReader in2(bytes);
    ASSERT_TRUE(ReadLowerRecord(in2, read, error)) << error;
    EXPECT_EQ(read.pif, (std::vector<std::int32_t>{6, 0}));
    EXPECT_EQ(read.po, (std::vector<std::int32_t>{1, 0}));
    EXPECT_EQ(read.jitter, (std::vector<std::int32_t>{80, 81}));
}

TEST(ScanGraphRecord, MalformedRecordsAreRefusedAndLeaveTheDataAlone)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string hugeCount = FixtureBytes(kUpperRecord);
    PutLittleEndian32(hugeCount, 88, std::numeric_limits<std::int32_t>::max());
    std::string negativeCount = FixtureBytes(kUpperRecord);
    PutLittleEndian32(negativeCount, 88, -1);
    std::string oneTooMany = FixtureBytes(kUpperRecord);
    PutLittleEndian32(oneTooMany, 88, 3);
    std::string notANumber = FixtureBytes(kUpperRecord);
    PutLittleEndian32(notANumber, 16, 0x7FC00000);
    std::string infinite = FixtureBytes(kUpperRecord);
    PutLittleEndian32(infinite, 20, 0x7F800000);
    // clang-format off
    std::vector<Case> cases = {{"huge count", hugeCount},          {"negative count", negativeCount},
                               {"count past the end", oneTooMany}, {"NaN factor", notANumber},
                               {"infinite factor", infinite}};
    // clang-format on
    for (std::size_t length = 0; length < sizeof kUpperRecord; length += 7)
        cases.push_back({"truncated", FixtureBytes(kUpperRecord).substr(0, length)});

    for (const Case& c : cases) {
        LittleEndianReader in(c.bytes);
        PiPoUpperData upper = FixtureUpper();
        upper.pi = {99};
        const PiPoUpperData before = upper;
        std::string error;
        EXPECT_FALSE(ReadUpperRecord(in, upper, error)) << c.name << " " << c.bytes.size();
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(upper, before) << c.name;
    }

    std::string lowerTooMany = FixtureBytes(kLowerRecord);
    PutLittleEndian32(lowerTooMany, 88, 3);
    LittleEndianReader in(lowerTooMany);
    PiPoLowerData lower;
    std::string error;
    EXPECT_FALSE(ReadLowerRecord(in, lower, error));
    EXPECT_NE(error.find("lower"), std::string::npos) << error;
}
