#include "core/pipo/engines/ScanFigures.h"

#include <cmath>

std::uint32_t RootMeanSquare(std::uint64_t sumOfSquares, std::int64_t n)
{
    if (n < 1)
        return 0;
    return static_cast<std::uint32_t>(std::sqrt(static_cast<double>(sumOfSquares / static_cast<std::uint64_t>(n))));
}

int BenqJitterTenths(std::uint32_t raw)
{
    const double term = (raw * 0.0625 - 2.83) / 1024;
    return term > 0 ? static_cast<int>(1000 * std::sqrt(term)) : 0;
}

int CyberdriveJitterTenths(std::uint32_t raw)
{
    return static_cast<int>(1000 * std::sqrt(raw / 10.0 / 1024));
}
