#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"

#include <bit>

// MD5 is one long dependency chain through b, so every step adds the message
// word and constant to a first (off the chain) and keeps the round function's
// work after b as short as it can be.
namespace hash_kernels {
namespace {

template <int S>
[[gnu::always_inline]] inline void StepF(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                                         std::uint32_t word, std::uint32_t constant)
{
    a += word + constant;
    a += d ^ (b & (c ^ d));
    a = std::rotl(a, S) + b;
}

// (b & d) | (c & ~d) has no common bits, so it can be added in two halves,
// and c & ~d does not wait for b.
template <int S>
[[gnu::always_inline]] inline void StepG(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                                         std::uint32_t word, std::uint32_t constant)
{
    a += word + constant;
    a += c & ~d;
    a += b & d;
    a = std::rotl(a, S) + b;
}

template <int S>
[[gnu::always_inline]] inline void StepH(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                                         std::uint32_t word, std::uint32_t constant)
{
    a += word + constant;
    a += b ^ (c ^ d);
    a = std::rotl(a, S) + b;
}

template <int S>
[[gnu::always_inline]] inline void StepI(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                                         std::uint32_t word, std::uint32_t constant)
{
    a += word + constant;
    a += c ^ (b | ~d);
    a = std::rotl(a, S) + b;
}

}  // namespace

void Md5BlocksPortable(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; count > 0; --count, blocks += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i)
            x[i] = LoadLittle32(blocks + 4 * i);
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        StepF<7>(a, b, c, d, x[0], 0xd76aa478);
        StepF<12>(d, a, b, c, x[1], 0xe8c7b756);
        StepF<17>(c, d, a, b, x[2], 0x242070db);
        StepF<22>(b, c, d, a, x[3], 0xc1bdceee);
        StepF<7>(a, b, c, d, x[4], 0xf57c0faf);
        StepF<12>(d, a, b, c, x[5], 0x4787c62a);
        StepF<17>(c, d, a, b, x[6], 0xa8304613);
        StepF<22>(b, c, d, a, x[7], 0xfd469501);
        StepF<7>(a, b, c, d, x[8], 0x698098d8);
        StepF<12>(d, a, b, c, x[9], 0x8b44f7af);
        StepF<17>(c, d, a, b, x[10], 0xffff5bb1);
        StepF<22>(b, c, d, a, x[11], 0x895cd7be);
        StepF<7>(a, b, c, d, x[12], 0x6b901122);
        StepF<12>(d, a, b, c, x[13], 0xfd987193);
        StepF<17>(c, d, a, b, x[14], 0xa679438e);
        StepF<22>(b, c, d, a, x[15], 0x49b40821);

        StepG<5>(a, b, c, d, x[1], 0xf61e2562);
        StepG<9>(d, a, b, c, x[6], 0xc040b340);
        StepG<14>(c, d, a, b, x[11], 0x265e5a51);
        StepG<20>(b, c, d, a, x[0], 0xe9b6c7aa);
        StepG<5>(a, b, c, d, x[5], 0xd62f105d);
        StepG<9>(d, a, b, c, x[10], 0x02441453);
        StepG<14>(c, d, a, b, x[15], 0xd8a1e681);
        StepG<20>(b, c, d, a, x[4], 0xe7d3fbc8);
        StepG<5>(a, b, c, d, x[9], 0x21e1cde6);
        StepG<9>(d, a, b, c, x[14], 0xc33707d6);
        StepG<14>(c, d, a, b, x[3], 0xf4d50d87);
        StepG<20>(b, c, d, a, x[8], 0x455a14ed);
        StepG<5>(a, b, c, d, x[13], 0xa9e3e905);
        StepG<9>(d, a, b, c, x[2], 0xfcefa3f8);
        StepG<14>(c, d, a, b, x[7], 0x676f02d9);
        StepG<20>(b, c, d, a, x[12], 0x8d2a4c8a);

        StepH<4>(a, b, c, d, x[5], 0xfffa3942);
        StepH<11>(d, a, b, c, x[8], 0x8771f681);
        StepH<16>(c, d, a, b, x[11], 0x6d9d6122);
        StepH<23>(b, c, d, a, x[14], 0xfde5380c);
        StepH<4>(a, b, c, d, x[1], 0xa4beea44);
        StepH<11>(d, a, b, c, x[4], 0x4bdecfa9);
        StepH<16>(c, d, a, b, x[7], 0xf6bb4b60);
        StepH<23>(b, c, d, a, x[10], 0xbebfbc70);
        StepH<4>(a, b, c, d, x[13], 0x289b7ec6);
        StepH<11>(d, a, b, c, x[0], 0xeaa127fa);
        StepH<16>(c, d, a, b, x[3], 0xd4ef3085);
        StepH<23>(b, c, d, a, x[6], 0x04881d05);
        StepH<4>(a, b, c, d, x[9], 0xd9d4d039);
        StepH<11>(d, a, b, c, x[12], 0xe6db99e5);
        StepH<16>(c, d, a, b, x[15], 0x1fa27cf8);
        StepH<23>(b, c, d, a, x[2], 0xc4ac5665);

        StepI<6>(a, b, c, d, x[0], 0xf4292244);
        StepI<10>(d, a, b, c, x[7], 0x432aff97);
        StepI<15>(c, d, a, b, x[14], 0xab9423a7);
        StepI<21>(b, c, d, a, x[5], 0xfc93a039);
        StepI<6>(a, b, c, d, x[12], 0x655b59c3);
        StepI<10>(d, a, b, c, x[3], 0x8f0ccc92);
        StepI<15>(c, d, a, b, x[10], 0xffeff47d);
        StepI<21>(b, c, d, a, x[1], 0x85845dd1);
        StepI<6>(a, b, c, d, x[8], 0x6fa87e4f);
        StepI<10>(d, a, b, c, x[15], 0xfe2ce6e0);
        StepI<15>(c, d, a, b, x[6], 0xa3014314);
        StepI<21>(b, c, d, a, x[13], 0x4e0811a1);
        StepI<6>(a, b, c, d, x[4], 0xf7537e82);
        StepI<10>(d, a, b, c, x[11], 0xbd3af235);
        StepI<15>(c, d, a, b, x[2], 0x2ad7d2bb);
        StepI<21>(b, c, d, a, x[9], 0xeb86d391);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

}  // namespace hash_kernels
