#pragma once

#include <cstdint>

class ScanContext;

// Drive steps of the scan window that the engines share.

// For the scan control and the engines: TEST UNIT READY every 500 ms on
// the context's clock for up to `seconds`: 0 when the unit is
// ready or holds no disc, 1 after the time ran out, which the status says
// ("Timeout waiting for unit"; never "Ready."). Started while a scan runs, it
// also ends (1) at Stop.
int WaitForUnitReady(ScanContext& context, int seconds);
// Waits for the unit before a scan's reads, at most a minute, so that a
// drive that never becomes ready cannot hold the scan: 0 ready, 1 not.
int PollUntilReady(ScanContext& context);
// Spins the disc up at a read speed (kB/s in two bytes): status
// "Pre-Spin up...", SET CD SPEED, a wait for the unit, then 50 reads of 25
// sectors near the start of the disc. The last read's result.
int PreSpin(ScanContext& context, std::uint8_t speedHigh, std::uint8_t speedLow);
// PREVENT ALLOW MEDIUM REMOVAL: locks (true) or unlocks the tray; the
// command's result.
int LockTray(ScanContext& context, bool lock);
