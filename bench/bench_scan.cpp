// A whole single-layer DVD+R (4.7 GB) scanned by the Lite-On engine on the
// emulated drive, its clock virtual: what the program itself costs beside
// the drive's minutes. Beside it the same error reads (the same count, 16
// bytes each) sent in a plain loop. The two take turns, each first in every
// other round. Prints scan_ms and plain_ms (medians) and, last,
// scan_to_plain_reads (the scan's time over the loop's, the median of the
// pairs of rounds).
#include "BenchCache.h"
#include "IsoBenchSupport.h"
#include "core/base/UserPrompt.h"
#include "core/base/WaitClock.h"
#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/engines/ScanEngine.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "support/QuietScanSink.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr std::uint64_t kFullDiscBlocks = 2295104;
constexpr int kRounds = 20;

// Waits move the emulated drive's clock on instead of passing.
class VirtualClock : public WaitClock {
public:
    explicit VirtualClock(std::shared_ptr<emu::ManualClock> clock) : m_clock(std::move(clock)) {}
    std::uint64_t NowMs() const override { return m_clock->NowMs(); }
    void SleepMs(std::uint32_t milliseconds) override { m_clock->Advance(milliseconds); }

private:
    std::shared_ptr<emu::ManualClock> m_clock;
};

struct OkPrompt : UserPrompt {
    int MessageBox(const std::string&, const std::string&, unsigned) override { return 1; }
};

emu::MediumDescription FullDisc()
{
    emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
    disc.capacityBlocks = kFullDiscBlocks;
    disc.totalBlocks = kFullDiscBlocks;
    disc.tracks.front().blocks = static_cast<std::uint32_t>(kFullDiscBlocks);
    return disc;
}

// The Lite-On drive with a full disc as the current drive, on a virtual clock.
struct ScanBench {
    ScanBench()
    {
        std::string error;
        drive = emu::MakeEmulatedDrive("liteon", "none", clock, &error);
        if (!drive || !drive->InsertMedium(FullDisc(), &error))
            throw std::runtime_error(error);
        DriveSources sources;
        sources.sysBlockRoot = machine.File("sys");
        sources.devRoot = machine.File("dev");
        sources.watchIntervalMs = 0;
        sources.emulated = {{"emu0", drive}};
        drives = std::make_unique<DriveContext>(std::move(sources));
        if (!drives->list.FillDeviceComboList())
            throw std::runtime_error("the emulated drive is not listed");
        drives->list.SetDeviceComboSel(0);
        drives->list.OnSelchangeDevicescombo();
        drives->list.m_pCurrentDevice->m_bDvdDrive = 1;
        drives->mmc.SetWaitClock(std::make_shared<VirtualClock>(clock));
        scan = std::make_unique<ScanContext>(*drives, sink, prompt, running);
        scan->m_pUpperGraph = &upper;
        scan->m_pLowerGraph = &lower;
        scan->state.m_llEndLba = static_cast<std::int64_t>(kFullDiscBlocks) - 1;
    }

    ScratchFolder machine;
    std::shared_ptr<emu::ManualClock> clock = std::make_shared<emu::ManualClock>();
    std::shared_ptr<emu::EmulatedDrive> drive;
    std::unique_ptr<DriveContext> drives;
    QuietScanSink sink;
    OkPrompt prompt;
    std::atomic<int> running{0};
    PiPoUpperGraph upper;
    PiPoLowerGraph lower;
    std::unique_ptr<ScanContext> scan;
};

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The engine over the whole disc; negative when it did not reach the end.
double FullScanMs()
{
    ScanBench bench;
    const auto start = std::chrono::steady_clock::now();
    ScanLiteon(*bench.scan);
    const double ms = MillisecondsSince(start);
    return bench.upper.GetPointCount() < 430 ? -1 : ms;
}

// The same error reads, one after another, without the engine.
double PlainReadsMs()
{
    ScanBench bench;
    std::array<std::uint8_t, 16> reply{};  // as the engine reads them
    const auto start = std::chrono::steady_clock::now();
    for (std::uint64_t block = 0; block < kFullDiscBlocks / 16; ++block)
        bench.drives->liteon.LiteonReadErrorData(reply.data(), static_cast<std::uint32_t>(reply.size()));
    return MillisecondsSince(start);
}

}  // namespace

int main()
{
    std::vector<double> scans, plains;
    for (int round = 0; round < kRounds; ++round) {
        double scan = 0, plain = 0;
        TakeTurns(
            round, [&] { scan = FullScanMs(); }, [&] { plain = PlainReadsMs(); });
        if (scan < 0) {
            std::fprintf(stderr, "the scan did not reach the end of the disc\n");
            return 1;
        }
        std::printf("round %d (%s first): scan_ms %.0f, plain_ms %.0f\n", round + 1, round % 2 == 0 ? "scan" : "plain",
                    scan, plain);
        scans.push_back(scan);
        plains.push_back(plain);
    }
    std::printf("scan_ms %.0f\n", Median(scans));
    std::printf("plain_ms %.0f\n", Median(plains));
    std::printf("scan_to_plain_reads %.2f\n", Median(PairRatios(plains, scans)));
    return 0;
}
