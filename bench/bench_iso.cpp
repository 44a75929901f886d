// ISO creation of a 4.7 GB emulated disc (generated blocks, no speed model)
// against dd copying the same image file with the same flush to the disk,
// in one run, two rounds each (the best of each counts). Last line:
// ratio_vs_dd (dd's time / ours; 1 is as fast as dd).
// An argument gives the disc's size in GB instead.
#include "IsoBenchSupport.h"

#include "core/tools/iso/DriveBlockReader.h"
#include "core/tools/iso/IsoCreation.h"
#include "platform/files/StagedFile.h"

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    constexpr std::uint64_t kDvdBlocks = 2295104;  // 4.7 GB
    const double gigabytes = argc > 1 ? std::atof(argv[1]) : 0;
    const std::uint64_t blocks = gigabytes > 0 ? static_cast<std::uint64_t>(gigabytes * 1e9 / 2048) : kDvdBlocks;
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+rw");
    disc.capacityBlocks = blocks;
    EmulatedCore bench(disc);
    const double megabytes = static_cast<double>(blocks) * 2048 / 1e6;

    // The disk is shared: two rounds, each tool's best counts.
    ScratchFolder scratch;
    const std::string ours = scratch.File("ours.iso");
    const std::string copy = scratch.File("dd.iso");
    double bestOurs = 1e30;
    double bestDd = 1e30;
    for (int round = 0; round < 2; ++round) {
        std::filesystem::remove(ours);
        std::filesystem::remove(copy);
        SilentEvents events;
        std::atomic<int> running{0};
        DriveBlockReader reader(bench.core->m_Drives, bench.core->m_Report);
        const auto start = std::chrono::steady_clock::now();
        const IsoCreationEnd end = IsoCreation(reader, events, running).DoCreateISO({ours, FreeBytesForFile});
        const double oursSeconds = SecondsSince(start);
        if (end != IsoCreationEnd::Complete) {
            std::fprintf(stderr, "the ISO creation failed: %s\n", events.lastBox.c_str());
            return 1;
        }
        const auto ddStart = std::chrono::steady_clock::now();
        const std::string command = "dd if='" + ours + "' of='" + copy + "' bs=1M conv=fdatasync status=none";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "dd failed\n");
            return 1;
        }
        const double ddSeconds = SecondsSince(ddStart);
        std::printf("round %d: iso_creation_s %.2f (%.0f MB/s), dd_s %.2f (%.0f MB/s)\n", round + 1, oursSeconds,
                    megabytes / oursSeconds, ddSeconds, megabytes / ddSeconds);
        bestOurs = std::min(bestOurs, oursSeconds);
        bestDd = std::min(bestDd, ddSeconds);
    }
    std::printf("disc_mb %.0f\n", megabytes);
    std::printf("ratio_vs_dd %.2f\n", bestDd / bestOurs);
    return 0;
}
