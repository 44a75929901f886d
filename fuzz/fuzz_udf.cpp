// Fuzz target of the UDF recognition: the input stands for the disc's
// blocks (block 16, the anchor at 256, then the blocks of the descriptor
// sequence); every input is judged without reading outside a block, and a
// recognised volume has a revision and bounded texts.

#include "FuzzCheck.h"
#include "core/info/MediaProbes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kBlock = 2048;
    const std::size_t blocks = size / kBlock + (size % kBlock ? 1 : 0);
    int reads = 0;
    const BlockReader read = [&](std::int64_t lba, std::vector<std::uint8_t>& block) {
        ++reads;
        if (blocks < 3 || lba < 0)
            return false;
        const std::size_t index = lba == 16 ? 0 : lba == 256 ? 1 : 2 + static_cast<std::size_t>(lba) % (blocks - 2);
        block.assign(kBlock, 0);
        const std::size_t from = index * kBlock;
        std::memcpy(block.data(), data + from, std::min(kBlock, size - from));
        return true;
    };
    UdfVolume volume;
    if (CheckUDF(read, volume) == 1) {
        Check(!volume.revision.empty());
        Check(volume.application.size() <= 23 && volume.implementation.size() <= 23);
        Check(volume.volume.size() <= 127);
    }
    Check(reads <= 2 + 64);
    return 0;
}
