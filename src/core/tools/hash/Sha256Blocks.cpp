#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"
#include "core/tools/hash/HashSupport.h"

#include <bit>
#include <utility>

namespace hash_kernels {
namespace {

// Round Round on the working words v (a to h when Round is a multiple of 8);
// w is the last sixteen message words, extended in place from round 16 on.
template <int Round>
[[gnu::always_inline]] inline void RoundAt(std::uint32_t (&v)[8], std::uint32_t (&w)[16])
{
    constexpr auto at = [](int role) { return (role - Round) & 7; };
    std::uint32_t& word = w[Round & 15];
    if constexpr (Round >= 16) {
        const std::uint32_t twoBack = w[(Round + 14) & 15], fifteenBack = w[(Round + 1) & 15];
        word += (std::rotr(twoBack, 17) ^ std::rotr(twoBack, 19) ^ (twoBack >> 10)) + w[(Round + 9) & 15]
            + (std::rotr(fifteenBack, 7) ^ std::rotr(fifteenBack, 18) ^ (fifteenBack >> 3));
    }
    const std::uint32_t a = v[at(0)], b = v[at(1)], c = v[at(2)];
    const std::uint32_t e = v[at(4)], f = v[at(5)], g = v[at(6)];
    const std::uint32_t t1 = SumOffTheChain(v[at(7)] + word + kSha256RoundConstants[Round] + (g ^ (e & (f ^ g))))
        + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25));
    v[at(3)] += t1;
    v[at(7)] = t1 + ((a & b) | (c & (a | b))) + (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22));
}

template <int... Round>
[[gnu::always_inline]] inline void Rounds(std::uint32_t (&v)[8], std::uint32_t (&w)[16],
                                          std::integer_sequence<int, Round...>)
{
    (RoundAt<Round>(v, w), ...);
}

}  // namespace

void Sha256BlocksPortable(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count)
{
    for (; count > 0; --count, blocks += 64) {
        std::uint32_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = LoadBig32(blocks + 4 * i);
        std::uint32_t v[8];
        for (int i = 0; i < 8; ++i)
            v[i] = state[i];
        Rounds(v, w, std::make_integer_sequence<int, 64>());
        for (int i = 0; i < 8; ++i)
            state[i] += v[i];
    }
}

}  // namespace hash_kernels
