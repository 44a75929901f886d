#include "core/base/Percent.h"

#include <algorithm>
#include <limits>

int PercentOf(std::int64_t done, std::int64_t total)
{
    if (total <= 0)
        return 0;
    done = std::clamp<std::int64_t>(done, 0, total);
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 100;
    if (total > kLargest)  // done x 100 would overflow: a hundredth of the total is large enough
        return static_cast<int>(std::min<std::int64_t>(done / (total / 100), 100));
    return static_cast<int>(done * 100 / total);
}

int LongOperationPercent(std::int64_t done, std::int64_t total)
{
    if (total <= 0)
        return 0;
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 100;
    done = std::clamp<std::int64_t>(done, 0, kLargest);
    return static_cast<int>(std::min<std::int64_t>(done * 100 / total + 1, 100));
}
