#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/ScanGraphRecord.h"

#include "support/ScanFileFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The markers both records share.
const ScanFileFixture::MarkerFields kRecordMarkers{.endMarkerX = 400,
                                                   .endMarkerColor = 0xFF,
                                                   .gridColor = 0x6D6D6D,
                                                   .halfGridColor = 0x363636,
                                                   .layerBreakColor = 0xFF0000,
                                                   .layerBreakColor2 = 0x808080};

// Upper record, two samples, every field given a value of its own.
std::string UpperRecord()
{
    ScanFileFixture::MarkerFields markers = kRecordMarkers;
    markers.layerBreakX = 200;
    ScanFileFixture record;
    record.Upper({.speedLineMode = 1,
                  .piLineMode = 0,  // block
                  .showSpeed = 1,
                  .showPi = 1,
                  .piFactor = 8.0f,
                  .speedFactor = 2.0f,
                  .markers = markers,
                  .speedColour = 0xFFFF,
                  .piColour = 0xFF00,
                  .cleared = 1,
                  .notSmallDisc = 1,
                  .smallDisc = 0,
                  .pi = {7, 12},
                  .speed = {52, 61}});
    return record.Bytes();
}

// Lower record, two samples (jitter 7.8 % and 8.2 %).
std::string LowerRecord()
{
    ScanFileFixture::MarkerFields markers = kRecordMarkers;
    markers.backgroundColor = 0x101010;
    ScanFileFixture record;
    record.Lower({.poLineMode = 1,
                  .pifLineMode = 0,  // block
                  .showPo = 0,
                  .showPif = 1,
                  .jitterScaleCode = 3,
                  .pifFactor = 16.0f,
                  .markers = markers,
                  .poColour = 0xFFFF,
                  .pifColour = 0xFF00FF,
                  .cleared = 0,
                  .notSmallDisc = 0,
                  .smallDisc = 1,
                  .pif = {1, 5},
                  .po = {0, 2},
                  .jitter = {78, 82}});
    return record.Bytes();
}

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
    EXPECT_EQ(WrittenUpper(FixtureUpper()), UpperRecord());
    EXPECT_EQ(WrittenLower(FixtureLower()), LowerRecord());

    const std::string upperBytes = UpperRecord();
    LittleEndianReader upperIn(upperBytes);
    PiPoUpperData upper;
    std::string error;
    ASSERT_TRUE(ReadUpperRecord(upperIn, upper, error)) << error;
    EXPECT_EQ(upper, FixtureUpper());
    EXPECT_EQ(upperIn.Remaining(), 0u);

    const std::string lowerBytes = LowerRecord();
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
    std::string bytes = UpperRecord();
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
    std::string hugeCount = UpperRecord();
    PutLittleEndian32(hugeCount, 88, std::numeric_limits<std::int32_t>::max());
    std::string negativeCount = UpperRecord();
    PutLittleEndian32(negativeCount, 88, -1);
    std::string oneTooMany = UpperRecord();
    PutLittleEndian32(oneTooMany, 88, 3);
    std::string notANumber = UpperRecord();
    PutLittleEndian32(notANumber, 16, 0x7FC00000);
    std::string infinite = UpperRecord();
    PutLittleEndian32(infinite, 20, 0x7F800000);
    // clang-format off
    std::vector<Case> cases = {{"huge count", hugeCount},          {"negative count", negativeCount},
                               {"count past the end", oneTooMany}, {"NaN factor", notANumber},
                               {"infinite factor", infinite}};
    // clang-format on
    for (std::size_t length = 0; length < UpperRecord().size(); length += 7)
        cases.push_back({"truncated", UpperRecord().substr(0, length)});

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

    std::string lowerTooMany = LowerRecord();
    PutLittleEndian32(lowerTooMany, 88, 3);
    LittleEndianReader in(lowerTooMany);
    PiPoLowerData lower;
    std::string error;
    EXPECT_FALSE(ReadLowerRecord(in, lower, error));
    EXPECT_NE(error.find("lower"), std::string::npos) << error;
}
