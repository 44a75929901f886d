// Hash throughput, side by side with the best tool on the machine doing the
// same work on the same source in the same round:
// - the file hash (MD5) against `openssl dgst -md5` reading the same file,
//   the page cache warm for both (the file is read once before the rounds;
//   the output says how much of it is resident);
// - each digest over one large buffer in memory against `openssl speed`;
// - all six digests at once against the slowest single digest.
//
// Usage: bench_hash [MiB]   (default 1024)
// Prints "file_ratio MD5 <ours/openssl dgst throughput>" (the median of the
// rounds' ratios), "memory_ratio <algorithm> <ours/openssl speed>" for MD5,
// SHA-1, SHA-256 and SHA-512; the last line is "all_six_over_slowest <factor>".

#include "BenchCache.h"
#include "core/base/ReportText.h"
#include "core/tools/hash/FileHashEngine.h"
#include "core/tools/hash/HashKernelSelect.h"
#include "core/tools/hash/MD5Context.h"
#include "core/tools/hash/MultiDigest.h"
#include "core/tools/hash/SHAHash.h"
#include "HashBenchSupport.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;

struct Algorithm {
    const char* name;
    DigestKind kind;
    const char* openssl;  // openssl dgst option, "" when not compared
    const char* coreutils;  // coreutils tool, "" when not compared
};

const Algorithm kAlgorithms[] = {
    {"MD5", DIGEST_MD5, "md5", "md5sum"}, {"SHA-1", DIGEST_SHA1, "sha1", "sha1sum"},
    {"SHA-224", DIGEST_SHA224, "", ""},   {"SHA-256", DIGEST_SHA256, "sha256", "sha256sum"},
    {"SHA-384", DIGEST_SHA384, "", ""},   {"SHA-512", DIGEST_SHA512, "sha512", "sha512sum"},
};

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string HashBuffer(const Algorithm& algorithm, const std::vector<char>& data)
{
    // The classes take unsigned lengths: feed in 1 GiB calls.
    constexpr std::size_t kCall = 1u << 30;
    if (algorithm.kind == DIGEST_MD5) {
        MD5Context md5;
        for (std::size_t at = 0; at < data.size(); at += kCall)
            md5.Update(data.data() + at, static_cast<unsigned>(std::min(kCall, data.size() - at)));
        md5.Final();
        return MD5DigestToHex(md5.digest).get();
    }
    const SHA_TYPE types[] = {SHA_TYPE_1, SHA_TYPE_224, SHA_TYPE_256, SHA_TYPE_384, SHA_TYPE_512};
    SHAHash sha;
    sha.Init(types[std::countr_zero(static_cast<unsigned>(algorithm.kind)) - 1]);
    for (std::size_t at = 0; at < data.size(); at += kCall)
        sha.Update(data.data() + at, static_cast<unsigned>(std::min(kCall, data.size() - at)));
    return sha.Finish();
}

// Runs a command and returns the first word of its output that is a long
// hex string (the digest), or "" when it failed.
std::string RunForDigest(const std::string& command)
{
    std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return "";
    std::string output;
    char chunk[512];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, got);
    if (pclose(pipe) != 0)
        return "";
    // "MD5(file)= hex" or "hex  file"
    const auto equals = output.find("= ");
    std::size_t start = equals == std::string::npos ? 0 : equals + 2;
    std::size_t end = start;
    while (end < output.size() && std::isxdigit(static_cast<unsigned char>(output[end])))
        ++end;
    return output.substr(start, end - start);
}

// Runs a tool over the file and returns its time in seconds; negative when it
// failed or disagreed with our digest.
double ToolSeconds(const std::string& command, const std::string& expected)
{
    std::string digest;
    const double seconds = Seconds([&] { digest = RunForDigest(command); });
    if (digest == expected)
        return seconds;
    std::printf("  %s: %s\n", command.c_str(), digest.empty() ? "failed" : "digest differs!");
    return -1;
}

// OpenSSL's own in-memory figure in MB/s (`openssl speed`), 0 when unavailable.
double OpensslSpeed(const char* name)
{
    const std::string command = std::string("openssl speed -seconds 3 -bytes 16384 -evp ") + name + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return 0;
    std::string last;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        last = line;
    pclose(pipe);
    const auto space = last.find_last_of(' ');
    return space == std::string::npos ? 0 : std::atof(last.c_str() + space + 1) * 1000 / 1e6;
}

std::string Format3(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// Our file hash of MD5 alone, as the page computes it; "" when it failed.
std::string FileMd5(const std::string& path)
{
    ReportText report;
    QuietHashEvents events;
    FileHashEngine engine(report, events, HashChoice{false, false});
    if (engine.ComputeFileHash(path, {}) != HashOutcome::Done)
        return "";
    for (int line = 0; line < ReportText::kReportLines; ++line) {
        const std::string text = report.GetLine(line);
        if (text.rfind("MD5 Hash Value", 0) != 0)
            continue;
        const std::string next = report.GetLine(line + 1);
        std::size_t start = next.find_first_not_of(' ');
        std::size_t end = start;
        while (end < next.size() && std::isxdigit(static_cast<unsigned char>(next[end])))
            ++end;
        std::string hex = start == std::string::npos ? "" : next.substr(start, end - start);
        for (char& c : hex)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return hex;
    }
    return "";
}

// Minor page faults so far: of this process, or of its ended children.
long MinorFaults(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_minflt;
}

class TemporaryFile {
public:
    explicit TemporaryFile(const std::vector<char>& data)
    {
        const char* folder = std::getenv("TMPDIR");
        m_path = std::string(folder && *folder ? folder : "/tmp") + "/quenza-bench-hash-XXXXXX";
        const int fd = mkstemp(m_path.data());
        if (fd < 0) {
            m_path.clear();
            return;
        }
        std::size_t written = 0;
        while (written < data.size()) {
            const ssize_t n = write(fd, data.data() + written, data.size() - written);
            if (n <= 0)
                break;
            written += static_cast<std::size_t>(n);
        }
        if (close(fd) != 0 || written != data.size()) {
            unlink(m_path.c_str());
            m_path.clear();
        }
    }
    ~TemporaryFile()
    {
        if (!m_path.empty())
            unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t mebibytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024;
    std::vector<char> data(mebibytes << 20);
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (std::size_t i = 0; i + 8 <= data.size(); i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(data.data() + i, &state, 8);
    }
    const double bytes = static_cast<double>(data.size());
    std::printf("buffer %zu MiB; %s\n", mebibytes, DescribeHashKernels().c_str());

    const TemporaryFile file(data);
    if (file.Path().empty())
        std::printf("  cannot write the temporary file: no tool comparison\n");

    // The file hash and openssl dgst on the same file, taking turns in each
    // round (the machine may be shared); the rounds' ratios give the median.
    if (!file.Path().empty()) {
        const std::string quotedPath = "'" + file.Path() + "'";
        RunForDigest("cat " + quotedPath + " >/dev/null; echo 0");  // the cache warm for both
        std::printf("page cache: %s (%.0f%% of the file resident)\n", CacheState(file.Path()).c_str(),
                    ResidentPercent(file.Path()));
        const std::string expected = HashBuffer(kAlgorithms[0], data);
        std::vector<double> fileRatios;
        double oursBest = 1e300, toolBest = 1e300;
        long faults[2] = {0, 0};  // the last round's: ours, openssl's
        for (int run = 0; run < kRuns; ++run) {
            std::string digest;
            const long oursFaults = MinorFaults(RUSAGE_SELF);
            const double ours = Seconds([&] { digest = FileMd5(file.Path()); });
            faults[0] = MinorFaults(RUSAGE_SELF) - oursFaults;
            const long toolFaults = MinorFaults(RUSAGE_CHILDREN);
            const double tool = ToolSeconds("openssl dgst -md5 " + quotedPath, expected);
            faults[1] = MinorFaults(RUSAGE_CHILDREN) - toolFaults;
            if (digest != expected || tool <= 0) {
                std::printf("  file hash run %d: %s\n", run + 1, digest != expected ? "digest differs!" : "no tool");
                continue;
            }
            std::printf("  round %d: file hash %.0f MB/s, openssl dgst -md5 %.0f MB/s, ratio %.3f\n", run + 1,
                        bytes / ours / 1e6, bytes / tool / 1e6, tool / ours);
            fileRatios.push_back(tool / ours);
            oursBest = std::min(oursBest, ours);
            toolBest = std::min(toolBest, tool);
        }
        if (!fileRatios.empty()) {
            const double gibibytes = bytes / (1u << 30);
            std::printf("MD5 file: ours best %.0f MB/s, openssl dgst best %.0f MB/s; minor page faults per GiB: "
                        "ours %.0f, openssl dgst %.0f\n",
                        bytes / oursBest / 1e6, bytes / toolBest / 1e6, static_cast<double>(faults[0]) / gibibytes,
                        static_cast<double>(faults[1]) / gibibytes);
            std::printf("file_ratio MD5 %.3f\n", Median(fileRatios));
        }
    }

    // Each digest in memory against openssl's own in-memory figure; the
    // coreutils tools over the file for the record.
    const Algorithm* slowest = &kAlgorithms[0];
    double slowestSeconds = 0;
    std::vector<std::string> ratios;
    for (const Algorithm& algorithm : kAlgorithms) {
        const bool compare = *algorithm.openssl && !file.Path().empty();
        const std::string quotedPath = "'" + file.Path() + "'";
        std::string digest;
        double ours = 1e300, coreutils = 1e300;
        for (int run = 0; run < kRuns; ++run) {
            ours = std::min(ours, Seconds([&] { digest = HashBuffer(algorithm, data); }));
            if (compare && run < 2) {
                const double sum = ToolSeconds(std::string(algorithm.coreutils) + " " + quotedPath, digest);
                coreutils = sum < 0 ? 0 : std::min(coreutils, sum);
            }
        }
        if (ours > slowestSeconds) {
            slowestSeconds = ours;
            slowest = &algorithm;
        }
        const auto throughput = [&](double seconds) { return seconds > 0 ? bytes / seconds / 1e6 : 0.0; };
        std::printf("%-8s ours in memory %7.0f MB/s", algorithm.name, throughput(ours));
        if (!compare) {
            std::printf("\n");
            continue;
        }
        const double speed = OpensslSpeed(algorithm.openssl);
        std::printf("  openssl speed (in memory) %7.0f MB/s  %s (file) %7.0f MB/s\n", speed, algorithm.coreutils,
                    throughput(coreutils));
        ratios.push_back(std::string("memory_ratio ") + algorithm.name + " "
                         + (speed > 0 ? Format3(throughput(ours) / speed) : std::string("n/a")));
    }
    for (const std::string& line : ratios)
        std::printf("%s\n", line.c_str());

    // All six against the slowest alone, again taking turns.
    double allSix = 1e300, single = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        single = std::min(single, Seconds([&] { HashBuffer(*slowest, data); }));
        allSix = std::min(allSix, Seconds([&] {
                              MultiDigest digests(DIGEST_ALL);
                              digests.Update(data.data(), data.size());
                              digests.Finish();
                          }));
    }
    std::printf("all six %.3f s, slowest single (%s) %.3f s\n", allSix, slowest->name, single);
    std::printf("all_six_over_slowest %.3f\n", allSix / single);
    return 0;
}
