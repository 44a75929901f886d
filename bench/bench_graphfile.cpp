// Loading a write-graph file of 100,000 samples from disk, as the viewer does
// when a file is opened. Target: well under 100 ms. Last line: "load_ms N".

#include "core/graphs/WriteGraphFile.h"
#include "platform/files/SafeFile.h"
#include "support/WriteGraphFixture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kSamples = 100000;

std::string g_path;

void BM_LoadGraphFile(benchmark::State& state)
{
    for (auto _ : state) {
        WriteGraphFile file;
        if (file.LoadGraphFile(g_path) != 0 || file.Graph().writeSamples.size() != kSamples) {
            state.SkipWithError("the file did not load");
            break;
        }
        benchmark::DoNotOptimize(file.Graph().writeSamples.data());
    }
}
BENCHMARK(BM_LoadGraphFile)->Unit(benchmark::kMillisecond);

// Keeps the time of a load while printing as usual.
class LoadTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                loadMs = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double loadMs = -1;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path()
        / ("quenza-bench-graphfile-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    g_path = (folder / "large.ibg").string();
    std::string error;
    if (!WriteFileAtomically(g_path, WriteGraphFixture::Dvd(kSamples).Text(), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    LoadTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    std::printf("load_ms %.2f\n", reporter.loadMs);
    return reporter.loadMs < 0 ? 1 : 0;
}
