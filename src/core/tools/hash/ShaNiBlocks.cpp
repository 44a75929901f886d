#include "core/tools/hash/HashKernels.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <utility>

// SHA-1 and SHA-256 on the processor's SHA extensions. Only called after the
// dispatcher has seen them in CPUID; the rest of the build needs no flags.
#define QUENZA_SHA_NI gnu::target("sha,sse4.1")

namespace hash_kernels {
namespace {

[[QUENZA_SHA_NI, gnu::always_inline]] inline __m128i LoadBlockPart(const std::uint8_t* bytes, __m128i byteOrder)
{
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), byteOrder);
}

// SHA-1: group G is rounds 4G to 4G + 3. The message words come with the
// first word in the top lane; message[G % 4] holds words 4G to 4G + 3.
struct Sha1Lanes {
    __m128i abcd;
    __m128i abcdBefore;  // abcd before the last four rounds, for the next E
    __m128i message[4];
};

template <int G>
[[QUENZA_SHA_NI, gnu::always_inline]] inline void Sha1Group(Sha1Lanes& lanes, __m128i eStart, const std::uint8_t* block,
                                                            __m128i byteOrder)
{
    __m128i& words = lanes.message[G % 4];
    if constexpr (G < 4) {
        words = LoadBlockPart(block + 16 * G, byteOrder);
    } else {
        const __m128i mixed = _mm_xor_si128(_mm_sha1msg1_epu32(words, lanes.message[(G + 1) % 4]),
                                            lanes.message[(G + 2) % 4]);
        words = _mm_sha1msg2_epu32(mixed, lanes.message[(G + 3) % 4]);
    }
    const __m128i e = G == 0 ? _mm_add_epi32(eStart, words) : _mm_sha1nexte_epu32(lanes.abcdBefore, words);
    lanes.abcdBefore = lanes.abcd;
    lanes.abcd = _mm_sha1rnds4_epu32(lanes.abcd, e, G / 5);
}

template <int... G>
[[QUENZA_SHA_NI, gnu::always_inline]] inline void Sha1Groups(Sha1Lanes& lanes, __m128i eStart,
                                                             const std::uint8_t* block, __m128i byteOrder,
                                                             std::integer_sequence<int, G...>)
{
    (Sha1Group<G>(lanes, eStart, block, byteOrder), ...);
}

// SHA-256: group G is rounds 4G to 4G + 3, message[G % 4] holds its words
// (first word in the lowest lane). The state lives as ABEF and CDGH.
template <int G>
[[QUENZA_SHA_NI, gnu::always_inline]] inline void Sha256Group(__m128i& abef, __m128i& cdgh, __m128i (&message)[4],
                                                              const std::uint8_t* block, __m128i byteOrder)
{
    __m128i& words = message[G % 4];
    if constexpr (G < 4) {
        words = LoadBlockPart(block + 16 * G, byteOrder);
    } else {
        const __m128i sevenBack = _mm_alignr_epi8(message[(G + 3) % 4], message[(G + 2) % 4], 4);
        words = _mm_add_epi32(_mm_sha256msg1_epu32(words, message[(G + 1) % 4]), sevenBack);
        words = _mm_sha256msg2_epu32(words, message[(G + 3) % 4]);
    }
    const __m128i wordsPlusConstants = _mm_add_epi32(
        words, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha256RoundConstants + 4 * G)));
    cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wordsPlusConstants);
    abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(wordsPlusConstants, 0x0E));
}

template <int... G>
[[QUENZA_SHA_NI, gnu::always_inline]] inline void Sha256Groups(__m128i& abef, __m128i& cdgh, __m128i (&message)[4],
                                                               const std::uint8_t* block, __m128i byteOrder,
                                                               std::integer_sequence<int, G...>)
{
    (Sha256Group<G>(abef, cdgh, message, block, byteOrder), ...);
}

}  // namespace

[[QUENZA_SHA_NI]] void Sha1BlocksShaNi(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count)
{
    const __m128i byteOrder = _mm_set_epi64x(0x0001020304050607, 0x08090a0b0c0d0e0f);
    Sha1Lanes lanes;
    lanes.abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    for (; count > 0; --count, blocks += 64) {
        const __m128i abcdStart = lanes.abcd;
        Sha1Groups(lanes, e, blocks, byteOrder, std::make_integer_sequence<int, 20>());
        e = _mm_sha1nexte_epu32(lanes.abcdBefore, e);
        lanes.abcd = _mm_add_epi32(lanes.abcd, abcdStart);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(lanes.abcd, 0x1B));
    state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e, 3));
}

[[QUENZA_SHA_NI]] void Sha256BlocksShaNi(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count)
{
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0b, 0x0405060700010203);
    const __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (; count > 0; --count, blocks += 64) {
        const __m128i abefStart = abef, cdghStart = cdgh;
        __m128i message[4];
        Sha256Groups(abef, cdgh, message, blocks, byteOrder, std::make_integer_sequence<int, 16>());
        abef = _mm_add_epi32(abef, abefStart);
        cdgh = _mm_add_epi32(cdgh, cdghStart);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

}  // namespace hash_kernels

#undef QUENZA_SHA_NI

#endif
