// The folder hash of all six digests over 10,000 small files (1-64 KiB) and
// one 1 GiB file, against md5sum, sha1sum, sha224sum, sha256sum, sha384sum
// and sha512sum run one after another over the same files; and the media
// hash of 1 GiB of a disc in an emulated drive, which answers at once.
//
// Usage: bench_folderhash [small files] [large MiB]   (default 10000 1024)
// The folder is made in $TMPDIR (else /tmp) and removed afterwards. The last
// line is "ratio_vs_coreutils <coreutils seconds / ours>".

#include "core/app/MainDialogCore.h"
#include "core/base/ReportText.h"
#include "core/tools/hash/FileHashEngine.h"
#include "core/tools/hash/HashKernelSelect.h"
#include "core/tools/hash/MediaHash.h"
#include "emu/EmulatedDrive.h"
#include "HashBenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 2;
constexpr const char* kTools[] = {"md5sum", "sha1sum", "sha224sum", "sha256sum", "sha384sum", "sha512sum"};

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Bytes that no compressor or deduplication shortens.
void FillRandom(std::vector<char>& data, std::uint64_t& state)
{
    for (std::size_t i = 0; i + 8 <= data.size(); i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(data.data() + i, &state, 8);
    }
}

bool WriteFile(const std::string& path, const std::vector<char>& data, std::size_t length)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data.data(), 1, length, file) == length;
    return std::fclose(file) == 0 && written;
}

class BenchFolder {
public:
    BenchFolder(int smallFiles, std::size_t largeMebibytes)
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quenza-bench-folderhash-XXXXXX";
        if (!mkdtemp(pattern.data()))
            return;
        m_path = pattern;
        std::uint64_t state = 0x9E3779B97F4A7C15u;
        std::mt19937 sizes(7);
        std::vector<char> data(std::size_t{64} << 10);
        for (int i = 0; i < smallFiles; ++i) {
            const std::string folder = m_path + "/d" + std::to_string(1000 + i / 100);
            if (i % 100 == 0)
                fs::create_directory(folder);
            FillRandom(data, state);
            const auto length = std::uniform_int_distribution<std::size_t>(1024, data.size())(sizes);
            m_ok = m_ok && WriteFile(folder + "/f" + std::to_string(10000 + i), data, length);
            m_bytes += length;
        }
        std::vector<char> chunk(std::size_t{64} << 20);
        std::FILE* large = std::fopen((m_path + "/large.bin").c_str(), "wb");
        m_ok = m_ok && large;
        for (std::size_t written = 0; large && written < (largeMebibytes << 20); written += chunk.size()) {
            FillRandom(chunk, state);
            const std::size_t length = std::min(chunk.size(), (largeMebibytes << 20) - written);
            m_ok = m_ok && std::fwrite(chunk.data(), 1, length, large) == length;
            m_bytes += length;
        }
        m_ok = m_ok && large && std::fclose(large) == 0;
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    bool Ok() const { return m_ok && !m_path.empty(); }
    const std::string& Path() const { return m_path; }
    std::uint64_t Bytes() const { return m_bytes; }

private:
    std::string m_path;
    bool m_ok = true;
    std::uint64_t m_bytes = 0;
};

bool RunQuietly(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string FirstWordOf(const std::string& command)
{
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "";
    char text[256] = {};
    const bool read = std::fgets(text, sizeof text, pipe) != nullptr;
    pclose(pipe);
    std::string word = read ? text : "";
    return word.substr(0, word.find(' '));
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The media hash of a range of a pressed DVD in an emulated drive that
// answers at once (no speed model), in MB/s.
double MediaHashMegabytesPerSecond(HashChoice choice, std::int64_t blocks)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string machine = std::string(tmp && *tmp ? tmp : "/tmp") + "/quenza-bench-machine-XXXXXX";
    if (!mkdtemp(machine.data()))
        return 0;
    DriveSources sources;
    sources.sysBlockRoot = machine;
    sources.devRoot = machine;
    sources.watchIntervalMs = 0;
    std::string error;
    auto drive = emu::MakeEmulatedDrive("dvd-writer", "dvd-rom", std::make_shared<emu::ManualClock>(), &error);
    sources.emulated.emplace_back("emu0", drive);
    double seconds = 0;
    {
        MainDialogCore core(sources);
        core.m_Drives.list.FillDeviceComboList();
        core.m_Drives.list.SetDeviceComboSel(0);
        core.m_Drives.list.OnSelchangeDevicescombo();
        QuietHashEvents events;
        HashOutcome outcome = HashOutcome::Failed;
        seconds = Seconds([&] {
            outcome = MediaHash(core.m_Drives, core.m_Report, events, choice).HashMedia(0, blocks - 1, [] {
                return true;
            });
        });
        if (outcome != HashOutcome::Done)
            seconds = 0;
    }
    fs::remove_all(machine);
    return seconds > 0 ? static_cast<double>(blocks) * 2048 / 1e6 / seconds : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const int smallFiles = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::size_t largeMebibytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1024;
    std::printf("%s\n", DescribeHashKernels().c_str());
    const BenchFolder folder(smallFiles, largeMebibytes);
    if (!folder.Ok()) {
        std::printf("cannot write the bench folder\nratio_vs_coreutils 0\n");
        return 1;
    }
    const double megabytes = static_cast<double>(folder.Bytes()) / 1e6;
    std::printf("folder: %d files of 1-64 KiB and one of %zu MiB, %.0f MB in all\n", smallFiles, largeMebibytes,
                megabytes);

    // The machine may be shared: ours and the tools take turns, and the best
    // of each counts.
    QuietHashEvents events;
    ReportText report;
    const std::string files = "cd '" + folder.Path() + "' && find . -type f -print0 | LC_ALL=C sort -z | xargs -0";
    double ours = 1e300;
    std::vector<double> tools(std::size(kTools), 1e300);
    for (int run = 0; run < kRuns; ++run) {
        FileHashEngine engine(report, events, HashChoice{true, true});
        HashOutcome outcome = HashOutcome::Failed;
        ours = std::min(ours, Seconds([&] { outcome = engine.HashFolder(folder.Path(), {}); }));
        if (outcome != HashOutcome::Done) {
            std::printf("the folder hash failed\nratio_vs_coreutils 0\n");
            return 1;
        }
        for (std::size_t tool = 0; tool < tools.size(); ++tool) {
            bool ok = true;
            const std::string command = files + " " + kTools[tool];
            tools[tool] = std::min(tools[tool], Seconds([&] { ok = RunQuietly(command); }));
            if (!ok)
                std::printf("  %s failed\n", kTools[tool]);
        }
    }
    std::printf("ours (all six at once): %.3f s, %.0f MB/s\n", ours, megabytes / ours);

    // The same contents through one tool in the walk's order give our digest.
    std::string ourSha256;
    for (int line = 0; line + 1 < ReportText::kReportLines; ++line)
        if (report.GetLine(line).rfind("SHA-256 Hash Value", 0) == 0)
            ourSha256 = Lower(report.GetLine(line + 1).substr(0, 64));
    if (FirstWordOf(files + " cat | sha256sum") != ourSha256)
        std::printf("  our SHA-256 differs from the contents' in walk order!\n");

    double coreutils = 0;
    for (std::size_t tool = 0; tool < tools.size(); ++tool) {
        std::printf("%-10s %.3f s\n", kTools[tool], tools[tool]);
        coreutils += tools[tool];
    }

    constexpr std::int64_t kDiscBlocks = std::int64_t{1} << 19;  // 1 GiB
    std::printf("media hash on the emulated drive: MD5 %.0f MB/s, all six %.0f MB/s\n",
                MediaHashMegabytesPerSecond({}, kDiscBlocks), MediaHashMegabytesPerSecond({true, true}, kDiscBlocks));
    std::printf("coreutils one after another: %.3f s\n", coreutils);
    std::printf("ratio_vs_coreutils %.2f\n", coreutils / ours);
    return 0;
}
