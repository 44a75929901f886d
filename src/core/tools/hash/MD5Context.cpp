#include "core/tools/hash/MD5Context.h"

#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"
#include "core/tools/hash/HashSupport.h"

#include <cstdio>
#include <cstring>

void MD5Context::Init()
{
    bitCount[0] = bitCount[1] = 0;
    state[0] = 0x67452301;
    state[1] = 0xefcdab89;
    state[2] = 0x98badcfe;
    state[3] = 0x10325476;
}

void MD5Context::Update(const char* data, unsigned length)
{
    const auto* input = reinterpret_cast<const std::uint8_t*>(data);
    const unsigned index = (bitCount[0] >> 3) & 63;
    const std::uint32_t addedBits = static_cast<std::uint32_t>(length) << 3;
    bitCount[0] += addedBits;
    if (bitCount[0] < addedBits)
        ++bitCount[1];
    bitCount[1] += length >> 29;

    hash_kernels::FeedBlocks(buffer, index, 64, input, length,
                             [this](const std::uint8_t* blocks, std::size_t count) { Transform(blocks, count); });
}

void MD5Context::Final()
{
    std::uint8_t lengthBytes[8];
    Encode(lengthBytes, bitCount, 8);
    const unsigned index = (bitCount[0] >> 3) & 63;
    hash_kernels::PadBlock(buffer, index, 64, 8, [this](const std::uint8_t* block) { Transform(block, 1); });
    std::memcpy(buffer + 56, lengthBytes, 8);
    Transform(buffer, 1);
    Encode(digest, state, 16);

    std::memset(state, 0, sizeof state);
    std::memset(bitCount, 0, sizeof bitCount);
    std::memset(buffer, 0, sizeof buffer);
}

void MD5Context::Transform(const std::uint8_t* blocks, std::size_t blockCount)
{
    hash_kernels::Md5Blocks(state, blocks, blockCount);
}

void MD5Context::Encode(std::uint8_t* output, const std::uint32_t* input, unsigned length)
{
    for (unsigned i = 0; i < length / 4; ++i)
        hash_kernels::StoreLittle32(output + 4 * i, input[i]);
}

std::unique_ptr<char[]> MD5DigestToHex(const std::uint8_t digest[16])
{
    auto text = std::make_unique<char[]>(33);
    hash_kernels::BytesToHex(digest, 16, text.get());
    return text;
}

std::unique_ptr<char[]> MD5File(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return nullptr;
    MD5Context context;
    char chunk[1024];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        context.Update(chunk, static_cast<unsigned>(got));
    // A read error also ends the loop; its digest would be of part of the file.
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed)
        return nullptr;
    context.Final();
    return MD5DigestToHex(context.digest);
}
