// A whole single-layer DVD+R (4.7 GB) scanned by the Lite-On engine on the
// emulated drive, its clock virtual: what the program itself costs beside
// the drive's minutes. Beside it the same error reads sent in a plain loop.
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

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>

namespace {

constexpr std::uint64_t kFullDiscBlocks = 2295104;

double g_scanMs = 0;
double g_plainMs = 0;

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

void FullScan(benchmark::State& state)
{
    std::unique_ptr<ScanBench> bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.reset();
        bench = std::make_unique<ScanBench>();
        state.ResumeTiming();
        ScanLiteon(*bench->scan);
        if (bench->upper.GetPointCount() < 430) {
            state.SkipWithError("the scan did not reach the end of the disc");
            break;
        }
    }
}
BENCHMARK(FullScan)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same error reads, one after another, without the engine.
void PlainReads(benchmark::State& state)
{
    std::unique_ptr<ScanBench> bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.reset();
        bench = std::make_unique<ScanBench>();
        state.ResumeTiming();
        std::array<std::uint8_t, 16> reply{};
        for (std::uint64_t block = 0; block < kFullDiscBlocks / 16; ++block)
            bench->drives->liteon.LiteonReadErrorData(reply.data(), 10);
        benchmark::DoNotOptimize(reply.data());
    }
}
BENCHMARK(PlainReads)->Unit(benchmark::kMillisecond)->Iterations(3);

// Passes results on to the console and keeps the times for the last lines.
class TimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const double ms = run.GetAdjustedRealTime();
            if (run.benchmark_name().rfind("FullScan", 0) == 0)
                g_scanMs = ms;
            else if (run.benchmark_name().rfind("PlainReads", 0) == 0)
                g_plainMs = ms;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_plainMs > 0)
        std::printf("scan_to_plain_reads %.2f\n", g_scanMs / g_plainMs);
    std::printf("scan_ms %.0f\n", g_scanMs);
    return 0;
}
