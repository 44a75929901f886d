#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"

#include <bit>
#include <utility>

namespace hash_kernels {
namespace {

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

[[gnu::always_inline]] inline std::uint32_t SumOffTheChain(std::uint32_t value)
{
    asm("" : "+r"(value)); // see the SHA-512 rounds
    return value;
}

// Round Round on the working words v (a to h when Round is a multiple of 8);
// w is the last sixteen message words, extended in place from round 16 on.
template <int Round>
[[gnu::always_inline]] inline void RoundAt(std::uint32_t (&v)[8], std::uint32_t (&w)[16])
{
    constexpr auto at = [](int role) { return (role - Round) & 7; };
    std::uint32_t& word = w[Round & 15];
    if constexpr (Round >= 16) {
        const std::uint32_t twoBack = w[(Round + 14) & 15], fifteenBack = w[(Round + 1) & 15];
        word += (std::rotr(twoBack, 17) ^ std::rotr(twoBack, 19) ^ (twoBack >> 10)) + w[(Round + 9) & 15] +
                (std::rotr(fifteenBack, 7) ^ std::rotr(fifteenBack, 18) ^ (fifteenBack >> 3));
    }
    const std::uint32_t a = v[at(0)], b = v[at(1)], c = v[at(2)];
    const std::uint32_t e = v[at(4)], f = v[at(5)], g = v[at(6)];
    const std::uint32_t t1 = SumOffTheChain(v[at(7)] + word + kRoundConstants[Round] + (g ^ (e & (f ^ g)))) +
                             (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25));
    v[at(3)] += t1;
    v[at(7)] = t1 + ((a & b) | (c & (a | b))) + (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22));
}

template <int... Round>
[[gnu::always_inline]] inline void Rounds(std::uint32_t (&v)[8], std::uint32_t (&w)[16],
                                          std::integer_sequence<int, Round...>)
{
    (RoundAt<Round>(v, w), ...);
}

} // namespace

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

} // namespace hash_kernels
