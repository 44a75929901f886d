// Hash throughput, side by side with the best tool on the machine doing the
// same work on the same source in the same round:
// - the file hash (MD5) against `openssl dgst -md5` reading the same file,
//   the page cache warm for both (the file is read once before the rounds;
//   the output says how much of it is resident), each going first every
//   other round;
// - each of the six digests in memory against libcrypto's (EVP, the
//   algorithm by name as the openssl tool takes it, and fetched from its
//   provider beforehand, libcrypto's faster way and the peer of the ratio)
//   in this process: whole digests of one 16 KiB buffer
//   in hex, the sides taking turns in short slices timed on the same clock
//   (the first side changing every round), so that a busy machine slows
//   them alike;
// - all six digests at once against the slowest single digest.
//
// Usage: bench_hash [MiB]   (default 1024: the file and the all-six buffer)
// Prints "file_ratio MD5 <ours/openssl dgst throughput>" (the median of the
// rounds' ratios), "memory_ratio <algorithm> <ours/libcrypto>" (the median of
// the rounds' ratios against the pre-fetched algorithm) for all six; the last line is
// "all_six_over_slowest <factor>".

#include "BenchCache.h"
#include "core/base/ReportText.h"
#include "core/tools/hash/FileHashEngine.h"
#include "core/tools/hash/HashKernelSelect.h"
#include "core/tools/hash/HashSupport.h"
#include "core/tools/hash/MD5Context.h"
#include "core/tools/hash/MultiDigest.h"
#include "core/tools/hash/SHAHash.h"
#include "HashBenchSupport.h"

#include <openssl/evp.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;

constexpr int kSliceRounds = 31;
constexpr std::size_t kSliceBuffer = 16384;

struct Algorithm {
    const char* name;
    DigestKind kind;
    const char* libcrypto;  // EVP name
    const char* coreutils;  // coreutils tool, "" when not compared
};

const Algorithm kAlgorithms[] = {
    {"MD5", DIGEST_MD5, "MD5", "md5sum"},     {"SHA-1", DIGEST_SHA1, "SHA1", "sha1sum"},
    {"SHA-224", DIGEST_SHA224, "SHA224", ""}, {"SHA-256", DIGEST_SHA256, "SHA256", "sha256sum"},
    {"SHA-384", DIGEST_SHA384, "SHA384", ""}, {"SHA-512", DIGEST_SHA512, "SHA512", "sha512sum"},
};

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Hash(const Algorithm& algorithm, const char* data, std::size_t size)
{
    // The classes take unsigned lengths: feed in 1 GiB calls.
    constexpr std::size_t kCall = 1u << 30;
    if (algorithm.kind == DIGEST_MD5) {
        MD5Context md5;
        for (std::size_t at = 0; at < size; at += kCall)
            md5.Update(data + at, static_cast<unsigned>(std::min(kCall, size - at)));
        md5.Final();
        return MD5DigestToHex(md5.digest).get();
    }
    const SHA_TYPE types[] = {SHA_TYPE_1, SHA_TYPE_224, SHA_TYPE_256, SHA_TYPE_384, SHA_TYPE_512};
    SHAHash sha;
    sha.Init(types[std::countr_zero(static_cast<unsigned>(algorithm.kind)) - 1]);
    for (std::size_t at = 0; at < size; at += kCall)
        sha.Update(data + at, static_cast<unsigned>(std::min(kCall, size - at)));
    return sha.Finish();
}

std::string HashBuffer(const Algorithm& algorithm, const std::vector<char>& data)
{
    return Hash(algorithm, data.data(), data.size());
}

// libcrypto's digest through EVP: as applications and the openssl tool call
// it (the algorithm by name, EVP_get_digestbyname), or with the algorithm
// fetched from its provider once beforehand (EVP_MD_fetch), which spares
// each digest a look-up.
class LibcryptoDigest {
public:
    LibcryptoDigest(const char* name, bool prefetched) :
        m_fetched(prefetched ? EVP_MD_fetch(nullptr, name, nullptr) : nullptr),
        m_md(prefetched ? m_fetched : EVP_get_digestbyname(name)),
        m_context(EVP_MD_CTX_new())
    {
        if (!m_md || !m_context)
            throw std::runtime_error(std::string("libcrypto has no ") + name);
    }
    ~LibcryptoDigest()
    {
        EVP_MD_CTX_free(m_context);
        EVP_MD_free(m_fetched);
    }
    LibcryptoDigest(const LibcryptoDigest&) = delete;
    LibcryptoDigest& operator=(const LibcryptoDigest&) = delete;

    // The digest in hex, as ours gives it; "" when libcrypto failed.
    std::string Hex(const char* data, std::size_t size)
    {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned length = 0;
        if (EVP_DigestInit_ex(m_context, m_md, nullptr) != 1 || EVP_DigestUpdate(m_context, data, size) != 1
            || EVP_DigestFinal_ex(m_context, digest, &length) != 1)
            return "";
        char hex[2 * EVP_MAX_MD_SIZE + 1];
        hash_kernels::BytesToHex(digest, length, hex);
        return hex;
    }

private:
    EVP_MD* m_fetched;
    const EVP_MD* m_md;
    EVP_MD_CTX* m_context;
};

struct MemoryFigures {
    double oursMbps = 0;  // medians of the slices
    double byNameMbps = 0;
    double byNameRatio = 0;  // median of the rounds' ratios
    double prefetchedMbps = 0;
    double ratio = 0;  // against the pre-fetched algorithm, libcrypto's faster way
};

// Whole digests of one 16 KiB buffer in hex: ours, libcrypto's and
// libcrypto's with the algorithm fetched beforehand, in turns: a round is
// one slice of each, the first of them changing every round. A slice is as
// many digests as take about 20 ms.
MemoryFigures InMemory(const Algorithm& algorithm, const std::vector<char>& data)
{
    const char* buffer = data.data();
    LibcryptoDigest byName(algorithm.libcrypto, false);
    LibcryptoDigest prefetched(algorithm.libcrypto, true);
    const std::string expected = Hash(algorithm, buffer, kSliceBuffer);
    if (byName.Hex(buffer, kSliceBuffer) != expected || prefetched.Hex(buffer, kSliceBuffer) != expected)
        throw std::runtime_error(std::string(algorithm.name) + ": the digests differ");
    std::string sink;
    int digests = 8;
    const std::function<void()> sides[3] = {
        [&] {
            for (int i = 0; i < digests; ++i)
                sink = Hash(algorithm, buffer, kSliceBuffer);
        },
        [&] {
            for (int i = 0; i < digests; ++i)
                sink = byName.Hex(buffer, kSliceBuffer);
        },
        [&] {
            for (int i = 0; i < digests; ++i)
                sink = prefetched.Hex(buffer, kSliceBuffer);
        },
    };
    while (Seconds(sides[0]) < 0.02 && digests < (1 << 20))
        digests *= 2;
    std::vector<double> speeds[3], byNameRatios, prefetchedRatios;
    const double bytes = static_cast<double>(digests) * kSliceBuffer;
    for (int round = 0; round < kSliceRounds; ++round) {
        double seconds[3];
        for (int turn = 0; turn < 3; ++turn) {
            const int side = (round + turn) % 3;
            seconds[side] = Seconds(sides[side]);
        }
        for (int side = 0; side < 3; ++side)
            speeds[side].push_back(bytes / seconds[side] / 1e6);
        byNameRatios.push_back(seconds[1] / seconds[0]);
        prefetchedRatios.push_back(seconds[2] / seconds[0]);
    }
    return {Median(speeds[0]), Median(speeds[1]), Median(byNameRatios), Median(speeds[2]), Median(prefetchedRatios)};
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
            double ours = 0, tool = 0;
            const auto runOurs = [&] {
                const long before = MinorFaults(RUSAGE_SELF);
                ours = Seconds([&] { digest = FileMd5(file.Path()); });
                faults[0] = MinorFaults(RUSAGE_SELF) - before;
            };
            const auto runTool = [&] {
                const long before = MinorFaults(RUSAGE_CHILDREN);
                tool = ToolSeconds("openssl dgst -md5 " + quotedPath, expected);
                faults[1] = MinorFaults(RUSAGE_CHILDREN) - before;
            };
            TakeTurns(run, runOurs, runTool);
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
            std::printf("MD5 file: ours best %.0f MB/s, openssl dgst best %.0f MB/s; minor page faults of one run "
                        "over the %zu MiB file: ours %ld, openssl dgst %ld\n",
                        bytes / oursBest / 1e6, bytes / toolBest / 1e6, mebibytes, faults[0], faults[1]);
            std::printf("file_ratio MD5 %.3f\n", Median(fileRatios));
        }
    }

    // Each digest in memory against libcrypto's in this process; the
    // coreutils tools over the file for the record.
    const Algorithm* slowest = &kAlgorithms[0];
    double slowestSpeed = 1e300;
    std::vector<std::string> ratios;
    for (const Algorithm& algorithm : kAlgorithms) {
        const MemoryFigures figures = InMemory(algorithm, data);
        if (figures.oursMbps < slowestSpeed) {
            slowestSpeed = figures.oursMbps;
            slowest = &algorithm;
        }
        std::printf(
            "%-8s in memory: ours %7.0f MB/s, libcrypto pre-fetched %7.0f MB/s, by name %7.0f MB/s (ours/that %.3f)",
            algorithm.name, figures.oursMbps, figures.prefetchedMbps, figures.byNameMbps, figures.byNameRatio);
        if (*algorithm.coreutils && !file.Path().empty()) {
            const std::string expected = HashBuffer(algorithm, data);
            const double seconds = ToolSeconds(std::string(algorithm.coreutils) + " '" + file.Path() + "'", expected);
            if (seconds > 0)
                std::printf("; %s over the file %7.0f MB/s", algorithm.coreutils, bytes / seconds / 1e6);
        }
        std::printf("\n");
        ratios.push_back(std::string("memory_ratio ") + algorithm.name + " " + Format3(figures.ratio));
    }
    for (const std::string& line : ratios)
        std::printf("%s\n", line.c_str());

    // All six against the slowest alone, taking turns; the rounds' ratios
    // give the median.
    std::vector<double> allSixRatios;
    double allSix = 1e300, single = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        double one = 0, six = 0;
        const auto runSingle = [&] { one = Seconds([&] { HashBuffer(*slowest, data); }); };
        const auto runSix = [&] {
            six = Seconds([&] {
                MultiDigest digests(DIGEST_ALL);
                digests.Update(data.data(), data.size());
                digests.Finish();
            });
        };
        TakeTurns(run, runSingle, runSix);
        allSixRatios.push_back(six / one);
        allSix = std::min(allSix, six);
        single = std::min(single, one);
    }
    std::printf("all six best %.3f s, slowest single (%s) best %.3f s\n", allSix, slowest->name, single);
    std::printf("all_six_over_slowest %.3f\n", Median(allSixRatios));
    return 0;
}
