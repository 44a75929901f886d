#include "core/tools/speed/SpeedTestValues.h"

int g_nLastPointX = 1;
int g_nLastPointXCopy = 1;
int g_nSpeedBaseY = 399;
std::uint64_t g_qwBytesSincePoint = 0;
float g_fCdX = 0;
float g_fDvdX = 0;
std::uint8_t g_bDvdSpeedScale20 = 1;
