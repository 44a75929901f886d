#pragma once

#include "emu/Medium.h"

#include <cstdint>
#include <optional>

namespace emu {

// Blocks the disc holds when full (at least what is recorded).
std::uint64_t TotalBlocks(const MediumDescription& disc);
// Blocks of the first layer that hold data: a dual-layer disc fills its
// first layer before the second.
std::uint64_t LayerZeroBlocks(const MediumDescription& disc);
// Where the next track of an open disc starts: at 0 on a blank disc; after
// the closed session's lead-out (or closure) and the next session's lead-in
// (or intro) on an appendable one.
std::uint64_t NextTrackStart(const MediumDescription& disc);
// The next writable address: the next track's start, after its pre-gap on a CD.
std::uint64_t NextWritableAddress(const MediumDescription& disc);
// Where the next session's lead-in starts on an appendable CD (after the last
// session's lead-out); none elsewhere.
std::optional<std::int64_t> NextLeadInStart(const MediumDescription& disc);
// Blocks the disc can still take from its next writable address; 0 on a closed disc.
std::uint64_t FreeBlocks(const MediumDescription& disc);
// The block where the recorded sessions end (their lead-out starts).
std::uint64_t RecordedEnd(const MediumDescription& disc);

// A CD address as a time: LBA 0 is 00:02:00.
Msf LbaToMsf(std::int64_t lba);
std::int64_t MsfToLba(const Msf& time);
// A four-byte address field of an answer: the LBA, or with msf its time as 0, M, S, F.
void PutAddress(std::uint8_t* at, std::int64_t lba, bool msf);

bool IsRecordableCd(const MediumDescription& disc);
// A formatted disc that takes writes at any block: DVD-RAM, DVD-RW in
// restricted overwrite, DVD+RW, BD-RE.
bool IsRandomWritable(const MediumDescription& disc);

// What erasing leaves of a rewritable disc: nothing recorded, the whole disc
// free; a DVD-RW goes back to sequential recording, a DVD+RW is unformatted.
void MakeBlank(MediumDescription& disc);
// What a format leaves: the whole disc formatted and recorded (one track);
// a DVD-RW in restricted overwrite.
void MakeFormatted(MediumDescription& disc);

}  // namespace emu
