// The hard-disk error test's read loop against dd.
//
// Both read the same 2 GiB source from its start to its end in reads of
// 24 MiB that bypass the page cache: the test through its own loop
// (HddErrorTest, every read reported to a sink and the cell map advanced),
// and "dd iflag=direct bs=24M" into /dev/null, six times each, in turns
// (each going first every other round); each pair of rounds gives a ratio
// of summed times, so that a side is not favoured by going second.
// The source is a file made once beside the program (hddread-2g.img), the
// path given as the first argument, or with "--loop" (root) a loop device
// over that file with direct I/O to it. Also timed: a full repaint of a
// 9,000-cell map (the widget's refresh: build the steps, paint the image).
//
// Prints "dd_ms N", "hddtest_ms N" (the best), "map_ms N" (median) and,
// last, "ratio_vs_dd N": dd's time over the test's, the median of the pairs
// (goal: at least 0.95).

#include "BenchCache.h"
#include "core/base/WaitClock.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskAccess.h"
#include "core/tools/disk/DiskTestSink.h"
#include "core/tools/hddtest/HddErrorTest.h"
#include "gui/graphs/HddGraphStatic.h"
#include "platform/sysinfo/SystemFacts.h"

#include <QApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint64_t kSourceBytes = std::uint64_t{2} << 30;
constexpr int kRounds = 6;
constexpr int kMapRuns = 51;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Takes what the test reports and drops it, as a window would take it.
class CountingSink : public DiskTestSink {
public:
    void SetFieldText(int, const std::string& text) override { bytes += text.size(); }
    void SetProgress(int position, const std::string&) override { last = position; }
    void EnableControl(int, bool) override {}
    void ShowMessage(const std::string& text, const std::string&, unsigned) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        failed = true;
    }
    void OnTestEnded() override {}
    void CallOnWindow(std::function<void()> call) override { call(); }

    std::size_t bytes = 0;
    int last = 0;
    bool failed = false;
};

// A file of bytes that do not repeat, written once.
bool MakeSource(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && static_cast<std::uint64_t>(info.st_size) == kSourceBytes)
        return true;
    std::fprintf(stderr, "writing %s ...\n", path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::vector<std::uint64_t> chunk((8 << 20) / 8);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (std::uint64_t written = 0; written < kSourceBytes; written += chunk.size() * 8) {
        for (std::uint64_t& word : chunk) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        if (::write(fd, chunk.data(), chunk.size() * 8) != static_cast<ssize_t>(chunk.size() * 8)) {
            ::close(fd);
            return false;
        }
    }
    ::fsync(fd);
    ::close(fd);
    return true;
}

std::string FirstLineOf(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {};
    char line[256] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    ::pclose(pipe);
    std::string text = got ? line : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

double TimeDd(const std::string& source)
{
    const auto start = Clock::now();
    const std::string command = "dd if='" + source + "' of=/dev/null iflag=direct bs=24M status=none";
    if (std::system(command.c_str()) != 0)
        return -1;
    return MillisecondsSince(start);
}

double TimeTest(const std::string& source, std::uint64_t& bytesRead)
{
    DiskAccess access;
    HddCellMap map;
    CountingSink sink;
    std::atomic<int> running{1};
    const auto clock = SystemWaitClock();
    HddErrorTest test(source, access, 49152, map, sink, *clock, running);
    const auto start = Clock::now();
    const HddTestEnd end = test.DoErrorTest();
    const double ms = MillisecondsSince(start);
    bytesRead = test.Result().bytesTested;
    if (end != HddTestEnd::Complete || sink.failed)
        return -1;
    return ms;
}

double MapRepaintMs()
{
    CHddGraphStatic map;
    map.SetColours(0x6D6D6D, HalfIntensity(0x6D6D6D), 0);
    for (int cell = 0; cell < kHddMapCells; cell += 37)
        map.MarkRetried(cell);
    for (int cell = 0; cell < kHddMapCells; cell += 101)
        map.MarkFailed(cell);
    map.AdvanceTo(kHddMapCells);
    std::vector<double> runs;
    for (int i = 0; i < kMapRuns; ++i) {
        const auto start = Clock::now();
        map.Refresh();
        map.RefreshNow();
        runs.push_back(MillisecondsSince(start));
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const std::string program = ExecutablePath();
    const std::string made = program.substr(0, program.rfind('/') + 1) + "hddread-2g.img";
    std::string source = made;
    bool loop = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--loop") == 0)
            loop = true;
        else
            source = argv[i];
    }
    if (source == made && !MakeSource(source)) {
        std::fprintf(stderr, "cannot write %s\n", source.c_str());
        return 1;
    }
    std::string loopNode;
    if (loop) {
        loopNode = FirstLineOf("losetup -f --show --direct-io=on '" + source + "' 2>/dev/null");
        if (loopNode.rfind("/dev/loop", 0) != 0) {
            std::fprintf(stderr, "no loop device (root and losetup are needed)\n");
            return 1;
        }
        source = loopNode;
    }
    std::printf("source %s\n", source.c_str());
    double bestDd = 1e30;
    double bestTest = 1e30;
    std::vector<double> ddTimes, testTimes;
    std::uint64_t bytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        double dd = 0;
        double test = 0;
        TakeTurns(
            round, [&] { test = TimeTest(source, bytes); }, [&] { dd = TimeDd(source); });
        if (dd < 0 || test < 0) {
            std::fprintf(stderr, "a read of %s failed\n", source.c_str());
            break;
        }
        std::printf("round %d (%s first): dd_ms %.0f, hddtest_ms %.0f (%.0f MB/s)\n", round + 1,
                    round % 2 == 0 ? "test" : "dd", dd, test, static_cast<double>(bytes) / 1e3 / test);
        ddTimes.push_back(dd);
        testTimes.push_back(test);
        bestDd = std::min(bestDd, dd);
        bestTest = std::min(bestTest, test);
    }
    if (!loopNode.empty() && std::system(("losetup -d " + loopNode).c_str()) != 0)
        std::fprintf(stderr, "could not detach %s\n", loopNode.c_str());
    if (bestTest >= 1e30)
        return 1;
    std::printf("dd_ms %.0f\n", bestDd);
    std::printf("hddtest_ms %.0f\n", bestTest);
    std::printf("map_ms %.3f\n", MapRepaintMs());
    std::printf("ratio_vs_dd %.3f\n", Median(PairRatios(testTimes, ddTimes)));
    return 0;
}
