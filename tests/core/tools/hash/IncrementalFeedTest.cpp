#include "HashTestSupport.h"

#include "core/base/Format.h"
#include "core/tools/hash/SHA1.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const Algorithm kAllAlgorithms[] = {Algorithm::Md5,    Algorithm::Sha1Class, Algorithm::Sha1,  Algorithm::Sha224,
                                    Algorithm::Sha256, Algorithm::Sha384,    Algorithm::Sha512};

// The message cut at random points (empty pieces included).
std::vector<std::string_view> RandomPieces(std::string_view message, std::mt19937& random)
{
    std::vector<std::string_view> pieces;
    std::size_t at = 0;
    while (at < message.size()) {
        const std::size_t most = std::min<std::size_t>(message.size() - at, 150);
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, most)(random);
        pieces.push_back(message.substr(at, size));
        at += size;
    }
    return pieces;
}

}  // namespace

class IncrementalFeed : public BothKernels {};
INSTANTIATE_WITH_BOTH_KERNELS(IncrementalFeed);

// Every length across the block boundaries of both block sizes, each in one
// piece and in random splits.
TEST_P(IncrementalFeed, RandomSplitsGiveTheOnePieceDigest)
{
    std::mt19937 random(8);
    for (std::size_t length = 0; length <= 300; ++length) {
        const std::string message = PatternBytes(length, static_cast<unsigned>(length));
        for (Algorithm algorithm : kAllAlgorithms) {
            const std::string whole = DigestOf(algorithm, message);
            for (int split = 0; split < 3; ++split) {
                ASSERT_EQ(DigestOfPieces(algorithm, RandomPieces(message, random)), whole)
                    << AlgorithmName(algorithm) << ", " << length << " bytes";
            }
        }
        ASSERT_EQ(DigestOf(Algorithm::Sha1Class, message), DigestOf(Algorithm::Sha1, message)) << length;
    }
}

TEST_P(IncrementalFeed, InputByteGivesTheWholeInputDigest)
{
    for (std::size_t length : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 300u}) {
        const std::string message = PatternBytes(length);
        SHA1 sha;
        for (char byte : message)
            sha.InputByte(byte);
        unsigned words[5];
        ASSERT_TRUE(sha.Result(words));
        EXPECT_EQ(Format("%08x%08x%08x%08x%08x", words[0], words[1], words[2], words[3], words[4]),
                  DigestOf(Algorithm::Sha1, message))
            << length;
    }
}
