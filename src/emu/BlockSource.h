#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace emu {

// Where a disc's user data comes from.
class BlockSource {
public:
    virtual ~BlockSource() = default;
    // Fills count blocks of blockSize bytes from lba on; false on an I/O error.
    virtual bool Read(std::uint64_t lba, std::uint32_t count, std::uint32_t blockSize, std::uint8_t* out) = 0;
};

// The generated data of a block: a "QNZ" mark, the block address and a fixed
// filler, so that a wrong block or a shifted buffer shows at once.
void FillPatternBlock(std::uint64_t lba, std::uint32_t blockSize, std::uint8_t* out);

std::unique_ptr<BlockSource> MakePatternSource();

// Blocks read from an image file; a short last block is padded with zeros.
// Null when the file cannot be opened (error says why); blocks gets its size
// in blocks.
std::unique_ptr<BlockSource> OpenImageSource(const std::string& path, std::uint32_t blockSize, std::uint64_t& blocks,
                                             std::string* error);

}  // namespace emu
