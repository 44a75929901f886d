// ISO creation of a 4.7 GB emulated disc (speed model off) whose blocks come
// from an image file, side by side with dd copying the same image file with
// the same flush to the disk, in the same round; the page cache is stated.
// Everything written is flushed before each run, and the two take turns in
// going first, so neither pays for the other's writes. Last line:
// ratio_vs_dd (dd's time / ours, the median of the pairs of rounds; 1 is as
// fast as dd). An argument gives the disc's size in GB instead.
#include "BenchCache.h"
#include "IsoBenchSupport.h"

#include "core/tools/iso/DriveBlockReader.h"
#include "core/tools/iso/IsoCreation.h"
#include "emu/BlockSource.h"
#include "platform/files/StagedFile.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    constexpr std::uint64_t kDvdBlocks = 2295104;  // 4.7 GB
    const double gigabytes = argc > 1 ? std::atof(argv[1]) : 0;
    const std::uint64_t blocks = gigabytes > 0 ? static_cast<std::uint64_t>(gigabytes * 1e9 / 2048) : kDvdBlocks;
    ScratchFolder scratch;
    const std::string source = scratch.File("disc.iso");
    {
        std::vector<std::uint8_t> buffer(std::size_t{512} * 2048);
        std::FILE* out = std::fopen(source.c_str(), "wb");
        bool ok = out != nullptr;
        for (std::uint64_t lba = 0; ok && lba < blocks; lba += 512) {
            const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(512, blocks - lba));
            for (std::size_t i = 0; i < count; ++i)
                emu::FillPatternBlock(lba + i, 2048, buffer.data() + i * 2048);
            ok = std::fwrite(buffer.data(), 2048, count, out) == count;
        }
        if (!out || std::fclose(out) != 0 || !ok) {
            std::fprintf(stderr, "cannot write %s\n", source.c_str());
            return 1;
        }
    }
    ::sync();  // the source's writing is not charged to the first run
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+rw");
    disc.imagePath = source;
    EmulatedCore bench(disc);
    const double megabytes = static_cast<double>(blocks) * 2048 / 1e6;
    std::printf("page cache: source image %s\n", CacheState(source).c_str());

    // The disk is shared: ours and dd take turns, each first in every other round.
    const std::string ours = scratch.File("ours.iso");
    const std::string copy = scratch.File("dd.iso");
    std::vector<double> oursTimes, ddTimes;
    const auto createIso = [&]() -> double {
        std::filesystem::remove(ours);
        ::sync();
        SilentEvents events;
        std::atomic<int> running{0};
        DriveBlockReader reader(bench.core->m_Drives, bench.core->m_Report);
        const auto start = std::chrono::steady_clock::now();
        const IsoCreationEnd end = IsoCreation(reader, events, running).DoCreateISO({ours, FreeBytesForFile});
        const double seconds = SecondsSince(start);
        std::filesystem::remove(ours);  // the disk holds one copy at a time
        if (end != IsoCreationEnd::Complete) {
            std::fprintf(stderr, "the ISO creation failed: %s\n", events.lastBox.c_str());
            return -1;
        }
        return seconds;
    };
    const auto ddCopy = [&]() -> double {
        std::filesystem::remove(copy);
        ::sync();
        const auto start = std::chrono::steady_clock::now();
        const std::string command = "dd if='" + source + "' of='" + copy + "' bs=1M conv=fdatasync status=none";
        const bool done = std::system(command.c_str()) == 0;
        const double seconds = SecondsSince(start);
        std::filesystem::remove(copy);
        if (!done) {
            std::fprintf(stderr, "dd failed\n");
            return -1;
        }
        return seconds;
    };
    const auto show = [&](int round, double oursSeconds, double ddSeconds) {
        std::printf("round %d (%s first): iso_creation_s %.2f (%.0f MB/s), dd_s %.2f (%.0f MB/s), ratio %.2f\n",
                    round + 1, round % 2 == 0 ? "ours" : "dd", oursSeconds, megabytes / oursSeconds, ddSeconds,
                    megabytes / ddSeconds, ddSeconds / oursSeconds);
    };
    if (!TimeInTurns(4, createIso, ddCopy, show, oursTimes, ddTimes))
        return 1;
    std::printf("disc_mb %.0f\n", megabytes);
    std::printf("ratio_vs_dd %.2f\n", Median(PairRatios(oursTimes, ddTimes)));
    return 0;
}
