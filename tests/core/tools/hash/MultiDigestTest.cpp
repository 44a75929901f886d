#include "HashTestSupport.h"

#include "core/tools/hash/MultiDigest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
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

enum class Feeding { OnePiece, SmallReads, RandomPieces, MixedHandOvers };

// Feeds the message in pieces: small reads of smallRead bytes, or random
// pieces of up to three times that (empty ones included). Each piece comes
// from one reused buffer that is scribbled over once Update returns, as a
// reader's buffer would be.
std::atomic<int> g_handedOver{0};
std::atomic<int> g_letGo{0};

void Feed(MultiDigest& digests, const std::string& message, Feeding feeding, std::size_t smallRead)
{
    std::mt19937 random(3);
    std::string reused;
    std::size_t at = 0;
    while (at < message.size()) {
        std::size_t size = message.size() - at;
        if (feeding == Feeding::SmallReads)
            size = std::min(size, smallRead);
        else if (feeding == Feeding::RandomPieces)
            size = std::min(size, std::uniform_int_distribution<std::size_t>(0, 3 * smallRead)(random));
        if (feeding == Feeding::MixedHandOvers)
            size = std::min(message.size() - at, std::uniform_int_distribution<std::size_t>(0, 3 * smallRead)(random));
        if (feeding == Feeding::MixedHandOvers && random() % 2 == 0) {
            // Handed over: the digests own the copy until they have read it.
            auto* copy = new std::uint8_t[size + 1];
            std::memcpy(copy, message.data() + at, size);
            ++g_handedOver;
            digests.Update(std::shared_ptr<const std::uint8_t>(copy,
                                                               [](const std::uint8_t* owned) {
                                                                   ++g_letGo;
                                                                   delete[] owned;
                                                               }),
                           size);
        } else {
            reused.assign(message, at, size);
            digests.Update(reused.data(), size);
            std::fill(reused.begin(), reused.end(), '\xA5');
        }
        at += size;
    }
}

void ExpectSingleDigests(std::size_t size, std::size_t sliceBytes, std::size_t smallRead)
{
    const std::string message = PatternBytes(size, static_cast<unsigned>(size));
    std::vector<std::string> expected;
    for (const auto& k : kKinds)
        expected.push_back(DigestOf(k.algorithm, message));
    for (Feeding feeding : {Feeding::OnePiece, Feeding::SmallReads, Feeding::RandomPieces, Feeding::MixedHandOvers}) {
        MultiDigest digests(DIGEST_ALL, sliceBytes);
        Feed(digests, message, feeding, smallRead);
        digests.Finish();
        EXPECT_EQ(g_letGo, g_handedOver) << "every owner is let go once the digests are done";
        for (std::size_t i = 0; i < std::size(kKinds); ++i) {
            EXPECT_EQ(digests.HexDigest(kKinds[i].kind), expected[i])
                << AlgorithmName(kKinds[i].algorithm) << ", " << size << " bytes in slices of " << sliceBytes
                << ", feeding " << static_cast<int>(feeding);
        }
    }
}

}  // namespace

// Slices of an odd size cut the blocks anywhere; messages of many slices
// wrap the ring many times, with gathered, in-place and mixed hand-overs.
TEST(MultiDigest, EqualsTheSingleDigestsAcrossManySlices)
{
    for (std::size_t size : {0u, 1u, 999u, 1000u, 1001u, 23456u})
        ExpectSingleDigests(size, 1000, 300);
}

TEST(MultiDigest, EqualsTheSingleDigestsWithTheDefaultSlices)
{
    ExpectSingleDigests(2 * MultiDigest::kDefaultSliceBytes + 5, MultiDigest::kDefaultSliceBytes, 4096);
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

TEST(MultiDigest, CanBeDroppedUnfinished)
{
    const std::string message = PatternBytes(5000);
    MultiDigest digests(DIGEST_ALL, 1000);
    digests.Update(message.data(), message.size());
}
