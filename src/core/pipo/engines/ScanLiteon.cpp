#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanLoop.h"

void ScanLiteon(ScanContext& context)
{
    CommonScanSteps steps;
    steps.readErrors = [&](std::uint8_t* reply, std::uint32_t length) {
        return context.drive.liteon.LiteonReadErrorData(reply, length);
    };
    steps.replyLength = 16;  // as byte 8 of the read asks
    steps.countedReadsPerGroup = 8;
    steps.preSpins = 2;
    RunCommonScan(context, steps);
}
