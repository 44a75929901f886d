#pragma once

#include "emu/BlockSource.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace emu {

// A disc's blocks as the drive has left them: what it wrote over the
// disc's source, and zeros everywhere once an erase has cleared the disc.
// Blocks of zeros take no memory.
class RecordedBlocks : public BlockSource {
public:
    explicit RecordedBlocks(std::shared_ptr<BlockSource> base);

    bool Read(std::uint64_t lba, std::uint32_t count, std::uint32_t blockSize, std::uint8_t* out) override;
    // count blocks of blockSize bytes from data on.
    void Write(std::uint64_t lba, std::uint32_t count, std::uint32_t blockSize, const std::uint8_t* data);
    // Every block reads as zeros from now on.
    void EraseAll();
    bool Erased() const { return m_erased; }
    std::size_t WrittenBlocks() const { return m_blocks.size(); }

private:
    std::shared_ptr<BlockSource> m_base;
    bool m_erased = false;
    std::uint32_t m_blockSize = 0;  // of the blocks written
    std::map<std::uint64_t, std::vector<std::uint8_t>> m_blocks;  // empty: a block of zeros
};

}  // namespace emu
