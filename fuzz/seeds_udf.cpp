#include "FuzzSeeds.h"

#include <cstdint>

namespace {

constexpr std::size_t kBlock = 2048;

void PutLe(std::string& bytes, std::size_t at, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// A descriptor tag of identifier `id` in block `lba`, its checksum set.
void PutTag(std::string& bytes, std::size_t block, std::uint16_t id, std::uint32_t lba)
{
    const std::size_t at = block * kBlock;
    PutLe(bytes, at, id, 2);
    PutLe(bytes, at + 2, 3, 2);  // descriptor version
    PutLe(bytes, at + 12, lba, 4);
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 16; ++i)
        if (i != 4)
            sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(bytes[at + i]));
    bytes[at + 4] = static_cast<char>(sum);
}

// Block 16, the anchor, and a sequence of the primary and the logical
// volume descriptor at blocks 258 and 259 (blocks 2 and 3 of the input).
std::string UdfDisc(std::uint8_t revisionHigh, std::uint8_t revisionLow)
{
    std::string bytes(4 * kBlock, '\0');
    bytes.replace(1, 5, "BEA01");
    PutLe(bytes, kBlock + 16, 2 * kBlock, 4);
    PutLe(bytes, kBlock + 20, 258, 4);
    PutTag(bytes, 1, 2, 256);
    bytes[2 * kBlock + 24] = 8;
    bytes.replace(2 * kBlock + 25, 6, "QNZUDF");
    bytes[2 * kBlock + 55] = 7;
    bytes.replace(2 * kBlock + 345, 9, "*QUENZA 1");
    PutTag(bytes, 2, 1, 258);
    bytes[3 * kBlock + 84] = 16;  // 16-bit characters
    bytes.replace(3 * kBlock + 85, 6, std::string("\0Q\0N\0Z", 6));
    bytes[3 * kBlock + 211] = 7;
    bytes[3 * kBlock + 240] = static_cast<char>(revisionLow);
    bytes[3 * kBlock + 241] = static_cast<char>(revisionHigh);
    PutTag(bytes, 3, 6, 259);
    return bytes;
}

}  // namespace

std::vector<std::string> FuzzSeeds()
{
    std::string iso(3 * kBlock, '\0');
    iso.replace(1, 5, "CD001");
    return {UdfDisc(0x02, 0x50), UdfDisc(0x01, 0x02), UdfDisc(0, 0), iso, std::string(100, 'U')};
}
