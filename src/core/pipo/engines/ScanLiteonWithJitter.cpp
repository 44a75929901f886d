#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanLoop.h"

void ScanLiteonWithJitter(ScanContext& context)
{
    CommonScanSteps steps;
    steps.readErrors = [&](std::uint8_t* reply, std::uint32_t length) {
        return context.drive.liteon.LiteonReadErrorData(reply, length);
    };
    steps.replyLength = 16;  // as byte 8 of the read asks
    steps.countedReadsPerGroup = 4;
    steps.preSpins = 1;
    steps.jitter = true;
    RunCommonScan(context, steps);
}
