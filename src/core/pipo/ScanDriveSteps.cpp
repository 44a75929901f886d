#include "core/pipo/ScanDriveSteps.h"

#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanSink.h"

#include <vector>

namespace {

constexpr int kReadyBoundSeconds = 60;
constexpr int kPreSpinReads = 50;
constexpr std::uint32_t kPreSpinSectors = 25;
constexpr std::uint32_t kSectorBytes = 2048;

}  // namespace

int WaitForUnitReady(ScanContext& context, int seconds)
{
    std::atomic<int>& running = context.g_bErrorTestRunning;
    if (context.drive.mmc.WaitForUnitReady(seconds, running != 0 ? &running : nullptr) == 0)
        return 0;
    context.sink.SetStatus("Timeout waiting for unit");
    return 1;
}

int PollUntilReady(ScanContext& context)
{
    return context.drive.mmc.WaitForUnitReady(kReadyBoundSeconds);
}

int PreSpin(ScanContext& context, std::uint8_t speedHigh, std::uint8_t speedLow)
{
    context.sink.SetStatus("Pre-Spin up...");
    const auto speed = static_cast<std::uint16_t>((speedHigh << 8) | speedLow);
    context.drive.mmc.SetCdSpeedKBps(speed, speed);
    PollUntilReady(context);
    std::vector<std::uint8_t> buffer(kPreSpinSectors * kSectorBytes);
    int result = 0;
    for (int read = 0; read < kPreSpinReads; ++read) {
        const std::uint32_t b = static_cast<std::uint32_t>(read * kPreSpinSectors + 100) % 256;
        result = context.drive.reads.Read10((b << 8) | b, kPreSpinSectors, buffer, kForceUnitAccess).ok ? 0 : 1;
    }
    return result;
}

int LockTray(ScanContext& context, bool lock)
{
    return context.drive.mmc.PreventMediumRemoval(lock ? 1 : 0);
}
