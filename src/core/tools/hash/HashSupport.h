#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace hash_kernels {

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

} // namespace hash_kernels
