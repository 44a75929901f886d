#include "emu/RecordedBlocks.h"

#include <algorithm>
#include <cstring>

namespace emu {

RecordedBlocks::RecordedBlocks(std::shared_ptr<BlockSource> base) : m_base(std::move(base))
{
}

bool RecordedBlocks::Read(std::uint64_t lba, std::uint32_t count, std::uint32_t blockSize, std::uint8_t* out)
{
    const std::size_t bytes = std::size_t{count} * blockSize;
    if (m_erased)
        std::memset(out, 0, bytes);
    else if (!m_base->Read(lba, count, blockSize, out))
        return false;
    if (blockSize != m_blockSize)  // raw reads of another size see the disc as it came
        return true;
    for (auto it = m_blocks.lower_bound(lba); it != m_blocks.end() && it->first < lba + count; ++it) {
        std::uint8_t* at = out + (it->first - lba) * blockSize;
        if (it->second.empty())
            std::memset(at, 0, blockSize);
        else
            std::memcpy(at, it->second.data(), blockSize);
    }
    return true;
}

void RecordedBlocks::Write(std::uint64_t lba, std::uint32_t count, std::uint32_t blockSize, const std::uint8_t* data)
{
    if (blockSize != m_blockSize) {
        m_blocks.clear();
        m_blockSize = blockSize;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* block = data + std::size_t{i} * blockSize;
        const bool zeros = std::all_of(block, block + blockSize, [](std::uint8_t b) { return b == 0; });
        if (zeros && m_erased)
            m_blocks.erase(lba + i);
        else
            m_blocks[lba + i] = zeros ? std::vector<std::uint8_t>{}
                                      : std::vector<std::uint8_t>(block, block + blockSize);
    }
}

void RecordedBlocks::EraseAll()
{
    m_erased = true;
    m_blocks.clear();
}

}  // namespace emu
