#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanLoop.h"

void ScanSamsung(ScanContext& context)
{
    CommonScanSteps steps;
    steps.readErrors = [&](std::uint8_t* reply, std::uint32_t length) {
        return context.drive.samsung.SamsungReadErrorData(reply, length).value;
    };
    steps.replyLength = 16;
    steps.countedReadsPerGroup = 8;
    steps.preSpins = 2;
    steps.waitsAfterSeek = true;
    RunCommonScan(context, steps);
}
