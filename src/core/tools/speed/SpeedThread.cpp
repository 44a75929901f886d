#include "core/tools/speed/SpeedThread.h"

#include "core/base/LogFile.h"
#include "core/tools/speed/SpeedTest.h"
#include "core/tools/testpage/DiscFacts.h"

int SpeedThread(SpeedTest* test)
{
    if (!test) {
        LogEntry("SpeedThread() - THREAD - InternetThread isn't valid");
        return 1;
    }
    LogEntry("Start THREAD SpeedThread()");
    test->DoSpeedTest();
    return 0;
}

int SpeedThreadHDDVD(SpeedTest* test)
{
    if (!test) {
        LogEntry("SpeedThread() - THREAD - InternetThread isn't valid");
        return 1;
    }
    LogEntry("Start THREAD SpeedThread()");
    test->DoHDDVDSpeedTest();
    return 0;
}

int SpeedThreadBD(SpeedTest* test)
{
    if (!test) {
        LogEntry("SpeedThread() - BD THREAD - InternetThread isn't valid");
        return 1;
    }
    LogEntry("Start BD THREAD SpeedThread()");
    test->DoBDSpeedTest();
    return 0;
}

SpeedThreadEntry SpeedThreadFor(int profile)
{
    if (profile::IsHdDvdProfile(profile))
        return SpeedThreadHDDVD;
    if (profile::IsBdProfile(profile))
        return SpeedThreadBD;
    return SpeedThread;
}
