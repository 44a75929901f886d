#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"
#include "core/tools/hash/HashSupport.h"

#include <bit>
#include <cstring>
#include <utility>

// The rounds form one long scalar dependency chain; the message schedule does
// not depend on them. So the schedule runs two words at a time in vector
// registers, sixteen rounds ahead, and its work hides behind the rounds'.
// One body serves every processor: compiled plainly it uses the baseline
// vector unit, compiled for newer x86-64 it gets native 64-bit rotates (AVX-512)
// or three-operand rotates and ANDN in the rounds (BMI2).
namespace hash_kernels {
namespace {

constexpr std::uint64_t kRoundConstants[80] = {
    0x428a2f98d728ae22, 0x7137449123ef65cd, 0xb5c0fbcfec4d3b2f, 0xe9b5dba58189dbbc, 0x3956c25bf348b538,
    0x59f111f1b605d019, 0x923f82a4af194f9b, 0xab1c5ed5da6d8118, 0xd807aa98a3030242, 0x12835b0145706fbe,
    0x243185be4ee4b28c, 0x550c7dc3d5ffb4e2, 0x72be5d74f27b896f, 0x80deb1fe3b1696b1, 0x9bdc06a725c71235,
    0xc19bf174cf692694, 0xe49b69c19ef14ad2, 0xefbe4786384f25e3, 0x0fc19dc68b8cd5b5, 0x240ca1cc77ac9c65,
    0x2de92c6f592b0275, 0x4a7484aa6ea6e483, 0x5cb0a9dcbd41fbd4, 0x76f988da831153b5, 0x983e5152ee66dfab,
    0xa831c66d2db43210, 0xb00327c898fb213f, 0xbf597fc7beef0ee4, 0xc6e00bf33da88fc2, 0xd5a79147930aa725,
    0x06ca6351e003826f, 0x142929670a0e6e70, 0x27b70a8546d22ffc, 0x2e1b21385c26c926, 0x4d2c6dfc5ac42aed,
    0x53380d139d95b3df, 0x650a73548baf63de, 0x766a0abb3c77b2a8, 0x81c2c92e47edaee6, 0x92722c851482353b,
    0xa2bfe8a14cf10364, 0xa81a664bbc423001, 0xc24b8b70d0f89791, 0xc76c51a30654be30, 0xd192e819d6ef5218,
    0xd69906245565a910, 0xf40e35855771202a, 0x106aa07032bbd1b8, 0x19a4c116b8d2d0c8, 0x1e376c085141ab53,
    0x2748774cdf8eeb99, 0x34b0bcb5e19b48a8, 0x391c0cb3c5c95a63, 0x4ed8aa4ae3418acb, 0x5b9cca4f7763e373,
    0x682e6ff3d6b2b8a3, 0x748f82ee5defb2fc, 0x78a5636f43172f60, 0x84c87814a1f0ab72, 0x8cc702081a6439ec,
    0x90befffa23631e28, 0xa4506cebde82bde9, 0xbef9a3f7b2c67915, 0xc67178f2e372532b, 0xca273eceea26619c,
    0xd186b8c721c0c207, 0xeada7dd6cde0eb1e, 0xf57d4f7fee6ed178, 0x06f067aa72176fba, 0x0a637dc5a2c898a6,
    0x113f9804bef90dae, 0x1b710b35131c471b, 0x28db77f523047d84, 0x32caab7b40c72493, 0x3c9ebe0a15c9bebc,
    0x431d67c49c100d4c, 0x4cc5d4becb3e42b6, 0x597f299cfc657e2a, 0x5fcb6fab3ad6faec, 0x6c44198c4a475817};

[[gnu::always_inline]] inline std::uint64_t BigSigma0(std::uint64_t x)
{
    return std::rotr(x, 28) ^ std::rotr(x, 34) ^ std::rotr(x, 39);
}

[[gnu::always_inline]] inline std::uint64_t BigSigma1(std::uint64_t x)
{
    return std::rotr(x, 14) ^ std::rotr(x, 18) ^ std::rotr(x, 41);
}

// One round with the roles of the eight words passed in; the caller rotates
// the names instead of moving the values. aXorB holds b ^ c on entry and
// a ^ b on return, which is the next round's b ^ c, so Maj costs two steps.
[[gnu::always_inline]] inline void Round(std::uint64_t a, std::uint64_t b, std::uint64_t& d, std::uint64_t e,
                                         std::uint64_t f, std::uint64_t g, std::uint64_t& h,
                                         std::uint64_t wordPlusConstant, std::uint64_t& aXorB)
{
    const std::uint64_t t1 = SumOffTheChain(h + wordPlusConstant + (g ^ (e & (f ^ g)))) + BigSigma1(e);
    const std::uint64_t bXorC = aXorB;
    aXorB = a ^ b;
    d += t1;
    h = t1 + (b ^ (aXorB & bXorC)) + BigSigma0(a);
}

// Round R of a group of eight, on the working words v (a to h at R = 0).
template <int R>
[[gnu::always_inline]] inline void RoundAt(std::uint64_t (&v)[8], std::uint64_t wordPlusConstant, std::uint64_t& aXorB)
{
    constexpr auto at = [](int role) { return (role - R) & 7; };
    Round(v[at(0)], v[at(1)], v[at(3)], v[at(4)], v[at(5)], v[at(6)], v[at(7)], wordPlusConstant, aXorB);
}

// Eight rounds; wordPlusConstant(i) gives W + K of the group's round i.
template <class WordPlusConstant>
[[gnu::always_inline]] inline void EightRounds(std::uint64_t (&v)[8], std::uint64_t& aXorB,
                                               WordPlusConstant wordPlusConstant)
{
    RoundAt<0>(v, wordPlusConstant(0), aXorB);
    RoundAt<1>(v, wordPlusConstant(1), aXorB);
    RoundAt<2>(v, wordPlusConstant(2), aXorB);
    RoundAt<3>(v, wordPlusConstant(3), aXorB);
    RoundAt<4>(v, wordPlusConstant(4), aXorB);
    RoundAt<5>(v, wordPlusConstant(5), aXorB);
    RoundAt<6>(v, wordPlusConstant(6), aXorB);
    RoundAt<7>(v, wordPlusConstant(7), aXorB);
}

typedef std::uint64_t WordPair __attribute__((vector_size(16)));
typedef std::uint8_t Bytes16 __attribute__((vector_size(16)));

[[gnu::always_inline]] inline WordPair LoadPair(const std::uint64_t* words)
{
    WordPair pair;
    std::memcpy(&pair, words, sizeof pair);
    return pair;
}

[[gnu::always_inline]] inline void StorePair(std::uint64_t* words, WordPair pair)
{
    std::memcpy(words, &pair, sizeof pair);
}

// kByteShuffle: the vector unit can reverse bytes in one step (not so on
// baseline x86-64, where two scalar loads are quicker).
template <bool kByteShuffle>
[[gnu::always_inline]] inline WordPair LoadBigPair(const std::uint8_t* bytes)
{
    if constexpr (kByteShuffle && std::endian::native == std::endian::little) {
        Bytes16 raw;
        std::memcpy(&raw, bytes, sizeof raw);
        raw = __builtin_shufflevector(raw, raw, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
        return reinterpret_cast<WordPair>(raw);
    } else {
        return WordPair{LoadBig64(bytes), LoadBig64(bytes + 8)};
    }
}

template <int N>
[[gnu::always_inline]] inline WordPair RotateRight(WordPair x)
{
    return (x >> N) | (x << (64 - N));
}

[[gnu::always_inline]] inline WordPair SmallSigma0Pair(WordPair x)
{
    return RotateRight<1>(x) ^ RotateRight<8>(x) ^ (x >> 7);
}

[[gnu::always_inline]] inline WordPair SmallSigma1Pair(WordPair x)
{
    return RotateRight<19>(x) ^ RotateRight<61>(x) ^ (x >> 6);
}

// x[k] holds words 2k and 2k + 1 of the last sixteen. Step K replaces x[K]
// (words t, t + 1) with words t + 16, t + 17 and stores them plus their
// constants at wordsPlusConstants[t + 16].
template <int K>
[[gnu::always_inline]] inline void ScheduleStep(WordPair (&x)[8], std::uint64_t* wordsPlusConstants, int t)
{
    const WordPair oneAhead = __builtin_shufflevector(x[K], x[(K + 1) & 7], 1, 2);
    const WordPair nineAhead = __builtin_shufflevector(x[(K + 4) & 7], x[(K + 5) & 7], 1, 2);
    x[K] = (x[K] + SmallSigma0Pair(oneAhead)) + (nineAhead + SmallSigma1Pair(x[(K + 7) & 7]));
    StorePair(wordsPlusConstants + t + 16, x[K] + LoadPair(kRoundConstants + t + 16));
}

template <int I>
[[gnu::always_inline]] inline void RoundWithSchedule(std::uint64_t (&v)[8], std::uint64_t& aXorB, WordPair (&x)[8],
                                                     std::uint64_t* wordsPlusConstants, int j)
{
    if constexpr (I % 2 == 0)
        ScheduleStep<I / 2>(x, wordsPlusConstants, j + I);
    RoundAt<I % 8>(v, wordsPlusConstants[j + I], aXorB);
}

template <std::size_t... I>
[[gnu::always_inline]] inline void SixteenRoundsWithSchedule(std::uint64_t (&v)[8], std::uint64_t& aXorB,
                                                             WordPair (&x)[8], std::uint64_t* wordsPlusConstants, int j,
                                                             std::index_sequence<I...>)
{
    (RoundWithSchedule<static_cast<int>(I)>(v, aXorB, x, wordsPlusConstants, j), ...);
}

// The loops over the eight words run whole ("unroll 8"): indexed at run time
// the words would go through memory, and the compiler would add them as one
// vector loaded from eight scalar stores, a stall of every block.
template <bool kByteShuffle>
[[gnu::always_inline]] inline void Sha512BlocksBody(std::uint64_t state[8], const std::uint8_t* blocks,
                                                    std::size_t count)
{
    alignas(16) std::uint64_t wordsPlusConstants[80];
    // A local copy, since the message bytes might alias the state for all
    // the compiler knows, which would send it through memory every block.
    std::uint64_t chaining[8];
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i)
        chaining[i] = state[i];
    for (; count > 0; --count, blocks += 128) {
        WordPair x[8];
#pragma GCC unroll 8
        for (int k = 0; k < 8; ++k) {
            x[k] = LoadBigPair<kByteShuffle>(blocks + 16 * k);
            StorePair(wordsPlusConstants + 2 * k, x[k] + LoadPair(kRoundConstants + 2 * k));
        }
        std::uint64_t v[8];
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i)
            v[i] = chaining[i];
        std::uint64_t aXorB = v[1] ^ v[2];
        for (int j = 0; j < 64; j += 16)
            SixteenRoundsWithSchedule(v, aXorB, x, wordsPlusConstants, j, std::make_index_sequence<16>());
        for (int j = 64; j < 80; j += 8)
            EightRounds(v, aXorB, [&](int i) { return wordsPlusConstants[j + i]; });
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i)
            chaining[i] += v[i];
    }
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i)
        state[i] = chaining[i];
}

}  // namespace

void Sha512BlocksPortable(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count)
{
    Sha512BlocksBody<false>(state, blocks, count);
}

#if defined(__x86_64__)
[[gnu::target("avx2,bmi,bmi2")]] void Sha512BlocksAvx2(std::uint64_t state[8], const std::uint8_t* blocks,
                                                       std::size_t count)
{
    Sha512BlocksBody<true>(state, blocks, count);
}

[[gnu::target("avx512f,avx512vl,avx2,bmi,bmi2")]] void Sha512BlocksAvx512(std::uint64_t state[8],
                                                                          const std::uint8_t* blocks, std::size_t count)
{
    Sha512BlocksBody<true>(state, blocks, count);
}
#endif

}  // namespace hash_kernels
