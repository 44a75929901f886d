#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "platform/files/SafeFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

LogHeaderSources FixedSources(std::time_t* clock)
{
    LogHeaderSources sources;
    sources.now = [clock] { return *clock; };
    sources.executablePath = [] { return std::string("/opt/quenzario/quenzario"); };
    sources.memoryStatus = [] {
        MemoryStatus m;
        m.memoryLoadPercent = 42;
        m.totalPhysical = 8ull << 30;  // 8 GiB
        m.availablePhysical = 5ull << 30;
        m.totalPageFile = 10ull << 30;
        m.availablePageFile = 7ull << 30;
        m.totalVirtual = 1ull << 47;
        m.availableVirtual = (1ull << 47) - (1ull << 30);
        return std::optional<MemoryStatus>(m);
    };
    sources.osProductName = [] { return std::string("Debian GNU/Linux 12 (bookworm)"); };
    sources.kernelVersion = [] { return std::optional<KernelVersion>(KernelVersion{6, 1, 0}); };
    return sources;
}

}  // namespace

TEST(LogFile, HeaderThenEveryEntryStampedWithItsOwnTime)
{
    ScopedEnv tz("TZ", "UTC");
    tzset();
    TempDir dir;
    std::time_t clock = 1796900000;  // 2026-12-10 10:53:20 UTC
    auto log = CLogFile::Open(dir.Path(), "Quenzario", FixedSources(&clock));
    ASSERT_TRUE(log);
    clock += 5;
    log->WriteEntry("Start GetMediaType()");
    clock += 61;
    log->WriteEntry("End GetMediaType()");

    const auto lines = Lines(ReadFileText(dir.File("Quenzario.log")));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "Log Started Thursday, December 10, 2026 10:53:20");
    EXPECT_EQ(lines[1], "program exe path /opt/quenzario/quenzario");
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(Program Version \d+\.\d{3})"))) << lines[2];
    EXPECT_EQ(lines[3], "Operating System");
    EXPECT_EQ(lines[4], "Debian GNU/Linux 12 (bookworm) Version 6.1 (Build 0)");
    EXPECT_EQ(lines[5], "Memory statistics");
    EXPECT_EQ(lines[6], "42 percent of memory is in use.");
    EXPECT_EQ(lines[7], "There are 8388608 total KB of physical memory.");
    EXPECT_EQ(lines[8], "There are 5242880 free KB of available physical memory.");
    EXPECT_EQ(lines[12], "There are 137437904896 free KB of available virtual memory.");
    EXPECT_EQ(lines[13], "10:53:25 Start GetMediaType()");
    EXPECT_EQ(lines[14], "10:54:26 End GetMediaType()");
    // Nothing trails the last entry.
    EXPECT_EQ(ReadFileText(dir.File("Quenzario.log")).back(), '\n');
}

TEST(LogFile, SmallAmountsAreRightAlignedInSevenColumns)
{
    MemoryStatus m;
    m.totalPhysical = 1024 * 1024;
    const std::string lines = MemoryStatisticsLines(m);
    EXPECT_NE(lines.find("There are    1024 total KB of physical memory.\n"), std::string::npos) << lines;
}

TEST(LogFile, MissingFactsStillGiveAWholeHeader)
{
    TempDir dir;
    std::time_t clock = 0;
    LogHeaderSources sources = FixedSources(&clock);
    sources.memoryStatus = [] { return std::optional<MemoryStatus>(); };
    sources.osProductName = [] { return std::string(); };
    sources.kernelVersion = [] { return std::optional<KernelVersion>(); };
    auto log = CLogFile::Open(dir.Path(), "Quenzario", sources);
    ASSERT_TRUE(log);
    const auto lines = Lines(ReadFileText(dir.File("Quenzario.log")));
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[3], "Operating System");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "Memory statistics");
    EXPECT_NE(lines[6].find("not available"), std::string::npos);
}

TEST(LogFile, PreviousLogIsKeptAsideOnTheNextRun)
{
    TempDir dir;
    std::time_t clock = 1000;
    {
        auto first = CLogFile::Open(dir.Path(), "Quenzario", FixedSources(&clock));
        ASSERT_TRUE(first);
        first->WriteEntry("first run");
    }
    EXPECT_FALSE(FileExists(dir.File("Quenzarioold.log")));
    struct stat first {};
    ASSERT_EQ(stat(dir.File("Quenzario.log").c_str(), &first), 0);
    {
        auto second = CLogFile::Open(dir.Path(), "Quenzario", FixedSources(&clock));
        ASSERT_TRUE(second);
        second->WriteEntry("second run");
    }
    struct stat old {};
    ASSERT_EQ(stat(dir.File("Quenzarioold.log").c_str(), &old), 0);
    EXPECT_EQ(old.st_ino, first.st_ino);  // renamed, never read and copied
    EXPECT_EQ(old.st_mode & 0777, 0600u);
    EXPECT_NE(ReadFileText(dir.File("Quenzarioold.log")).find("first run"), std::string::npos);
    const std::string current = ReadFileText(dir.File("Quenzario.log"));
    EXPECT_EQ(current.find("first run"), std::string::npos);
    EXPECT_NE(current.find("second run"), std::string::npos);
}

TEST(LogFile, OwnerOnlyAndNeverFollowsAPlantedLink)
{
    TempDir dir;
    std::time_t clock = 0;
    WriteFileText(dir.File("victim"), "precious");
    ASSERT_EQ(symlink(dir.File("victim").c_str(), dir.File("Quenzario.log").c_str()), 0);
    std::string error;
    EXPECT_FALSE(CLogFile::Open(dir.Path(), "Quenzario", FixedSources(&clock), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFileText(dir.File("victim")), "precious");

    unlink(dir.File("Quenzario.log").c_str());
    ASSERT_TRUE(CLogFile::Open(dir.Path(), "Quenzario", FixedSources(&clock)));
    struct stat st {};
    ASSERT_EQ(stat(dir.File("Quenzario.log").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(LogFile, UnwritableFolderLeavesLoggingOff)
{
    TempDir dir;
    WriteFileText(dir.File("plain"), "");
    EXPECT_FALSE(StartProgramLog(dir.File("plain")));  // a "folder" that is a file
    EXPECT_EQ(g_bLogging.load(), 0);
    LogEntry("goes nowhere");  // must not crash
}

TEST(LogFile, ConcurrentEntriesStayWhole)
{
    TempDir dir;
    ASSERT_TRUE(StartProgramLog(dir.Path()));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                LogEntryF("thread %d entry %d %s", t, i, std::string(40, 'a' + t).c_str());
        });
    for (auto& thread : threads)
        thread.join();
    StopProgramLog();
    const std::regex entry(R"(\d\d:\d\d:\d\d thread (\d) entry \d+ ([a-d])\2{39})");
    int entries = 0;
    for (const auto& line : Lines(ReadFileText(dir.File("Quenzario.log")))) {
        if (line.find("thread") == std::string::npos)
            continue;
        ++entries;
        EXPECT_TRUE(std::regex_match(line, entry)) << line;
    }
    EXPECT_EQ(entries, 800);
}
