#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"
#include "core/tools/hash/HashSupport.h"

#include <bit>
#include <cstring>
#include <utility>

// The rounds form one long scalar dependency chain; the message schedule does
// not depend on them. So the schedule runs two words at a time in vector
// registers, sixteen rounds ahead, and its work hides behind the rounds'.
// One body serves the portable and the AVX2 variants: compiled plainly it
// uses the baseline vector unit, compiled for AVX2 it gets three-operand
// rotates and ANDN in the rounds (BMI2). AVX-512 has a body of its own
// (Sha512Avx512Blocks.cpp).
namespace hash_kernels {
namespace {

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
    StorePair(wordsPlusConstants + t + 16, x[K] + LoadPair(kSha512RoundConstants + t + 16));
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
            StorePair(wordsPlusConstants + 2 * k, x[k] + LoadPair(kSha512RoundConstants + 2 * k));
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
#endif

}  // namespace hash_kernels
