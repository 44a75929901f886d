#include "core/tools/hash/HashKernels.h"
#include "core/tools/hash/HashSupport.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <bit>
#include <cstring>
#include <utility>

// SHA-512 on AVX-512 (F and VL) with BMI2. A round's work is split between
// the register files: a to d live in the low lanes of vector registers, where
// Σ0 is three rotates and one ternary-logic step and Maj one step, e to h in
// general registers, where Σ1 and Ch keep their short scalar path. Each round
// hands T1 over and takes d back, so each side carries about half the work,
// and the e chain (d + h + W + K and Ch first, Σ1 last) steps in four cycles.
// The message schedule runs two blocks at a time in 256-bit registers beside
// the first block's rounds; the second block's rounds find their words ready.
#define QUENZA_AVX512 gnu::target("avx512f,avx512vl,avx2,bmi,bmi2")

namespace hash_kernels {
namespace {

using Lane = __m128i;  // a to d: one word in the low lane
using Pairs = __m256i;  // the schedule: words t and t + 1 of the first block, then of the second

[[QUENZA_AVX512, gnu::always_inline]] inline Lane BigSigma0(Lane a)
{
    return _mm_ternarylogic_epi64(_mm_ror_epi64(a, 28), _mm_ror_epi64(a, 34), _mm_ror_epi64(a, 39), 0x96);
}

[[QUENZA_AVX512, gnu::always_inline]] inline std::uint64_t BigSigma1(std::uint64_t e)
{
    return std::rotr(e, 14) ^ std::rotr(e, 18) ^ std::rotr(e, 41);
}

[[QUENZA_AVX512, gnu::always_inline]] inline Pairs SmallSigma0(Pairs x)
{
    return _mm256_ternarylogic_epi64(_mm256_ror_epi64(x, 1), _mm256_ror_epi64(x, 8), _mm256_srli_epi64(x, 7), 0x96);
}

[[QUENZA_AVX512, gnu::always_inline]] inline Pairs SmallSigma1(Pairs x)
{
    return _mm256_ternarylogic_epi64(_mm256_ror_epi64(x, 19), _mm256_ror_epi64(x, 61), _mm256_srli_epi64(x, 6), 0x96);
}

// SumOffTheChain for a vector sum.
[[QUENZA_AVX512, gnu::always_inline]] inline Lane LaneOffTheChain(Lane value)
{
    asm("" : "+v"(value));
    return value;
}

// One round on the roles passed in: d takes the new a, h the new e.
[[QUENZA_AVX512, gnu::always_inline]] inline void Round(Lane a, Lane b, Lane c, Lane& d, std::uint64_t e,
                                                        std::uint64_t f, std::uint64_t g, std::uint64_t& h,
                                                        std::uint64_t wordPlusConstant)
{
    const std::uint64_t hw = h + wordPlusConstant;
    const std::uint64_t ch = (e & f) ^ (~e & g);
    const std::uint64_t s1 = BigSigma1(e);
    const std::uint64_t t1 = SumOffTheChain(hw + ch) + s1;
    h = SumOffTheChain(SumOffTheChain(static_cast<std::uint64_t>(_mm_cvtsi128_si64(d)) + hw) + ch) + s1;
    d = _mm_add_epi64(LaneOffTheChain(_mm_add_epi64(_mm_cvtsi64_si128(static_cast<long long>(t1)),
                                                    _mm_ternarylogic_epi64(a, b, c, 0xE8))),  // Maj
                      BigSigma0(a));
}

// Round R of a group of four: the roles rotate through a to d and e to h alike.
template <int R>
[[QUENZA_AVX512, gnu::always_inline]] inline void RoundAt(Lane (&av)[4], std::uint64_t (&ev)[4],
                                                          std::uint64_t wordPlusConstant)
{
    constexpr auto at = [](int role) { return (role - R) & 3; };
    Round(av[at(0)], av[at(1)], av[at(2)], av[at(3)], ev[at(0)], ev[at(1)], ev[at(2)], ev[at(3)], wordPlusConstant);
}

// Where block b's (0 or 1) word plus constant t is kept: pairs of words,
// the first block's, then the second's.
constexpr int At(int t, int b)
{
    return (t / 2) * 4 + 2 * b + (t & 1);
}

[[QUENZA_AVX512, gnu::always_inline]] inline Pairs ConstantPairs(int t)
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha512RoundConstants + t)));
}

[[QUENZA_AVX512, gnu::always_inline]] inline void StorePairs(std::uint64_t* words, Pairs pairs)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(words), pairs);
}

// Message words 2k and 2k + 1 of both blocks, from bytes 16k to 16k + 15 of each.
[[QUENZA_AVX512, gnu::always_inline]] inline Pairs LoadBigPairs(const std::uint8_t* bytes, __m128i byteOrder)
{
    const __m128i first = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), byteOrder);
    const __m128i second = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 128)), byteOrder);
    return _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
}

// x[k] holds words 2k and 2k + 1 of the last sixteen. Step K replaces x[K]
// (words t, t + 1) with words t + 16, t + 17 and stores them plus their
// constants.
template <int K>
[[QUENZA_AVX512, gnu::always_inline]] inline void ScheduleStep(Pairs (&x)[8], std::uint64_t* wordsPlusConstants, int t)
{
    const Pairs oneAhead = _mm256_alignr_epi8(x[(K + 1) & 7], x[K], 8);
    const Pairs nineAhead = _mm256_alignr_epi8(x[(K + 5) & 7], x[(K + 4) & 7], 8);
    x[K] = _mm256_add_epi64(_mm256_add_epi64(x[K], SmallSigma0(oneAhead)),
                            _mm256_add_epi64(nineAhead, SmallSigma1(x[(K + 7) & 7])));
    StorePairs(wordsPlusConstants + (t + 16) * 2, _mm256_add_epi64(x[K], ConstantPairs(t + 16)));  // At(t + 16, 0)
}

template <int I>
[[QUENZA_AVX512, gnu::always_inline]] inline void
RoundWithSchedule(Lane (&av)[4], std::uint64_t (&ev)[4], Pairs (&x)[8], std::uint64_t* wordsPlusConstants, int j)
{
    if constexpr (I % 2 == 0)
        ScheduleStep<I / 2>(x, wordsPlusConstants, j + I);
    RoundAt<I % 4>(av, ev, wordsPlusConstants[j * 2 + At(I, 0)]);
}

template <std::size_t... I>
[[QUENZA_AVX512, gnu::always_inline]] inline void
SixteenRoundsWithSchedule(Lane (&av)[4], std::uint64_t (&ev)[4], Pairs (&x)[8], std::uint64_t* wordsPlusConstants,
                          int j, std::index_sequence<I...>)
{
    (RoundWithSchedule<static_cast<int>(I)>(av, ev, x, wordsPlusConstants, j), ...);
}

// Eight rounds of block B from the stored words, from round j on.
template <int B, std::size_t... I>
[[QUENZA_AVX512, gnu::always_inline]] inline void EightRounds(Lane (&av)[4], std::uint64_t (&ev)[4],
                                                              const std::uint64_t* wordsPlusConstants, int j,
                                                              std::index_sequence<I...>)
{
    (RoundAt<static_cast<int>(I) % 4>(av, ev, wordsPlusConstants[j * 2 + At(static_cast<int>(I), B)]), ...);
}

[[QUENZA_AVX512, gnu::always_inline]] inline void Begin(const std::uint64_t (&chaining)[8], Lane (&av)[4],
                                                        std::uint64_t (&ev)[4])
{
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        av[i] = _mm_cvtsi64_si128(static_cast<long long>(chaining[i]));
        ev[i] = chaining[4 + i];
    }
}

[[QUENZA_AVX512, gnu::always_inline]] inline void End(std::uint64_t (&chaining)[8], const Lane (&av)[4],
                                                      const std::uint64_t (&ev)[4])
{
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        chaining[i] += static_cast<std::uint64_t>(_mm_cvtsi128_si64(av[i]));
        chaining[4 + i] += ev[i];
    }
}

// The first of two blocks (the second block's bytes follow it): the schedule
// of both beside its rounds.
[[QUENZA_AVX512, gnu::always_inline]] inline void FirstBlock(std::uint64_t (&chaining)[8], const std::uint8_t* blocks,
                                                             std::uint64_t* wordsPlusConstants)
{
    const __m128i byteOrder = _mm_set_epi8(8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7);
    Pairs x[8];
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        x[k] = LoadBigPairs(blocks + 16 * k, byteOrder);
        StorePairs(wordsPlusConstants + 4 * k, _mm256_add_epi64(x[k], ConstantPairs(2 * k)));  // At(2k, 0)
    }
    Lane av[4];
    std::uint64_t ev[4];
    Begin(chaining, av, ev);
    for (int j = 0; j < 64; j += 16)
        SixteenRoundsWithSchedule(av, ev, x, wordsPlusConstants, j, std::make_index_sequence<16>());
    for (int j = 64; j < 80; j += 8)
        EightRounds<0>(av, ev, wordsPlusConstants, j, std::make_index_sequence<8>());
    End(chaining, av, ev);
}

[[QUENZA_AVX512, gnu::always_inline]] inline void SecondBlock(std::uint64_t (&chaining)[8],
                                                              const std::uint64_t* wordsPlusConstants)
{
    Lane av[4];
    std::uint64_t ev[4];
    Begin(chaining, av, ev);
    for (int j = 0; j < 80; j += 8)
        EightRounds<1>(av, ev, wordsPlusConstants, j, std::make_index_sequence<8>());
    End(chaining, av, ev);
}

}  // namespace

[[QUENZA_AVX512]] void Sha512BlocksAvx512(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count)
{
    alignas(32) std::uint64_t wordsPlusConstants[160];
    // A local copy, since the message bytes might alias the state for all
    // the compiler knows, which would send it through memory every block.
    std::uint64_t chaining[8];
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i)
        chaining[i] = state[i];
    for (; count >= 2; count -= 2, blocks += 256) {
        FirstBlock(chaining, blocks, wordsPlusConstants);
        SecondBlock(chaining, wordsPlusConstants);
    }
    if (count > 0) {
        // A last odd block: its schedule beside an unused second one.
        std::uint8_t pair[256] = {};
        std::memcpy(pair, blocks, 128);
        FirstBlock(chaining, pair, wordsPlusConstants);
    }
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i)
        state[i] = chaining[i];
}

}  // namespace hash_kernels

#undef QUENZA_AVX512

#endif
