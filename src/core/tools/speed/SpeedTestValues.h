#pragma once

#include <cstdint>

// The read speed tests' values shared by their three bodies and the read
// error test. Only the test that holds the drive's channel writes them.
extern int g_nLastPointX;  // x of the last graph point, the speed curve's origin x
extern int g_nLastPointXCopy;  // the same, summed between points
extern int g_nSpeedBaseY;  // the graph's bottom line, from which speeds count up
extern std::uint64_t g_qwBytesSincePoint;
extern float g_fCdX;  // the last measured speed in CD units
extern float g_fDvdX;  // the last measured speed in the body's 1x; 0 after a failed read
extern std::uint8_t g_bDvdSpeedScale20;  // 1 while DVD speeds are 20 pixels an x, 0 at 10
