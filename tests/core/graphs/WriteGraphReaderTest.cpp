#include "core/graphs/WriteGraphFile.h"
#include "support/TestSupport.h"
#include "support/WriteGraphFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

const char* const kNotAGraphFile = "Error in data file. It does not seem to be a valid graph file";
const char* const kWrongFormat = "Unknown or wrong File format";
const char* const kChecksumError = "Checksum error,  file is not valid";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string Without(WriteGraphFixture fixture, const std::string& key)
{
    return fixture.Remove(key).Text();
}

std::string WithLineEnds(const std::string& lineEnd)
{
    WriteGraphFixture fixture = WriteGraphFixture::Dvd();
    fixture.lineEnd = lineEnd;
    return fixture.Text();
}

std::string Version1WithoutWritePass()
{
    WriteGraphFixture fixture = WriteGraphFixture::Version1();
    fixture.writeSection = false;
    fixture.AddVerifyPass(5);
    return fixture.Text();
}

}  // namespace

TEST(WriteGraphReader, RefusesWhatIsNotAGraphFileWithTheFirstFaultFound)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> messages;
    };
    const std::string good = WriteGraphFixture::Dvd().Text();
    const std::string body = WriteGraphFixture::Dvd().Body();
    const size_t firstSample = good.find("\r\n", good.find("[START_WRITE")) + 2;
    std::string tampered = good;
    tampered[firstSample] = '9';
    const Case cases[] = {
        {"empty", "", {kNotAGraphFile}},
        {"binary", std::string("\x00\xff\x7f\x80[S]\r\n", 9) + std::string(300, '\xfe'), {kNotAGraphFile}},
        {"first line with a blank", Replace(good, "IBGD\r\n", "IBGD \r\n"), {"The file is not a Data File"}},
        {"IBGD on the second line", "\r\n" + good, {"The file is not a Data File"}},
        {"no start configuration",
         Replace(good, "[START_CONFIGURATION]", "[CONFIGURATION]"),
         {"Start Configuration data is missing"}},
        {"no end configuration",
         Replace(good, "[END_CONFIGURATION]", "[CONFIGURATION]"),
         {"End Configuration data is missing"}},
        {"no version", Without(WriteGraphFixture::Dvd(), "IBGD_VERSION"), {kWrongFormat}},
        {"version 3", WriteGraphFixture::Dvd().Set("IBGD_VERSION", "3").Text(), {"Unknown File Version"}},
        {"no date", Without(WriteGraphFixture::Dvd(), "DATE"), {kWrongFormat}},
        {"no bus type", Without(WriteGraphFixture::Dvd(), "DEVICE_BUSTYPE"), {kWrongFormat}},
        {"no media type", Without(WriteGraphFixture::Dvd(), "MEDIA_TYPE"), {kWrongFormat}},
        {"no layer break", Without(WriteGraphFixture::Dvd(), "MEDIA_LAYER_BREAK"), {kWrongFormat}},
        {"no write time", Without(WriteGraphFixture::Dvd(), "WRITE_TIME_TAKEN"), {kWrongFormat}},
        {"no write maximum", Without(WriteGraphFixture::Version1(), "WRITE_SPEED_MAX"), {kWrongFormat}},
        {"no verify average", Without(WriteGraphFixture::VerifyOnly(), "VERIFY_SPEED_AVERAGE"), {kWrongFormat}},
        {"CD in version 1",
         WriteGraphFixture::Version1().Set("MEDIA_TYPE", "CD-R").Text(),
         {"CD is not supported at this time, Please come back later."}},
        {"changed sample", tampered, {kChecksumError}},
        {"bad checksum and a missing key", Replace(tampered, "DATA_TYPE=", "DATA_KIND="), {kWrongFormat}},
        {"ends right after the checksum", good.substr(0, good.size() - 2), {kChecksumError}},
        {"no checksum line", body, {kChecksumError}},
        {"no end marker", Replace(good, "[END_WRITE_GRAPH_VALUES]", ""), {kChecksumError}},
        {"truncated in the samples", good.substr(0, firstSample + 40), {kChecksumError}},
        {"LF line ends", WithLineEnds("\n"), {kChecksumError}},
        {"CR line ends", WithLineEnds("\r"), {kChecksumError}},
        {"version 1 without a write section",
         Version1WithoutWritePass(),
         {"Error in data,  the graph cannot be rendered"}},
        {"verify end marker without its start",
         WriteGraphFixture::WithChecksum(body + "[END_VERIFY_GRAPH_VALUES]\r\n"),
         {"Error in Verify data,  the graph cannot be rendered"}},
    };
    for (const Case& c : cases) {
        WriteGraphFile file;
        EXPECT_NE(file.LoadGraphText(c.text), 0) << c.name;
        EXPECT_EQ(file.Messages(), c.messages) << c.name;
    }
}

TEST(WriteGraphReader, RefusalLeavesTheGraphClearedAndEarlierDisplays)
{
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Medium("CD-R", 359847, 0, 359847).Text()), 0);
    ASSERT_TRUE(file.Graph().cdFlag);
    EXPECT_NE(file.LoadGraphText(WriteGraphFixture::Dvd().Set("SAMPLE_RATE", "500").Body()), 0);
    EXPECT_FALSE(file.Graph().cdFlag);
    EXPECT_TRUE(file.Graph().writeSamples.empty());
    EXPECT_EQ(file.Graph().endOfDataX, 0);
    EXPECT_EQ(file.Graph().xAxisCaptions[0], "1GB");
    EXPECT_EQ(file.Displays().sampleRate, "1000 ms");
    EXPECT_EQ(file.Displays().device, "QDRIVE DVDRW QX-18 1.02 (SATA)");
    EXPECT_TRUE(file.HasLoadedText());
}

TEST(WriteGraphReader, TakesEveryVariantOfTheFile)
{
    struct Case {
        const char* name;
        WriteGraphFixture fixture;
        GraphMediaClass mediaClass;
        bool dualLayer;
        std::string firstCaption;
        std::string lastCaption;
        int layerBreakX;
        bool layerBreakDrawn;
        int endOfDataX;
        size_t writeSamples;
        size_t verifySamples;
        std::string timeLabel;
    };
    using M = GraphMediaClass;
    WriteGraphFixture writeAndVerify = WriteGraphFixture::Dvd();
    writeAndVerify.AddVerifyPass(20);
    WriteGraphFixture shortVerify = WriteGraphFixture::Dvd();
    shortVerify.AddVerifyPass(1);
    WriteGraphFixture emptyWrite = WriteGraphFixture::Dvd(0);
    WriteGraphFixture withComments = WriteGraphFixture::Dvd();
    withComments.trailer = "COMMENT1=Burnt at 8x\nCOMMENT2=Disc 2\n";
    const Case cases[] = {
        {"version 1", WriteGraphFixture::Version1(), M::Dvd, false, "1GB", "4GB", 0, true, 448, 20, 0, "Burn Time"},
        {"version 1 names BD", WriteGraphFixture::Version1().Set("MEDIA_TYPE", "BD-R"), M::Dvd, false, "1GB", "4GB", 0,
         true, 448, 20, 0, "Burn Time"},
        {"DVD+R", WriteGraphFixture::Dvd(), M::Dvd, false, "1GB", "4GB", 0, true, 448, 20, 0, "Burn Time"},
        {"DVD+R DL", WriteGraphFixture::Medium("DVD+R DL", 4173824, 2086912, 4173824), M::Dvd, true, "2GB", "8GB", 203,
         true, 407, 20, 0, "Burn Time"},
        {"CD-R", WriteGraphFixture::Medium("CD-R", 359847, 0, 359847), M::Cd, false, "250MB", "1GB", 0, true, 351, 20,
         0, "Burn Time"},
        {"HD DVD-R", WriteGraphFixture::Medium("HD DVD-R", 7341056, 0, 7341056), M::HdDvd, false, "4GB", "16GB", 0,
         true, 358, 20, 0, "Burn Time"},
        {"HD DVD-R DL", WriteGraphFixture::Medium("HD DVD-R DL", 14680064, 7340032, 14680064), M::HdDvd, true, "8GB",
         "32GB", 179, true, 358, 20, 0, "Burn Time"},
        {"BD-R", WriteGraphFixture::Medium("BD-R", 12219392, 0, 12219392), M::Bd, false, "6GB", "24GB", 0, true, 397,
         20, 0, "Burn Time"},
        {"BD-R dual by its capacity", WriteGraphFixture::Medium("BD-R", 24438784, 0, 24438784), M::Bd, true, "12GB",
         "48GB", 204, false, 397, 20, 0, "Burn Time"},
        {"BD-RE with a layer break", WriteGraphFixture::Medium("BD-RE", 24438784, 12219392, 24438784), M::Bd, true,
         "12GB", "48GB", 198, true, 397, 20, 0, "Burn Time"},
        {"verify only", WriteGraphFixture::VerifyOnly(), M::Dvd, false, "1GB", "4GB", 0, true, 448, 0, 20,
         "Verify Time"},
        {"write and verify", writeAndVerify, M::Dvd, false, "1GB", "4GB", 0, true, 448, 20, 20, "Burn Time"},
        {"one verify sample", shortVerify, M::Dvd, false, "1GB", "4GB", 0, true, 448, 20, 1, "Burn Time"},
        {"empty write section", emptyWrite, M::Dvd, false, "1GB", "4GB", 0, true, 448, 0, 0, "Burn Time"},
        {"saved comments", withComments, M::Dvd, false, "1GB", "4GB", 0, true, 448, 20, 0, "Burn Time"},
    };
    for (const Case& c : cases) {
        WriteGraphFile file;
        EXPECT_EQ(file.LoadGraphText(c.fixture.Text()), 0) << c.name;
        EXPECT_TRUE(file.Messages().empty()) << c.name << ": " << (file.Messages().empty() ? "" : file.Messages()[0]);
        const WriteGraph& graph = file.Graph();
        EXPECT_EQ(graph.mediaClass, c.mediaClass) << c.name;
        EXPECT_EQ(graph.cdFlag, c.mediaClass == M::Cd) << c.name;
        EXPECT_EQ(graph.dualLayer, c.dualLayer) << c.name;
        EXPECT_EQ(graph.xAxisCaptions[0], c.firstCaption) << c.name;
        EXPECT_EQ(graph.xAxisCaptions[3], c.lastCaption) << c.name;
        EXPECT_EQ(graph.layerBreakX, c.layerBreakX) << c.name;
        EXPECT_EQ(graph.layerBreakDrawn, c.layerBreakDrawn) << c.name;
        EXPECT_EQ(graph.endOfDataX, c.endOfDataX) << c.name;
        EXPECT_EQ(graph.writeSamples.size(), c.writeSamples) << c.name;
        EXPECT_EQ(graph.verifySamples.size(), c.verifySamples) << c.name;
        EXPECT_EQ(graph.hasVerifySection, c.verifySamples > 0) << c.name;
        EXPECT_EQ(file.Displays().timeLabel, c.timeLabel) << c.name;
    }
}

TEST(WriteGraphReader, FillsTheDisplaysOfEachPass)
{
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Dvd().Text()), 0);
    const WriteGraphDisplays& shown = file.Displays();
    EXPECT_EQ(shown.device, "QDRIVE DVDRW QX-18 1.02 (SATA)");
    EXPECT_EQ(shown.comment, "Double-Click Digital Displays to edit");
    EXPECT_EQ(shown.dateTime, "10/12/2025 21:14:05");
    EXPECT_EQ(shown.mediaType, "DVD+R");
    EXPECT_EQ(shown.mediaId, "QZMEDIA-R01-00");
    EXPECT_EQ(shown.capacity, "2295104");
    EXPECT_EQ(shown.dataType, "MODE1/2048");
    EXPECT_EQ(shown.sampleRate, "1000 ms");
    EXPECT_EQ(shown.burnTime, "7 Mins 5 Secs");
    EXPECT_EQ(shown.writeTestMode, "Off");
    EXPECT_EQ(shown.speedSelected, "16x");
    EXPECT_EQ(shown.speedStart, "6.12x");
    EXPECT_EQ(shown.speedEnd, "15.94x");
    EXPECT_EQ(shown.speedAverage, "11.50x");
    EXPECT_EQ(shown.speedMax, "16.02x");
    EXPECT_DOUBLE_EQ(file.Graph().averageSpeed, 11.5);

    WriteGraphFixture verifyOnly = WriteGraphFixture::VerifyOnly();
    verifyOnly.Remove("VERIFY_SPEED_END");
    ASSERT_EQ(file.LoadGraphText(verifyOnly.Text()), 0);
    EXPECT_EQ(shown.timeLabel, "Verify Time");
    EXPECT_EQ(shown.burnTime, "6 Mins 29 Secs");
    EXPECT_EQ(shown.speedStart, "6.50x");
    EXPECT_EQ(shown.speedEnd, "0x");
    EXPECT_EQ(shown.speedMax, "16.24x");
    EXPECT_EQ(shown.speedSelected, "N/A");
    EXPECT_EQ(shown.writeTestMode, "N/A");

    struct Mode {
        const char* value;
        const char* shown;
    };
    for (const Mode& mode : {Mode{"TRUE", "On"}, Mode{"false", "Off"}, Mode{"yes", "N/A"}}) {
        ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Dvd().Set("WRITE_TEST_MODE", mode.value).Text()), 0);
        EXPECT_EQ(shown.writeTestMode, mode.shown) << mode.value;
    }
}

TEST(WriteGraphReader, KeysAreTakenFromTheirFirstOccurrence)
{
    WriteGraphFixture fixture = WriteGraphFixture::Dvd();
    fixture.Set("DEVICE_MAKEMODEL", "QDRIVE MEDIA_ID=FROM-DEVICE").Set("DATE", "10/12/2025   21:14:05  ");
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(fixture.Text()), 0);
    EXPECT_EQ(file.Displays().mediaId, "FROM-DEVICE");
    EXPECT_EQ(file.Displays().dateTime, "10/12/2025 21:14:05 ");
}

TEST(WriteGraphReader, SampleValuesAndMissingPercentages)
{
    WriteGraphFixture fixture = WriteGraphFixture::Dvd();
    fixture.writeLines = {"4.00,0,4", "8.00,1000000,4,90.0,12.5", "12.00,2000000,4", "16.00,2100000,4,55.5"};
    fixture.AddVerifyPass(0);
    fixture.verifyLines = {"5.00,0,4,7.5", "9.00,1000000,4"};
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(fixture.Text()), 0);
    const auto& write = file.Graph().writeSamples;
    ASSERT_EQ(write.size(), 4u);
    // Before any line gave a buffer: buffer -1 %, cpu buffer - 1.
    EXPECT_EQ(write[0].speed, 400);
    EXPECT_EQ(write[0].buffer, -100);
    EXPECT_EQ(write[0].cpu, -200);
    EXPECT_EQ(write[0].rpm, 5687);  // 4 x 1421.95 at the inner radius
    EXPECT_EQ(write[1].sector, 1000000);
    EXPECT_EQ(write[1].buffer, 9000);
    EXPECT_EQ(write[1].cpu, 1250);
    EXPECT_EQ(write[2].buffer, 9000);
    EXPECT_EQ(write[2].cpu, 8900);
    EXPECT_EQ(write[3].buffer, 5550);
    EXPECT_EQ(write[3].cpu, -100);
    const auto& verify = file.Graph().verifySamples;
    ASSERT_EQ(verify.size(), 2u);
    EXPECT_EQ(verify[0].cpu, 750);
    EXPECT_EQ(verify[1].speed, 900);
    EXPECT_EQ(verify[1].cpu, -100);
}

TEST(WriteGraphReader, WritePassRaisesSpeedMaxAndSpeedEnd)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        const char* fileEnd;
        const char* speedMax;
        const char* speedEnd;
    };
    const Case cases[] = {
        {"faster than the file says",
         {"8.00,0,4", "17.456,100,4", "16.1,200,4", "15.5,300,4"},
         "15.94",
         "17.46x",
         "16.10x"},
        {"within the file's figures", {"8.00,0,4", "12.00,100,4"}, "15.94", "16.02x", "15.94x"},
        {"one sample", {"15.99,0,4"}, "2", "16.02x", "15.99x"},
    };
    for (const Case& c : cases) {
        WriteGraphFixture fixture = WriteGraphFixture::Dvd();
        fixture.writeLines = c.lines;
        fixture.Set("WRITE_SPEED_END", c.fileEnd);
        WriteGraphFile file;
        ASSERT_EQ(file.LoadGraphText(fixture.Text()), 0) << c.name;
        EXPECT_EQ(file.Displays().speedMax, c.speedMax) << c.name;
        EXPECT_EQ(file.Displays().speedEnd, c.speedEnd) << c.name;
    }
}

TEST(WriteGraphReader, RotationFollowsTheMedium)
{
    WriteGraphFixture bd = WriteGraphFixture::Medium("BD-R", 12219392, 0, 12219392);
    bd.writeLines = {"2.00,0,4", "6.00,9000000,4"};
    WriteGraphFixture cd = WriteGraphFixture::Medium("CD-R", 359847, 0, 359847);
    cd.writeLines = {"48.00,300000,4", "0,300000,4", "-3,300000,4"};
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(bd.Text()), 0);
    // No model for BD: the average speed (11.50x) times 833.33.
    EXPECT_EQ(file.Graph().writeSamples[0].rpm, 9583);
    EXPECT_EQ(file.Graph().writeSamples[1].rpm, 9583);
    ASSERT_EQ(file.LoadGraphText(cd.Text()), 0);
    EXPECT_EQ(file.Graph().writeSamples[0].rpm, 9927);
    EXPECT_EQ(file.Graph().writeSamples[1].rpm, 0);
    EXPECT_EQ(file.Graph().writeSamples[2].rpm, 0);
}

TEST(WriteGraphReader, HugeNegativeAndGarbledNumbersStayInRange)
{
    WriteGraphFixture fixture = WriteGraphFixture::Dvd();
    fixture.Set("DATA_SECTORS", "99999999999999999999999").Set("MEDIA_LAYER_BREAK", "999999999999");
    fixture.Set("WRITE_TIME_TAKEN", "-75").Set("WRITE_SPEED_AVERAGE", "1e999");
    fixture.writeLines = {"1e999,-99999999999,0,1e400,-1e400", "nan,12,4,inf,-inf", "x,y,z,w,v", ",,,,", "3"};
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(fixture.Text()), 0);
    const WriteGraph& graph = file.Graph();
    EXPECT_EQ(graph.endOfDataX, 449);
    EXPECT_EQ(graph.layerBreakX, 449);
    const auto& samples = graph.writeSamples;
    ASSERT_EQ(samples.size(), 5u);
    EXPECT_EQ(samples[0].speed, INT_MAX);
    EXPECT_EQ(samples[0].sector, INT_MIN);
    EXPECT_EQ(samples[0].buffer, INT_MAX);
    EXPECT_EQ(samples[0].cpu, INT_MIN);
    EXPECT_EQ(samples[1].speed, 0);
    EXPECT_EQ(samples[2].speed, 0);
    EXPECT_EQ(samples[3].sector, 0);
    EXPECT_EQ(samples[4].speed, 300);
    EXPECT_EQ(file.Displays().burnTime, "-1 Mins -15 Secs");

    ASSERT_EQ(
        file.LoadGraphText(WriteGraphFixture::Dvd().Set("DATA_SECTORS", "-5").Set("MEDIA_LAYER_BREAK", "-7").Text()),
        0);
    EXPECT_EQ(file.Graph().endOfDataX, 0);
    EXPECT_EQ(file.Graph().layerBreakX, 0);
}

TEST(WriteGraphReader, ReadsNumbersInTheCLocale)
{
    ScopedCommaLocale comma;
    if (!comma.Ok())
        GTEST_SKIP() << "no comma-decimal locale can be built on this machine";
    WriteGraphFixture fixture = WriteGraphFixture::Dvd();
    fixture.writeLines = {"8.00,0,4,90.5,1.5", "17.456,100,4"};
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(fixture.Text()), 0);
    EXPECT_EQ(file.Graph().writeSamples[1].speed, 1745);
    EXPECT_EQ(file.Graph().writeSamples[0].buffer, 9050);
    EXPECT_EQ(file.Displays().speedMax, "17.46x");
}

TEST(WriteGraphReader, LoadsFromDiskAndRefusesWhatCannotBeRead)
{
    TempDir dir;
    WriteFileText(dir.File("good.ibg"), WriteGraphFixture::Dvd().Text());
    WriteGraphFile file;
    EXPECT_EQ(file.LoadGraphFile(dir.File("good.ibg")), 0);
    EXPECT_EQ(file.Graph().writeSamples.size(), 20u);

    const std::string pipe = dir.File("pipe.ibg");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {dir.File("missing.ibg"), dir.Path(), pipe}) {
        EXPECT_NE(file.LoadGraphFile(path), 0) << path;
        EXPECT_EQ(file.Messages(), std::vector<std::string>{"Error Opening File"}) << path;
    }

    // A sparse file: its size alone refuses it, nothing is read.
    const std::string huge = dir.File("huge.ibg");
    WriteFileText(huge, "IBGD\r\n");
    std::filesystem::resize_file(huge, WriteGraphFile::kMaxFileSize + 1);
    EXPECT_NE(file.LoadGraphFile(huge), 0);
    EXPECT_EQ(file.Messages(), std::vector<std::string>{kNotAGraphFile});
    EXPECT_FALSE(file.HasLoadedText());
    EXPECT_TRUE(file.Graph().writeSamples.empty());
}
