#pragma once

#include "core/tools/iso/DiscBlockReader.h"
#include "core/tools/testpage/DiscFacts.h"
#include "core/tools/testpage/TestPageEvents.h"
#include "scsi/Profiles.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// How the ISO page's tools walk a disc, by its MMC profile.
namespace discwalk {

constexpr std::uint32_t kRawSectorBytes = 2352;
constexpr int kChunkBlocks = 25;  // 51,200 bytes a read
constexpr std::size_t kChunkBytes = std::size_t{kChunkBlocks} * kBlockBytes;
constexpr int kBdReadsPerCell = 75;

using profile::IsBdProfile;
using profile::IsCdProfile;
using profile::IsDdcdProfile;
using testpage::DiscLengthText;
using testpage::ProgressSizeText;

// Blocks a read asks for: 20 on CD and DDCD profiles, else 25.
int ReadCountFor(std::optional<int> profile);
// Reads of one block map cell: 4 on CD, 8 on DDCD, 75 on BD, else 16 a layer.
int ReadsPerCell(int profile, int layers);

// Bytes as megabytes ("%4.2fMB").
std::string MegabytesText(std::uint64_t bytes);

// The layers of a READ DISC STRUCTURE format 0 answer (at least 20 bytes):
// two when byte 6 has any of the bits 60h; the layer break from bytes 17-19
// less 30000h, or 2,000,158 when that leaves nothing.
DiscLayers LayersFromStructure(std::span<const std::uint8_t> answer);
// The block map cell of the layer break.
int LayerBreakCell(std::int64_t layerBreakLba);

// The 2048 user bytes of a raw CD sector: of a Mode 1 sector or a Mode 2
// Form 1 sector; empty for any other (audio, Mode 2 Form 2, no sync).
std::span<const std::uint8_t> UserDataOfRawSector(std::span<const std::uint8_t> sector);

// The block a failed read names: the sense's address when it lies in the
// read, else the read's first block.
std::int64_t FailedBlock(const BlockReadResult& result, std::int64_t lba, int count);

// "%Xh" of an address, as the Sector field shows it.
std::string SectorText(std::int64_t lba);

// The ISO page's buttons as every compare end leaves them: Start enabled,
// Stop disabled, Save captioned "Create" and enabled, the drive list usable.
void RestoreCompareButtons(TestPageEvents& events);

}  // namespace discwalk
