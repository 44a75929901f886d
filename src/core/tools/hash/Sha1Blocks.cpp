#include "core/tools/hash/ByteOrder.h"
#include "core/tools/hash/HashKernels.h"

#include <bit>
#include <utility>

namespace hash_kernels {
namespace {

// The round function and constant of each twenty rounds.
template <int Round>
[[gnu::always_inline]] inline std::uint32_t Mix(std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    if constexpr (Round < 20)
        return d ^ (b & (c ^ d));
    else if constexpr (Round < 40 || Round >= 60)
        return b ^ c ^ d;
    else
        return (b & c) | (d & (b | c));
}

template <int Round>
constexpr std::uint32_t kConstant = Round < 20 ? 0x5a827999
    : Round < 40                               ? 0x6ed9eba1
    : Round < 60                               ? 0x8f1bbcdc
                                               : 0xca62c1d6;

// Round Round on the working words v (a to e when Round is a multiple of 5);
// w is the last sixteen message words, extended in place from round 16 on.
template <int Round>
[[gnu::always_inline]] inline void RoundAt(std::uint32_t (&v)[5], std::uint32_t (&w)[16])
{
    constexpr auto at = [](int role) { return (role + 5 * 16 - Round) % 5; };
    std::uint32_t& word = w[Round & 15];
    if constexpr (Round >= 16)
        word = std::rotl(w[(Round + 13) & 15] ^ w[(Round + 8) & 15] ^ w[(Round + 2) & 15] ^ word, 1);
    const std::uint32_t a = v[at(0)], b = v[at(1)], c = v[at(2)], d = v[at(3)];
    v[at(4)] += word + kConstant<Round> + Mix<Round>(b, c, d) + std::rotl(a, 5);
    v[at(1)] = std::rotl(b, 30);
}

template <int... Round>
[[gnu::always_inline]] inline void Rounds(std::uint32_t (&v)[5], std::uint32_t (&w)[16],
                                          std::integer_sequence<int, Round...>)
{
    (RoundAt<Round>(v, w), ...);
}

}  // namespace

void Sha1BlocksPortable(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count)
{
    for (; count > 0; --count, blocks += 64) {
        std::uint32_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = LoadBig32(blocks + 4 * i);
        std::uint32_t v[5] = {state[0], state[1], state[2], state[3], state[4]};
        Rounds(v, w, std::make_integer_sequence<int, 80>());
        for (int i = 0; i < 5; ++i)
            state[i] += v[i];
    }
}

}  // namespace hash_kernels
