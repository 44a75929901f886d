#include "core/tools/iso/DiscWalk.h"

#include "core/base/Format.h"
#include "core/app/TestPageControls.h"
#include "scsi/DiscStructure.h"

#include <algorithm>

namespace discwalk {

namespace {

constexpr std::int64_t kDefaultLayerBreak = 2000158;
constexpr std::int64_t kBlocksPerMapCell = 72000;
constexpr int kMapCellPixels = 5;

}  // namespace

int ReadCountFor(std::optional<int> profile)
{
    return profile && (IsCdProfile(*profile) || IsDdcdProfile(*profile)) ? 20 : kChunkBlocks;
}

int ReadsPerCell(int profile, int layers)
{
    if (IsCdProfile(profile))
        return 4;
    if (IsDdcdProfile(profile))
        return 8;
    if (IsBdProfile(profile))
        return kBdReadsPerCell;
    return 16 * std::max(layers, 1);
}

std::string MegabytesText(std::uint64_t bytes)
{
    return Format("%4.2fMB", static_cast<double>(bytes) / 1024 / 1024);
}

DiscLayers LayersFromStructure(std::span<const std::uint8_t> answer)
{
    DiscLayers layers;
    if (answer.size() < 20)
        return layers;
    if (answer[6] & 0x60)
        layers.layers = 2;
    std::int64_t lba = (std::int64_t{answer[17]} << 16) | (std::int64_t{answer[18]} << 8) | answer[19];
    if (lba != 0)
        lba -= kDvdFirstDataSector;
    layers.layerBreakLba = lba == 0 ? kDefaultLayerBreak : lba;
    return layers;
}

int LayerBreakCell(std::int64_t layerBreakLba)
{
    return static_cast<int>(layerBreakLba / kBlocksPerMapCell) * kMapCellPixels;
}

std::span<const std::uint8_t> UserDataOfRawSector(std::span<const std::uint8_t> sector)
{
    constexpr std::uint8_t kSync[12] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (sector.size() < kRawSectorBytes || !std::equal(std::begin(kSync), std::end(kSync), sector.begin()))
        return {};
    switch (sector[15]) {
    case 1: return sector.subspan(16, kBlockBytes);
    case 2:
        // The subheader (bytes 16-23) tells the form; Form 2 has 2324 user bytes.
        if (sector[18] & 0x20)
            return {};
        return sector.subspan(24, kBlockBytes);
    default: return {};
    }
}

std::int64_t FailedBlock(const BlockReadResult& result, std::int64_t lba, int count)
{
    if (result.badBlock && *result.badBlock >= lba && *result.badBlock < lba + count)
        return *result.badBlock;
    return lba;
}

std::string SectorText(std::int64_t lba)
{
    return Format("%llXh", static_cast<unsigned long long>(lba));
}

void RestoreCompareButtons(TestPageEvents& events)
{
    events.SetPageRunning(false);
    events.SetText(testpage::kSave, "Create");
    events.EnablePageButton(PageButton::Save, true);
    events.Enable(testpage::kDevices, true);
}

}  // namespace discwalk
