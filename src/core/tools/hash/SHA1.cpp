#include "core/tools/hash/SHA1.h"

#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"
#include "core/tools/hash/HashSupport.h"

#include <algorithm>
#include <cstring>
#include <iterator>

SHA1::SHA1()
{
    Reset();
}

SHA1::~SHA1() = default;

void SHA1::Reset()
{
    std::copy(std::begin(hash_kernels::kSha1InitialState), std::end(hash_kernels::kSha1InitialState), m_H);
    m_lengthLow = 0;
    m_lengthHigh = 0;
    m_messageBlockIndex = 0;
    m_computed = false;
    m_corrupted = false;
}

void SHA1::Input(const unsigned char* message, unsigned length)
{
    if (length == 0)
        return;
    if (m_computed || m_corrupted) {
        m_corrupted = true;
        return;
    }
    // The byte whose 8 bits wrap the 64-bit length is still taken; input stops after it.
    const std::uint64_t bits = (static_cast<std::uint64_t>(m_lengthHigh) << 32) | m_lengthLow;
    const std::uint64_t bytesUntilWrap = bits == 0 ? UINT64_MAX : (0 - bits) >> 3;
    unsigned taken = length;
    if (bytesUntilWrap <= length) {
        taken = static_cast<unsigned>(bytesUntilWrap);
        m_corrupted = true;
    }
    const std::uint64_t newBits = bits + (static_cast<std::uint64_t>(taken) << 3);
    m_lengthLow = static_cast<std::uint32_t>(newBits);
    m_lengthHigh = static_cast<std::uint32_t>(newBits >> 32);

    const std::size_t fill = hash_kernels::FeedBlocks(
        m_messageBlock, static_cast<std::size_t>(m_messageBlockIndex), 64, message, taken,
        [this](const std::uint8_t* blocks, std::size_t count) { hash_kernels::Sha1Blocks(m_H, blocks, count); });
    m_messageBlockIndex = static_cast<int>(fill);
}

void SHA1::InputByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    Input(&value, 1);
}

bool SHA1::Result(unsigned* digest)
{
    if (m_corrupted)
        return false;
    if (!m_computed) {
        PadMessage();
        m_computed = true;
    }
    std::copy(m_H, m_H + 5, digest);
    return true;
}

void SHA1::ProcessMessageBlock()
{
    hash_kernels::Sha1Blocks(m_H, m_messageBlock, 1);
    m_messageBlockIndex = 0;
}

void SHA1::PadMessage()
{
    hash_kernels::PadBlock(m_messageBlock, static_cast<std::size_t>(m_messageBlockIndex), 64, 8,
                           [this](const std::uint8_t*) { ProcessMessageBlock(); });
    hash_kernels::StoreBig32(m_messageBlock + 56, m_lengthHigh);
    hash_kernels::StoreBig32(m_messageBlock + 60, m_lengthLow);
    ProcessMessageBlock();
}
