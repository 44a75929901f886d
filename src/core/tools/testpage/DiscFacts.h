#pragma once

#include "scsi/Profiles.h"

#include <cstdint>
#include <string>

// What the test pages' engines tell apart by the disc's MMC profile, and how
// they show its sizes.
namespace testpage {

// The profile families, from the MMC vocabulary.
using profile::IsBdProfile;
using profile::IsCdProfile;
using profile::IsDdcdProfile;
using profile::IsHdDvdProfile;

// "Length" of a disc by its last block: MB on CD, GB (of 512,000 blocks) on
// DDCD, GB (of 524,288 blocks) on all others.
std::string DiscLengthText(int profile, std::int64_t lastLba);
// "Read" and "Remaining": MB on CD, GB on all others.
std::string ProgressSizeText(int profile, std::int64_t blocks);

}  // namespace testpage
