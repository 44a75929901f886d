#include "core/app/MainWindowRules.h"

#include "scsi/Profiles.h"

namespace {

constexpr int kWindowWidth = 753;
constexpr int kWindowHeightBase = 574;
constexpr int kTallCaption = 35;

// The surface map: cells of 5 x 5 pixels, 90 a row, from (29, 70) to (478, 428).
constexpr int kMapLeft = 29;
constexpr int kMapTop = 70;
constexpr int kMapRight = 478;
constexpr int kMapBottom = 428;
constexpr int kCellPixels = 5;
constexpr int kCellsPerRow = 90;
constexpr std::uint32_t kBlocksPerFactor = 25;

}  // namespace

WindowSize FixedWindowSize(int captionHeight)
{
    const int caption = captionHeight >= kTallCaption ? captionHeight - kTallCaption : captionHeight;
    return {kWindowWidth, kWindowHeightBase + caption};
}

std::pair<int, int> RestoredWindowPosition(int x, int y, int screenWidth, int screenHeight)
{
    if (x < 0 || y < 0 || x > screenWidth || y > screenHeight)
        return {0, 0};
    return {x, y};
}

int ErrorMapBlockFactor(int profile, bool structureRead, int layers)
{
    if (!structureRead)
        return 8;
    if (profile::IsCdProfile(profile))
        return 4;
    if (profile::IsDdcdProfile(profile))
        return 8;
    return 16 * (layers > 1 ? 2 : 1);
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> ErrorMapBlockRange(int x, int y, int factor)
{
    return ErrorMapCellRange(x, y, factor * kBlocksPerFactor);
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> ErrorMapCellRange(int x, int y, int blocksPerCell)
{
    if (x < kMapLeft || x > kMapRight || y < kMapTop || y > kMapBottom || blocksPerCell <= 0)
        return std::nullopt;
    const auto cell = static_cast<std::uint32_t>((y - (kMapTop - 1)) / kCellPixels * kCellsPerRow
                                                 + (x - (kMapLeft - 1)) / kCellPixels);
    const auto blocks = static_cast<std::uint32_t>(blocksPerCell);
    return std::make_pair(cell * blocks, cell * blocks + blocks);
}
