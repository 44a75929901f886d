#include "emu/ErrorProfile.h"

#include <algorithm>

namespace emu {

namespace {

// splitmix64: a well-mixed 64-bit value for each input.
std::uint64_t Mix(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// 0 .. 2 x mean, evenly.
std::uint32_t Spread(std::uint64_t random, std::uint32_t mean)
{
    return static_cast<std::uint32_t>(random % (2ull * mean + 1));
}

const BadZone* ZoneOf(const ErrorProfile& profile, std::uint64_t eccBlock)
{
    const std::uint64_t first = eccBlock * kEccBlockSectors;
    const std::uint64_t end = first + kEccBlockSectors;
    for (const BadZone& zone : profile.badZones)
        if (zone.firstSector < end && first < zone.firstSector + zone.sectorCount)
            return &zone;
    return nullptr;
}

}  // namespace

EccBlockErrors ErrorProfile::Block(std::uint64_t eccBlock) const
{
    if (const BadZone* zone = ZoneOf(*this, eccBlock))
        return zone->errors;
    const std::uint64_t random = Mix(seed ^ Mix(eccBlock));
    EccBlockErrors errors;
    errors.pi = Spread(random & 0xFFFF, piMean);
    errors.pif = (random >> 16) % 1000 < pifPerMille ? 1 : 0;
    errors.po = errors.pif;
    const std::uint32_t jitterSpread = Spread((random >> 32) & 0xFFFF, 10);  // 0 .. 20
    errors.jitter = jitterMean + jitterSpread >= 10 ? jitterMean + jitterSpread - 10 : 0;
    return errors;
}

ErrorSum MeasureSectors(const ErrorProfile& profile, std::uint64_t firstSector, std::uint64_t sectorCount)
{
    ErrorSum sum;
    if (sectorCount == 0)
        return sum;
    const std::uint64_t firstBlock = firstSector / kEccBlockSectors;
    const std::uint64_t lastBlock = (firstSector + sectorCount - 1) / kEccBlockSectors;
    std::uint64_t jitterSum = 0;
    for (std::uint64_t block = firstBlock; block <= lastBlock; ++block) {
        const EccBlockErrors errors = profile.Block(block);
        sum.total.pi += errors.pi;
        sum.total.pif += errors.pif;
        sum.total.po += errors.po;
        sum.total.pof += errors.pof;
        jitterSum += errors.jitter;
        sum.peak.pi = std::max(sum.peak.pi, errors.pi);
        sum.peak.pif = std::max(sum.peak.pif, errors.pif);
        sum.peak.po = std::max(sum.peak.po, errors.po);
        sum.peak.pof = std::max(sum.peak.pof, errors.pof);
        sum.peak.jitter = std::max(sum.peak.jitter, errors.jitter);
    }
    sum.blocks = lastBlock - firstBlock + 1;
    sum.total.jitter = static_cast<std::uint32_t>(jitterSum / sum.blocks);
    return sum;
}

}  // namespace emu
