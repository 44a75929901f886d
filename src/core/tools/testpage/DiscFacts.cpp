#include "core/tools/testpage/DiscFacts.h"

#include "core/base/Format.h"

namespace testpage {

namespace {

constexpr double kBlocksPerMegabyte = 512;
constexpr double kDdcdBlocksPerGigabyte = 512000.0;
constexpr double kBlocksPerGigabyte = 524288.0;

}  // namespace

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
