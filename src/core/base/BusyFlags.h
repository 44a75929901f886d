#pragma once

#include <atomic>

// Process-wide busy flags: 1 while the operation runs. Worker threads poll
// their own flag and end when it reads 0.
extern std::atomic<int> g_bErrorTestRunning;  // read error test and PI/PO scan
extern std::atomic<int> g_bSpeedTestRunning;
extern std::atomic<int> g_bCompareRunning;
extern std::atomic<int> g_bCreateIsoRunning;
extern std::atomic<int> g_bMediaHashRunning;
extern std::atomic<int> g_bEraseRunning;  // erase, format and DC erase

// True while any of the flags is set.
bool AnyBusyFlagSet();
