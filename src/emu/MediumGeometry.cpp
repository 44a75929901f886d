#include "emu/MediumGeometry.h"

#include "scsi/Bytes.h"

#include <algorithm>

namespace emu {

namespace {
constexpr std::int64_t kFramesPerSecond = 75;
constexpr std::int64_t kLeadInOffset = 150;  // two seconds of pre-gap before LBA 0
}  // namespace

std::uint64_t TotalBlocks(const MediumDescription& disc)
{
    return std::max(disc.totalBlocks, disc.capacityBlocks);
}

std::uint64_t LayerZeroBlocks(const MediumDescription& disc)
{
    if (disc.layers < 2)
        return disc.capacityBlocks;
    return std::min(disc.capacityBlocks, TotalBlocks(disc) / static_cast<std::uint64_t>(disc.layers));
}

std::uint64_t FreeBlocks(const MediumDescription& disc)
{
    if (disc.status == DiscStatus::Complete)
        return 0;
    return TotalBlocks(disc) - disc.capacityBlocks;
}

Msf LbaToMsf(std::int64_t lba)
{
    const std::int64_t frames = std::max<std::int64_t>(0, lba + kLeadInOffset);
    return {static_cast<std::uint8_t>(std::min<std::int64_t>(frames / (60 * kFramesPerSecond), 255)),
            static_cast<std::uint8_t>(frames / kFramesPerSecond % 60),
            static_cast<std::uint8_t>(frames % kFramesPerSecond)};
}

std::int64_t MsfToLba(const Msf& time)
{
    return (std::int64_t{time.minute} * 60 + time.second) * kFramesPerSecond + time.frame - kLeadInOffset;
}

void PutAddress(std::uint8_t* at, std::int64_t lba, bool msf)
{
    if (!msf) {
        scsi::PutBe32(at, static_cast<std::uint32_t>(lba));
        return;
    }
    const Msf time = LbaToMsf(lba);
    at[0] = 0;
    at[1] = time.minute;
    at[2] = time.second;
    at[3] = time.frame;
}

bool IsRecordableCd(const MediumDescription& disc)
{
    return disc.family == MediumFamily::Cd && disc.atip.has_value();
}

}  // namespace emu
