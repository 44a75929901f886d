#pragma once

class SpeedTest;

// The worker entries of the read speed tests, by the disc's profile: HD DVD
// (50h-5Ah), BD (40h-43h) and CD/DVD (any other). Each logs its start, runs
// its body and returns 0; without a test (null) it logs why and returns 1.
int SpeedThread(SpeedTest* test);
int SpeedThreadHDDVD(SpeedTest* test);
int SpeedThreadBD(SpeedTest* test);

// The entry for a profile.
using SpeedThreadEntry = int (*)(SpeedTest*);
SpeedThreadEntry SpeedThreadFor(int profile);
