#include "core/base/FileErrors.h"
#include "core/base/GrowStringArray.h"
#include "core/base/HexDump.h"
#include "core/base/ReportText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <numeric>
#include <sstream>
#include <thread>

namespace {

std::vector<std::string> ShownLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", at)) {
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(at, text.size()) << "every shown line ends with CR LF";
    return lines;
}

}  // namespace

TEST(GrowStringArray, GrowsByExactlyTheMissingElementsAndNeverShrinks)
{
    GrowStringArray array;
    EXPECT_EQ(array.GetCount(), 10);
    array.ElementAt(3) = "three";
    EXPECT_EQ(&array.ElementAt(-5), &array.ElementAt(0));
    array.ElementAt(200) = "last";
    EXPECT_EQ(array.GetCount(), 201);
    EXPECT_EQ(array.ElementAt(3), "three");
    EXPECT_EQ(array.ElementAt(150), "");
    array.EmptyAll();
    EXPECT_EQ(array.GetCount(), 201);
    EXPECT_EQ(array.ElementAt(200), "");
    EXPECT_EQ(array.Grow(5), 1);
    EXPECT_EQ(array.GetCount(), 206);
}

TEST(ReportText, StatusLineIsFortyColumns)
{
    ScopedProgramLog log;
    ReportText report;
    struct Case {
        std::string text;
        std::string shown;
        std::string kept;
    };
    const std::string fortyFive = "Reading Media Information 100% complete....";
    const Case cases[] = {
        {"abc", "abc" + std::string(37, ' '), "abc"},
        {"", std::string(40, ' '), ""},
        {fortyFive + "xy", fortyFive.substr(0, 40), fortyFive.substr(0, 40)},
        {"  Erasing Disc please wait... ", "  Erasing Disc please wait... " + std::string(10, ' '),
         "  Erasing Disc please wait..."},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.text);
        report.ShowStatus(test.text);
        EXPECT_EQ(report.GetStatusDisplay(), test.shown);
        EXPECT_EQ(report.GetStatusText(), test.kept);
    }
    // Set directly, a long text is padded but not cut.
    const std::string longText(55, 'x');
    report.SetStatusLine(longText);
    EXPECT_EQ(report.GetStatusDisplay(), longText);
    EXPECT_NE(log.Text().find(" " + longText + "\n"), std::string::npos);
}

TEST(ReportText, ProgressStatusCountsOneToOneHundred)
{
    ReportText report;
    struct Case {
        int done;
        std::string shown;
    };
    const Case cases[] = {
        {0, "     Amount completed    1%"},
        {32768, "     Amount completed   51%"},
        {65535, "     Amount completed  100%"},
        {1, "  Erasing Disc please wait..."},
    };
    for (const Case& test : cases) {
        report.ShowProgressStatus(test.done, "  Erasing Disc please wait... ", 65536);
        EXPECT_EQ(report.GetStatusText(), test.shown) << test.done;
    }
}

TEST(ReportText, RefreshShowsLinesOfSeventyThreeColumnsUpToTheLastWithContent)
{
    ReportText report;
    for (int i = 0; i < 5; ++i)
        report.SetLine(i, i == 2 ? "" : FormatReportLine("Line", std::to_string(i)));
    report.SetLine(1, std::string(80, 'w'));
    report.RefreshDisplay(ReportText::kWholeReport);
    const auto lines = ShownLines(report.GetDisplayText());
    ASSERT_EQ(lines.size(), 5u);
    for (const std::string& line : lines)
        EXPECT_EQ(line.size(), 73u);
    EXPECT_EQ(lines[1], std::string(73, 'w'));  // cut
    EXPECT_EQ(lines[2], std::string(73, ' '));  // an empty line inside the report stays
    EXPECT_EQ(report.GetLine(1).size(), 73u);  // the lines themselves were normalised

    report.ClearDisplayLines();
    EXPECT_EQ(report.GetDisplayText(), "");

    // A byte view counts empty lines as content: lines past the fresh ones
    // (16 bytes a line) are shown too, down to line 127.
    ReportText bytes;
    bytes.m_bHexView = 1;
    bytes.SetLine(0, "00000000 data");
    bytes.RefreshDisplay(512);
    EXPECT_EQ(ShownLines(bytes.GetDisplayText()).size(), 128u);
    bytes.RefreshDisplay(ReportText::kWholeReport);  // every line is fresh: blank lines of 73 do not count
    EXPECT_EQ(ShownLines(bytes.GetDisplayText()).size(), 1u);
}

TEST(ReportText, ClearDisplayEmptiesLogsAndTellsTheListener)
{
    ScopedProgramLog log;
    ReportText report;
    std::vector<ReportChange> changes;
    report.SetListener([&](ReportChange change) { changes.push_back(change); });
    report.SetLine(0, "line");
    report.RefreshDisplay(ReportText::kWholeReport);
    report.ShowStatus("Ready");
    report.ClearDisplay();
    EXPECT_EQ(report.GetLine(0), std::string(73, ' '));  // emptied, then shown as a blank line
    EXPECT_EQ(report.GetDisplayText(), "");
    EXPECT_EQ(changes, (std::vector<ReportChange>{ReportChange::Display, ReportChange::Status, ReportChange::Display}));
    const std::string text = log.Text();
    EXPECT_LT(text.find("Start ClearDisplay()"), text.find("End ClearDisplay()"));
}

TEST(ReportText, WorkersWriteWhileTheWindowReads)
{
    ReportText report;
    std::atomic<int> notices{0};
    report.SetListener([&](ReportChange) { ++notices; });
    std::vector<std::thread> workers;
    for (int worker = 0; worker < 4; ++worker)
        workers.emplace_back([&report, worker] {
            for (int i = 0; i < 200; ++i) {
                report.SetLine(worker * 32 + i % 32, "worker " + std::to_string(worker));
                report.ShowStatus("step " + std::to_string(i));
                report.RefreshDisplay(ReportText::kWholeReport);
            }
        });
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(report.GetDisplayText().size() % 75, 0u);
        EXPECT_LE(report.GetStatusText().size(), 40u);
    }
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(notices, 4 * 200 * 2);
    EXPECT_EQ(ShownLines(report.GetDisplayText()).size(), 128u);
}

TEST(ReportText, ReportLineConvention)
{
    const std::string line = FormatReportLine("Format Capacity", "4.38GB(4.70GB)");
    EXPECT_EQ(line.size(), 73u);
    EXPECT_EQ(line.substr(0, 15), "Format Capacity");
    EXPECT_EQ(line.substr(73 - 14), "4.38GB(4.70GB)");
    EXPECT_EQ(FormatHexValue(0x1DFFFFF), "1DFFFFFh");
    EXPECT_EQ(FormatHexValue(0xab), "ABh");
}

TEST(HexDump, LinesOffsetsAndCharacters)
{
    std::uint8_t bytes[32];
    std::iota(std::begin(bytes), std::end(bytes), 0);
    EXPECT_EQ(HexDumpLine(bytes, 0), "00000000 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ................");
    EXPECT_EQ(HexDumpLine(bytes + 16, 16), "00000010 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F ................");
    const std::uint8_t edges[16] = {0x20, 0x7E, 0x7F, 0x80, 0xFF, 'A', 'z', '0', 0x1F, 0x21, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(HexDumpLine(edges, 0xFFF0).substr(57), " ~...Az0.!......");
    EXPECT_EQ(HexDumpLine(edges, 0xFFF0).size(), 73u);

    // 32 lines of zeros: header, rule and every line, none left out.
    ReportText report;
    const std::vector<std::uint8_t> zeros(512, 0);
    report.FormatHexDump(zeros.data(), 32);
    report.ShowHexDump(32);
    const auto lines = ShownLines(report.GetDisplayText());
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[0], kHexDumpHeader);
    EXPECT_EQ(lines[1], std::string(73, '-'));
    EXPECT_EQ(lines[33], "000001F0 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................");
    report.FormatHexDump(zeros.data(), 0);
    EXPECT_TRUE(report.GetHexLines().empty());
}

TEST(HexDump, APositionInTheDumpNamesItsByte)
{
    const auto at = [](int line, int column) { return 150 + 75 * line + column; };
    struct Case {
        const char* name;
        int position;
        std::optional<int> byte;
    };
    const Case cases[] = {
        {"header", 20, std::nullopt},
        {"rule", 149, std::nullopt},
        {"offset column", at(0, 3), std::nullopt},
        {"blank after the offset", at(0, 8), std::nullopt},
        {"first byte", at(0, 9), 0},
        {"second digit of byte 0", at(0, 10), 0},
        {"byte 5 of line 2", at(2, 9 + 3 * 5), 2 * 16 + 5},
        {"second digit of the last byte", at(1, 9 + 46), 31},
        {"blank after the last byte", at(1, 9 + 47), std::nullopt},
        {"character column", at(1, 57), std::nullopt},
        {"line end", at(1, 74), std::nullopt},
        {"past the last line", at(32, 9), std::nullopt},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(HexDumpByteIndex(test.position, 32), test.byte);
    }
}

TEST(FileErrors, EachCauseHasItsText)
{
    const std::pair<int, const char*> cases[] = {
        {0, "ERROR: No error occurred!"},
        {2, "ERROR: File not found!"},
        {3, "ERROR: All or part of the path is invalid!"},
        {4, "ERROR: The permitted number of open files was exceeded!"},
        {5, "ERROR: The file could not be accessed!"},
        {6, "ERROR: There was an attempt to use an invalid file handle!"},
        {13, "ERROR: The disk is full!"},
        {14, "ERROR: The end of file was reached!"},
        {15, ""},
        {-1, ""},
    };
    for (const auto& [cause, text] : cases)
        EXPECT_EQ(FileErrorText(cause), text) << cause;
    EXPECT_EQ(FileErrorCauseFromErrno(ENOSPC), kFileDiskFull);
    EXPECT_EQ(FileErrorCauseFromErrno(EACCES), kFileAccessDenied);
    EXPECT_EQ(FileErrorCauseFromErrno(ENOENT), kFileNotFound);
    EXPECT_EQ(FileErrorCauseFromErrno(EINTR), kFileGeneric);

    ScopedProgramLog log;
    ScriptedPrompt prompt;
    ReportFileException(kFileDiskFull);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "ERROR: The disk is full!");
    EXPECT_NE(log.Text().find("Type of Exception - ERROR: The disk is full!"), std::string::npos);
}
