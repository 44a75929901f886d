#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace hash_kernels {

// Feeds data into a block buffer that holds fill bytes: tops up and
// processes a part-filled block, processes the whole blocks straight from
// data and keeps the rest in the buffer. Returns the new fill.
template <class ProcessBlocks>
std::size_t FeedBlocks(std::uint8_t* buffer, std::size_t fill, std::size_t blockSize, const std::uint8_t* data,
                       std::size_t length, ProcessBlocks processBlocks)
{
    if (fill > 0) {
        const std::size_t part = std::min(length, blockSize - fill);
        std::memcpy(buffer + fill, data, part);
        fill += part;
        if (fill < blockSize)
            return fill;
        processBlocks(buffer, std::size_t{1});
        data += part;
        length -= part;
    }
    const std::size_t wholeBlocks = length / blockSize;
    if (wholeBlocks > 0)
        processBlocks(data, wholeBlocks);
    const std::size_t rest = length - wholeBlocks * blockSize;
    std::memcpy(buffer, data + wholeBlocks * blockSize, rest);
    return rest;
}

// Closes a message whose last fill bytes sit in block: appends the 80h byte
// and zeros up to the room for the length field (its last lengthBytes),
// processing the block first when that room is already taken. The caller
// then writes the length and processes the block.
template <class ProcessBlock>
void PadBlock(std::uint8_t* block, std::size_t fill, std::size_t blockSize, std::size_t lengthBytes,
              ProcessBlock processBlock)
{
    block[fill++] = 0x80;
    if (fill > blockSize - lengthBytes) {
        std::memset(block + fill, 0, blockSize - fill);
        processBlock(block);
        fill = 0;
    }
    std::memset(block + fill, 0, blockSize - lengthBytes - fill);
}

// The compiler regroups sums of integers freely and then tends to add the
// operand that is ready last first. An empty asm makes it finish a partial
// sum as written, so the term on the critical path can be added last.
template <class Word>
[[gnu::always_inline]] inline Word SumOffTheChain(Word value)
{
    asm("" : "+r"(value));
    return value;
}

// Two lower-case hex digits per byte, high nibble first; writes 2 * count
// characters and a terminating zero.
inline void BytesToHex(const std::uint8_t* bytes, std::size_t count, char* text)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 15];
    }
    text[2 * count] = '\0';
}

}  // namespace hash_kernels
