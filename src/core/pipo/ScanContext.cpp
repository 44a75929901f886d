#include "core/pipo/ScanContext.h"

#include "core/drive/DriveContext.h"

ScanContext::ScanContext(DriveContext& driveAccess, ScanSink& scanSink, UserPrompt& userPrompt,
                         std::atomic<int>& runningFlag) :
    drive(driveAccess), g_bErrorTestRunning(runningFlag), sink(scanSink), prompt(userPrompt)
{
}

WaitClock& ScanContext::Clock() const
{
    return drive.mmc.GetWaitClock();
}
