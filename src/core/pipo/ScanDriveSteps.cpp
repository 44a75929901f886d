#include "core/pipo/ScanDriveSteps.h"

#include "core/drive/CommandBlock.h"
#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanSink.h"
#include "scsi/Opcodes.h"

#include <vector>

namespace {

constexpr int kReadyBoundSeconds = 60;
constexpr int kPreSpinReads = 50;
constexpr std::uint32_t kPreSpinSectors = 25;
constexpr std::uint32_t kSectorBytes = 2048;
constexpr std::uint8_t kForceUnitAccess = 0x08;

}  // namespace

int WaitForUnitReady(ScanContext& context, int seconds)
{
    if (context.drive.mmc.WaitForUnitReady(seconds) == 0)
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
    CScsiCommand& channel = context.drive.m_ScsiCommand;
    const std::uint32_t speed = (std::uint32_t{speedHigh} << 8) | speedLow;
    CommandBlock(mmc::kSetCdSpeed)
        .SetBe16(2, speed)
        .SetBe16(4, speed)
        .Execute(channel, DataDirection::None, nullptr, 0);
    PollUntilReady(context);
    std::vector<std::uint8_t> buffer(kPreSpinSectors * kSectorBytes);
    int result = 0;
    for (int read = 0; read < kPreSpinReads; ++read) {
        const std::uint32_t b = static_cast<std::uint32_t>(read * kPreSpinSectors + 100) % 256;
        result = CommandBlock(mmc::kRead10)
                     .Set(1, kForceUnitAccess)
                     .SetBe32(2, (b << 8) | b)
                     .SetBe16(7, kPreSpinSectors)
                     .Execute(channel, DataDirection::In, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    }
    return result;
}

int LockTray(ScanContext& context, bool lock)
{
    return context.drive.mmc.PreventMediumRemoval(lock ? 1 : 0);
}
