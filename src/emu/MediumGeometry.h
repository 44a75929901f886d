#pragma once

#include "emu/Medium.h"

#include <cstdint>

namespace emu {

// Blocks the disc holds when full (at least what is recorded).
std::uint64_t TotalBlocks(const MediumDescription& disc);
// Blocks of the first layer that hold data: a dual-layer disc fills its
// first layer before the second.
std::uint64_t LayerZeroBlocks(const MediumDescription& disc);
// Blocks the disc can still take; 0 on a closed disc.
std::uint64_t FreeBlocks(const MediumDescription& disc);

// A CD address as a time: LBA 0 is 00:02:00.
Msf LbaToMsf(std::int64_t lba);
std::int64_t MsfToLba(const Msf& time);
// A four-byte address field of an answer: the LBA, or with msf its time as 0, M, S, F.
void PutAddress(std::uint8_t* at, std::int64_t lba, bool msf);

bool IsRecordableCd(const MediumDescription& disc);

}  // namespace emu
