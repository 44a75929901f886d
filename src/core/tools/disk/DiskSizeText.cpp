#include "core/tools/disk/DiskSizeText.h"

#include "core/base/Format.h"

namespace {

// The value is taken as a float, as the size fields always showed it.
std::string SizeText(std::uint64_t bytes, float base, bool stepAtBase)
{
    static const char* const kUnits[] = {"", "K", "M", "G", "T", "P", "E"};
    float value = static_cast<float>(bytes);
    int step = 0;
    while ((stepAtBase ? value >= base : value > base) && step < 6) {
        value /= base;
        ++step;
    }
    return Format("%.2f %sB", static_cast<double>(value), kUnits[step]);
}

}  // namespace

std::string FormatSize(std::uint64_t bytes)
{
    return SizeText(bytes, 1024.0f, true);
}

std::string FormatSizeDecimal(std::uint64_t bytes)
{
    return SizeText(bytes, 1000.0f, true);
}

std::string FormatFreeSize(std::uint64_t bytes)
{
    return SizeText(bytes, 1024.0f, false);
}
