#include "HashTestSupport.h"

#include "core/tools/hash/MultiDigest.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace {

struct KindAndAlgorithm {
    DigestKind kind;
    Algorithm algorithm;
};

const KindAndAlgorithm kKinds[] = {
    {DIGEST_MD5, Algorithm::Md5},       {DIGEST_SHA1, Algorithm::Sha1},     {DIGEST_SHA224, Algorithm::Sha224},
    {DIGEST_SHA256, Algorithm::Sha256}, {DIGEST_SHA384, Algorithm::Sha384}, {DIGEST_SHA512, Algorithm::Sha512},
};

constexpr std::size_t kMiB = 1u << 20;

enum class Feeding { OnePiece, FileReads, RandomPieces };

void Feed(MultiDigest& digests, const std::string& message, Feeding feeding)
{
    std::mt19937 random(3);
    std::size_t at = 0;
    while (at < message.size()) {
        std::size_t size = message.size() - at;
        if (feeding == Feeding::FileReads)
            size = std::min<std::size_t>(size, 4096);
        else if (feeding == Feeding::RandomPieces)
            size = std::min(size, std::uniform_int_distribution<std::size_t>(0, 3 * kMiB)(random));
        digests.Update(message.data() + at, size);
        at += size;
    }
}

} // namespace

// Sizes around the hand-over slices (a few MiB), fed in one piece, in file
// reads and in random pieces that mix gathered and direct hand-overs.
TEST(MultiDigest, EqualsTheSingleDigests)
{
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, 4 * kMiB - 1, 4 * kMiB, 9 * kMiB + 5}) {
        const std::string message = PatternBytes(size, static_cast<unsigned>(size));
        std::vector<std::string> expected;
        for (const auto& k : kKinds)
            expected.push_back(DigestOf(k.algorithm, message));
        for (Feeding feeding : {Feeding::OnePiece, Feeding::FileReads, Feeding::RandomPieces}) {
            MultiDigest digests(DIGEST_ALL);
            Feed(digests, message, feeding);
            digests.Finish();
            for (std::size_t i = 0; i < std::size(kKinds); ++i) {
                EXPECT_EQ(digests.HexDigest(kKinds[i].kind), expected[i])
                    << AlgorithmName(kKinds[i].algorithm) << ", " << size << " bytes, feeding "
                    << static_cast<int>(feeding);
            }
        }
    }
}

TEST(MultiDigest, ComputesOnlyTheChosenKinds)
{
    const std::string message = PatternBytes(1000);
    MultiDigest digests(DIGEST_MD5 | DIGEST_SHA384);
    digests.Update(message.data(), message.size());
    digests.Finish();
    EXPECT_EQ(digests.HexDigest(DIGEST_MD5), DigestOf(Algorithm::Md5, message));
    EXPECT_EQ(digests.HexDigest(DIGEST_SHA384), DigestOf(Algorithm::Sha384, message));
    EXPECT_EQ(digests.HexDigest(DIGEST_SHA256), "");

    MultiDigest nothing(0);
    nothing.Update(message.data(), message.size());
    nothing.Finish();
    EXPECT_EQ(nothing.HexDigest(DIGEST_MD5), "");
}

TEST(MultiDigest, FinishClosesTheMessage)
{
    MultiDigest digests(DIGEST_SHA256 | DIGEST_SHA1);
    digests.Update("abc", 3);
    digests.Finish();
    digests.Finish();
    EXPECT_EQ(digests.HexDigest(DIGEST_SHA256), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_THROW(digests.Update("d", 1), std::logic_error);
    EXPECT_EQ(digests.HexDigest(DIGEST_SHA1), "a9993e364706816aba3e25717850c26c9cd0d89d");
}
