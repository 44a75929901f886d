#pragma once

#include <cstdint>
#include <string>

// What the test pages' engines tell apart by the disc's MMC profile, and how
// they show its sizes.
namespace testpage {

bool IsCdProfile(int profile);  // 08h-0Ah
bool IsDdcdProfile(int profile);  // 20h-22h and 80h-82h
bool IsBdProfile(int profile);  // 40h-43h
bool IsHdDvdProfile(int profile);  // 50h-5Ah

// "Length" of a disc by its last block: MB on CD, GB (of 512,000 blocks) on
// DDCD, GB (of 524,288 blocks) on all others.
std::string DiscLengthText(int profile, std::int64_t lastLba);
// "Read" and "Remaining": MB on CD, GB on all others.
std::string ProgressSizeText(int profile, std::int64_t blocks);

}  // namespace testpage
