#include "core/tools/testpage/DiscFacts.h"

#include "core/base/Format.h"

namespace testpage {

namespace {

constexpr double kBlocksPerMegabyte = 512;
constexpr double kDdcdBlocksPerGigabyte = 512000.0;
constexpr double kBlocksPerGigabyte = 524288.0;

}  // namespace

bool IsCdProfile(int profile)
{
    return profile >= 0x08 && profile <= 0x0A;
}

bool IsDdcdProfile(int profile)
{
    return (profile >= 0x20 && profile <= 0x22) || (profile >= 0x80 && profile <= 0x82);
}

bool IsBdProfile(int profile)
{
    return profile >= 0x40 && profile <= 0x43;
}

bool IsHdDvdProfile(int profile)
{
    return profile >= 0x50 && profile <= 0x5A;
}

std::string DiscLengthText(int profile, std::int64_t lastLba)
{
    if (IsCdProfile(profile))
        return Format("%4.2fMB", static_cast<double>(lastLba) / kBlocksPerMegabyte);
    const double perGigabyte = IsDdcdProfile(profile) ? kDdcdBlocksPerGigabyte : kBlocksPerGigabyte;
    return Format("%4.2fGB", static_cast<double>(lastLba) / perGigabyte);
}

std::string ProgressSizeText(int profile, std::int64_t blocks)
{
    if (IsCdProfile(profile))
        return Format("%4.2fMB", static_cast<double>(blocks) / kBlocksPerMegabyte);
    return Format("%4.2fGB", static_cast<double>(blocks) / kBlocksPerGigabyte);
}

}  // namespace testpage
