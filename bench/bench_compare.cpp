// Disc against image compare on an emulated DVD (speed model off) whose
// blocks come from one image file, compared with a copy of it, so every byte
// is compared and the two are identical; side by side with `cmp` over the
// same two files in the same round, each first in every other round, the
// page cache stated (both files were just written and flushed). Last line:
// ratio_vs_cmp (cmp's time / ours, the median of the pairs of rounds). An
// argument gives the disc's size in GB (default 4.7).
#include "BenchCache.h"
#include "IsoBenchSupport.h"

#include "core/tools/iso/DiscCompare.h"
#include "core/tools/iso/DriveBlockReader.h"
#include "emu/BlockSource.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

bool WritePatternImage(const std::string& path, std::uint64_t blocks)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    constexpr std::uint32_t kChunk = 512;
    std::vector<std::uint8_t> buffer(std::size_t{kChunk} * 2048);
    bool ok = true;
    for (std::uint64_t lba = 0; ok && lba < blocks; lba += kChunk) {
        const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunk, blocks - lba));
        for (std::uint32_t i = 0; i < count; ++i)
            emu::FillPatternBlock(lba + i, 2048, buffer.data() + std::size_t{i} * 2048);
        ok = ::write(fd, buffer.data(), std::size_t{count} * 2048) == static_cast<ssize_t>(std::size_t{count} * 2048);
    }
    return ::close(fd) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const double gigabytes = argc > 1 ? std::atof(argv[1]) : 4.7;
    const auto blocks = static_cast<std::uint64_t>(gigabytes * 1e9 / 2048);
    ScratchFolder scratch;
    const std::string image = scratch.File("disc.iso");
    if (!WritePatternImage(image, blocks)) {
        std::fprintf(stderr, "cannot write %s\n", image.c_str());
        return 1;
    }
    const std::string copy = scratch.File("copy.iso");
    if (std::system(("cp '" + image + "' '" + copy + "'").c_str()) != 0) {
        std::fprintf(stderr, "cannot copy %s\n", image.c_str());
        return 1;
    }
    ::sync();  // the writing is not charged to the first run
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+rw");
    disc.imagePath = image;
    EmulatedCore bench(disc);
    const double megabytes = static_cast<double>(blocks) * 2048 / 1e6;
    std::printf("page cache: disc image %s, copy %s\n", CacheState(image).c_str(), CacheState(copy).c_str());

    // The machine may be shared: ours and cmp take turns, each first in every other round.
    std::vector<double> oursTimes, cmpTimes;
    const auto compare = [&]() -> double {
        SilentEvents events;
        std::atomic<int> running{0};
        DriveBlockReader reader(bench.core->m_Drives, bench.core->m_Report);
        const auto start = std::chrono::steady_clock::now();
        const CompareEnd end = DiscCompare(reader, events, running).DoISOCompare(copy);
        const double seconds = SecondsSince(start);
        if (end != CompareEnd::Identical) {
            std::fprintf(stderr, "the compare did not end identical: %s %s\n", events.lastBox.c_str(),
                         events.lastLine.c_str());
            return -1;
        }
        return seconds;
    };
    const auto cmp = [&]() -> double {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(("cmp -s '" + image + "' '" + copy + "'").c_str()) != 0) {
            std::fprintf(stderr, "cmp failed\n");
            return -1;
        }
        return SecondsSince(start);
    };
    const auto show = [&](int round, double seconds, double cmpSeconds) {
        std::printf("round %d (%s first): compare %.2f s (%.0f MB/s), cmp %.2f s (%.0f MB/s), ratio %.2f\n", round + 1,
                    round % 2 == 0 ? "ours" : "cmp", seconds, megabytes / seconds, cmpSeconds, megabytes / cmpSeconds,
                    cmpSeconds / seconds);
    };
    if (!TimeInTurns(4, compare, cmp, show, oursTimes, cmpTimes))
        return 1;
    std::printf("compared_mb %.0f\n", megabytes);
    std::printf("ratio_vs_cmp %.2f\n", Median(PairRatios(oursTimes, cmpTimes)));
    return 0;
}
