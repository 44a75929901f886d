#include "core/base/BusyFlags.h"

std::atomic<int> g_bErrorTestRunning{0};
std::atomic<int> g_bSpeedTestRunning{0};
std::atomic<int> g_bCompareRunning{0};
std::atomic<int> g_bCreateIsoRunning{0};
std::atomic<int> g_bMediaHashRunning{0};
std::atomic<int> g_bEraseRunning{0};

bool AnyBusyFlagSet()
{
    return g_bErrorTestRunning == 1 || g_bSpeedTestRunning == 1 || g_bCompareRunning == 1 || g_bCreateIsoRunning == 1
        || g_bMediaHashRunning == 1 || g_bEraseRunning == 1;
}
