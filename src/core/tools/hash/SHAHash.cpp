#include "core/tools/hash/SHAHash.h"

#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"
#include "core/tools/hash/HashSupport.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <stdexcept>

namespace {

constexpr std::uint32_t kSha224Initial[8] = {0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939,
                                             0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};
constexpr std::uint32_t kSha256Initial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
constexpr std::uint64_t kSha384Initial[8] = {0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17,
                                             0x152fecd8f70e5939, 0x67332667ffc00b31, 0x8eb44a8768581511,
                                             0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};
constexpr std::uint64_t kSha512Initial[8] = {0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
                                             0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
                                             0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};

// Digest length in bytes by type; 0 for a type that does not exist.
unsigned DigestBytes(SHA_TYPE type)
{
    switch (type) {
    case SHA_TYPE_1: return 20;
    case SHA_TYPE_224: return 28;
    case SHA_TYPE_256: return 32;
    case SHA_TYPE_384: return 48;
    case SHA_TYPE_512: return 64;
    }
    return 0;
}

[[noreturn]] void ThrowInvalidType()
{
    throw std::runtime_error("Invalid SHA_TYPE type!");
}

}  // namespace

SHAHash::SHAHash() :
    m_type(static_cast<SHA_TYPE>(0)),
    m_finished(false),
    m_hexText{},
    m_digestBytes{},
    m_state{},
    m_bitCount{},
    m_block{}
{
}

void SHAHash::Init(SHA_TYPE type)
{
    m_type = type;
    m_finished = false;
    std::memset(&m_state, 0, sizeof m_state);
    m_bitCount[0] = m_bitCount[1] = 0;
    std::memset(m_block, 0, sizeof m_block);
    switch (type) {
    case SHA_TYPE_1:
        std::copy(std::begin(hash_kernels::kSha1InitialState), std::end(hash_kernels::kSha1InitialState),
                  m_state.words32);
        break;
    case SHA_TYPE_224: std::copy(std::begin(kSha224Initial), std::end(kSha224Initial), m_state.words32); break;
    case SHA_TYPE_256: std::copy(std::begin(kSha256Initial), std::end(kSha256Initial), m_state.words32); break;
    case SHA_TYPE_384: std::copy(std::begin(kSha384Initial), std::end(kSha384Initial), m_state.words64); break;
    case SHA_TYPE_512: std::copy(std::begin(kSha512Initial), std::end(kSha512Initial), m_state.words64); break;
    default: ThrowInvalidType();
    }
}

void SHAHash::Update(const char* data, unsigned length)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    switch (m_type) {
    case SHA_TYPE_1: Update64(bytes, length, ProcessBlockSHA1); break;
    case SHA_TYPE_224:
    case SHA_TYPE_256: Update64(bytes, length, ProcessBlockSHA256); break;
    case SHA_TYPE_384:
    case SHA_TYPE_512: Update128(bytes, length); break;
    default: ThrowInvalidType();
    }
}

std::string SHAHash::Finish()
{
    if (DigestBytes(m_type) == 0)
        ThrowInvalidType();
    if (m_finished)
        return m_digest;
    switch (m_type) {
    case SHA_TYPE_1: Final64(ProcessBlockSHA1); break;
    case SHA_TYPE_224:
    case SHA_TYPE_256: Final64(ProcessBlockSHA256); break;
    default: Final128(); break;
    }
    BuildHexDigest();
    return m_digest;
}

const char* SHAHash::GetHexDigest() const
{
    if (!m_finished)
        throw std::runtime_error("Unfinished execution!");
    return m_digest.c_str();
}

void SHAHash::Update64(const std::uint8_t* data, unsigned length, Block64Function processBlocks)
{
    const std::size_t fill = (m_bitCount[0] >> 3) & 63;
    m_bitCount[0] += static_cast<std::uint64_t>(length) << 3;
    hash_kernels::FeedBlocks(m_block, fill, 64, data, length, [&](const std::uint8_t* blocks, std::size_t count) {
        processBlocks(m_state.words32, blocks, count);
    });
}

void SHAHash::Update128(const std::uint8_t* data, unsigned length)
{
    const std::size_t fill = (m_bitCount[0] >> 3) & 127;
    const std::uint64_t addedBits = static_cast<std::uint64_t>(length) << 3;
    m_bitCount[0] += addedBits;
    if (m_bitCount[0] < addedBits)
        ++m_bitCount[1];
    hash_kernels::FeedBlocks(m_block, fill, 128, data, length, [this](const std::uint8_t* blocks, std::size_t count) {
        ProcessBlockSHA512(blocks, count);
    });
}

void SHAHash::Final64(Block64Function processBlocks)
{
    const std::size_t fill = (m_bitCount[0] >> 3) & 63;
    hash_kernels::PadBlock(m_block, fill, 64, 8,
                           [&](const std::uint8_t* block) { processBlocks(m_state.words32, block, 1); });
    hash_kernels::StoreBig64(m_block + 56, m_bitCount[0]);
    processBlocks(m_state.words32, m_block, 1);
}

void SHAHash::Final128()
{
    const std::size_t fill = (m_bitCount[0] >> 3) & 127;
    hash_kernels::PadBlock(m_block, fill, 128, 16, [&](const std::uint8_t* block) { ProcessBlockSHA512(block, 1); });
    hash_kernels::StoreBig64(m_block + 112, m_bitCount[1]);
    hash_kernels::StoreBig64(m_block + 120, m_bitCount[0]);
    ProcessBlockSHA512(m_block, 1);
}

void SHAHash::ProcessBlockSHA1(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count)
{
    hash_kernels::Sha1Blocks(state, blocks, count);
}

void SHAHash::ProcessBlockSHA256(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count)
{
    hash_kernels::Sha256Blocks(state, blocks, count);
}

void SHAHash::ProcessBlockSHA512(const std::uint8_t* blocks, std::size_t count)
{
    hash_kernels::Sha512Blocks(m_state.words64, blocks, count);
}

void SHAHash::BuildHexDigest()
{
    const unsigned digestBytes = DigestBytes(m_type);
    if (m_type == SHA_TYPE_384 || m_type == SHA_TYPE_512) {
        for (int i = 0; i < 8; ++i)
            hash_kernels::StoreBig64(m_digestBytes + 8 * i, m_state.words64[i]);
    } else {
        for (int i = 0; i < 8; ++i)
            hash_kernels::StoreBig32(m_digestBytes + 4 * i, m_state.words32[i]);
    }
    hash_kernels::BytesToHex(m_digestBytes, digestBytes, m_hexText);
    m_digest = m_hexText;
    m_finished = true;
}
