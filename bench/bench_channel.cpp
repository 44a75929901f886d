// READ(10) of 32 blocks through the command channel on an emulated drive:
// the rate every later tool can be measured against.
#include "core/drive/Device.h"
#include "core/drive/ScsiCommand.h"
#include "emu/EmulatedDrive.h"
#include "platform/passthrough/EmulatedPassThrough.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

constexpr std::uint16_t kBlocks = 32;
constexpr std::uint32_t kBlockSize = 2048;
constexpr std::uint32_t kDiscBlocks = 2000000;

double g_commandsPerSecond = 0;

void ReadThroughChannel(benchmark::State& state)
{
    std::string error;
    auto drive = emu::MakeEmulatedDrive("dvd-writer", "dvd-rom", std::make_shared<emu::ManualClock>(), &error);
    auto opener = std::make_shared<EmulatedDeviceOpener>();
    opener->Add("emu0", drive);
    CScsiCommand channel(opener);
    CDevice device;
    device.m_strDriveText = "emu0";
    CDevice* current = &device;
    channel.FollowCurrentDevice(&current);
    std::vector<std::uint8_t> buffer(kBlocks * kBlockSize);
    std::uint32_t lba = 0;
    for (auto _ : state) {
        *channel.Cdb(0) = 0x28;
        *channel.Cdb(1) = 0;
        *channel.Cdb(2) = static_cast<std::uint8_t>(lba >> 24);
        *channel.Cdb(3) = static_cast<std::uint8_t>(lba >> 16);
        *channel.Cdb(4) = static_cast<std::uint8_t>(lba >> 8);
        *channel.Cdb(5) = static_cast<std::uint8_t>(lba);
        *channel.Cdb(6) = 0;
        *channel.Cdb(7) = 0;
        *channel.Cdb(8) = kBlocks;
        *channel.Cdb(9) = 0;
        if (channel.Execute(DataDirection::In, buffer.data(), static_cast<std::uint32_t>(buffer.size())) != 0) {
            state.SkipWithError("READ(10) failed");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
        lba = (lba + kBlocks) % (kDiscBlocks - kBlocks);
    }
    state.counters["commands_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                               benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kBlocks * kBlockSize);
}
BENCHMARK(ReadThroughChannel)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Passes results on to the console and keeps the rate for the last line.
class RateReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (const auto found = run.counters.find("commands_per_second"); found != run.counters.end())
                g_commandsPerSecond = found->second.value;
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("commands_per_second %.0f\n", g_commandsPerSecond);
    return 0;
}
