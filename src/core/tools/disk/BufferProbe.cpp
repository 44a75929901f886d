#include "core/tools/disk/BufferProbe.h"

#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "platform/blockio/BlockDevice.h"

#include <algorithm>

void ShowAllocationFailure()
{
    AppMessageBox("Fatal error trying to allocated buffer memory", "Fatal Error", MB_OK | MB_ICONERROR);
}

bool ProbeBufferSize(BlockDevice& device, std::uint64_t bytes, int* allocationFailures)
{
    AlignedBuffer buffer(static_cast<std::size_t>(bytes));
    if (!buffer) {
        if (allocationFailures)
            ++*allocationFailures;
        else
            ShowAllocationFailure();
        return false;
    }
    const BlockIo io = device.ReadAt(0, buffer.Data(), buffer.Size());
    return io.Ok() && io.bytes > 0;
}

int ProbeBufferSizes(BlockDevice* device, int* allocationFailures)
{
    if (device == nullptr)
        return 1;
    int steps = 8;
    for (std::uint64_t size = kProbeStartBytes; size > 0; size -= kProbeStepBytes) {
        if (ProbeBufferSize(*device, size, allocationFailures))
            break;
        --steps;
    }
    return std::max(steps, 1);
}
