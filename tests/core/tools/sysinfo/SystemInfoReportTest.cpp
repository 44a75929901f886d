#include "core/base/ReportText.h"
#include "core/tools/sysinfo/SystemInfoCommand.h"
#include "core/tools/sysinfo/SystemInfoReport.h"
#include "platform/text/Trim.h"
#include "support/SysinfoFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>

namespace {

const std::string kSourceDir = QUENZA_SOURCE_DIR;
const std::string kMachine = kSourceDir + "/tests/core/tools/sysinfo/machine";

SystemSources FixtureSources()
{
    return FixtureSystemSources(kMachine);
}

WindowFacts FixtureWindow()
{
    WindowFacts facts;
    facts.screen = {1920, 1080};
    facts.opticalDrives = {{"sr0", "HL-DT-ST DVDRAM GH24NSD1", "1.00"}};
    facts.otherDrives = {{"sda", "ATA Samsung SSD 860", "RVT01B6Q"}, {"sdb", "Kingston DataTraveler 3.0", "PMAP"}};
    return facts;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Local times in UTC for one scope.
class ScopedUtc {
public:
    ScopedUtc() : m_env("TZ", "UTC") { tzset(); }
    ~ScopedUtc() { tzset(); }

private:
    ScopedEnv m_env;
};

}  // namespace

TEST(SystemInfoReport, TheFixtureMachineAsItsGoldenReport)
{
    // QUENZA_UPDATE_GOLDEN=1 writes the file anew (read it before committing).
    const ScopedUtc utc;
    const std::optional<std::vector<std::string>> lines = BuildSystemReport(FixtureSources(), FixtureWindow());
    ASSERT_TRUE(lines);
    const std::string report = Joined(*lines);
    const std::string golden = kSourceDir + "/tests/core/tools/sysinfo/golden/report.txt";
    if (std::getenv("QUENZA_UPDATE_GOLDEN"))
        WriteFileText(golden, report);
    EXPECT_EQ(report, ReadFileText(golden));

    // Meant to be shared: it says what it tells about the machine, and keeps
    // the machine's identifiers to itself.
    EXPECT_NE(report.find("host name and network addresses"), std::string::npos);
    for (const char* secret : {"4b2f0d8e9c1a4e6f8a7b3c2d1e0f9a8b", "CZC1234XYZ", "8c3d41a2"})
        EXPECT_EQ(report.find(secret), std::string::npos) << secret;
}

// The lines Linux has sources for, in its own words.
TEST(SystemInfoReport, TheFixtureMachinesLinesInLinuxTerms)
{
    const ScopedUtc utc;
    const std::optional<std::vector<std::string>> lines = BuildSystemReport(FixtureSources(), FixtureWindow());
    ASSERT_TRUE(lines);
    const auto values = [&](const std::string& label) {
        std::vector<std::string> found;
        for (const std::string& line : *lines)
            if (line.rfind(label, 0) == 0)
                found.push_back(TrimText(line.substr(label.size()), " "));
        return found;
    };
    using Values = std::vector<std::string>;
    EXPECT_EQ(values("Operating System Version"), Values{"Linux 6.1.0-18-amd64"});
    EXPECT_EQ(values("CPU 0 rated speed:"), Values{"~3400MHz"});
    // Memory and swap: MemTotal + SwapTotal, MemAvailable + SwapFree.
    EXPECT_EQ(values("Total swap space"), Values{"2.00GB"});
    EXPECT_EQ(values("Free swap space"), Values{"1.50GB"});
    EXPECT_EQ(values("Total virtual memory"), Values{"5.00GB"});
    EXPECT_EQ(values("Free available virtual memory"), Values{"2.50GB"});
    // A file system without a label has no empty brackets.
    EXPECT_EQ(values("Drive / (ext4) free space"), Values{"94.28GB"});
    EXPECT_EQ(values("IPv6 Address"), (Values{"2001:db8:1::20", "fe80::3e97:eff:fe12:3456"}));
    // The fixture's cores run two threads each.
    EXPECT_NE(values("CPU Features").at(0).find("HTT"), std::string::npos);
    for (const std::string& line : *lines)
        for (const char* windows : {"(Build", "Registry", "paging file", "()"})
            EXPECT_EQ(line.find(windows), std::string::npos) << line;
}

TEST(SystemInfoReport, SizesAsTheReportWritesThem)
{
    struct Case {
        std::uint64_t bytes;
        const char* memory;
        const char* freeSpace;
    };
    const Case cases[] = {
        {3'221'225'472, "3.00GB", "3.00GB"},
        {512, "512.00B", "512.00B"},
        {0, "0.00B", "0.00B"},
        {1024, "1024.00B", "1024.00B"},
        {1025, "1.00KB", "1.00KB"},
        {0x100000, "1024.00KB", "1024.00KB"},
        {0x100001, "1.00MB", "1.00MB"},
        {0x40000000, "1024.00MB", "1024.00MB"},
        {1'610'612'736, "1.50GB", "1.50GB"},
        {5'497'558'138'880, "5120.00GB", "5.00TB"},
        {~std::uint64_t{0}, "17179869184.00GB", "16.00EB"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.bytes);
        EXPECT_EQ(MemorySizeText(test.bytes), test.memory);
        std::string text;
        const float number = FormatByteSize(test.bytes, text);
        EXPECT_EQ(text, test.freeSpace);
        EXPECT_EQ(number > 0, test.bytes > 0);
    }
}

TEST(SystemInfoReport, BiosStringsAreNumberedOverAllPieces)
{
    EXPECT_EQ(BiosStringLines({"ALASKA - 1072009"}),
              std::vector<std::string>{"BIOS String 1                                           ALASKA - 1072009"});
    EXPECT_EQ(BiosStringLines({"First", "  ", "Third  "}),
              (std::vector<std::string>{"BIOS String 1                                                      First",
                                        "BIOS String 3                                                      Third"}));
    EXPECT_TRUE(BiosStringLines({}).empty());
    EXPECT_EQ(CollapseBlanks("  a   b c  "), " a b c ");
}

TEST(SystemInfoReport, AWorkerCanStopItAndFollowIt)
{
    std::vector<int> told;
    SystemReportRun run;
    run.progress = [&](int done, int total) {
        EXPECT_EQ(total, SystemInfoReport::kSections);
        told.push_back(done);
    };
    run.stopRequested = [&] { return told.size() == 3; };
    EXPECT_EQ(BuildSystemReport(FixtureSources(), FixtureWindow(), run), std::nullopt);
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3}));

    told.clear();
    run.stopRequested = [] { return false; };
    EXPECT_TRUE(BuildSystemReport(FixtureSources(), FixtureWindow(), run));
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(SystemInfoReport, TheCommandShowsEveryLineAndEndsReady)
{
    const ScopedProgramLog log;
    ReportText view;
    BeginSystemInformation(view);
    EXPECT_EQ(view.GetStatusText(), "Please Wait...");
    view.SetLine(250, "left from before");
    std::vector<std::string> lines(200);
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = "line " + std::to_string(i);
    EndSystemInformation(view, lines);
    EXPECT_EQ(view.GetStatusText(), "Ready");
    EXPECT_EQ(WithoutTrailingBlanks(view.GetLine(0)), "line 0");
    EXPECT_EQ(WithoutTrailingBlanks(view.GetLine(199)), "line 199");
    EXPECT_EQ(WithoutTrailingBlanks(view.GetLine(250)), "");
    // Shown whole, past the 128 lines of the other reports, and no further.
    const std::string shown = view.GetDisplayText();
    EXPECT_NE(shown.find("line 199" + std::string(65, ' ') + "\r\n"), std::string::npos);
    EXPECT_EQ(shown.find("left from before"), std::string::npos);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 200);

    // Stopped: no report, still "Ready".
    BeginSystemInformation(view);
    EndSystemInformation(view, std::nullopt);
    EXPECT_EQ(view.GetStatusText(), "Ready");
    const std::string text = log.Text();
    EXPECT_NE(text.find("System Information command received - Calling OnSystemInformation()"), std::string::npos);
    EXPECT_NE(text.find("End OnSystemInformation()"), std::string::npos);
}
