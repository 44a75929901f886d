#include "HashTestSupport.h"

#include "core/tools/hash/HashKernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

// Each processor-specific block function against the portable one, from
// random chaining states over runs of several blocks.
namespace {

template <class Word, std::size_t kWords, class Function>
void ExpectSameAsPortable(Function variant, Function portable, std::size_t blockSize, const char* name)
{
    std::mt19937_64 random(5);
    for (std::size_t blocks : {1u, 2u, 3u, 7u, 16u}) {
        const std::string data = PatternBytes(blocks * blockSize, static_cast<unsigned>(blocks));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
        Word expected[kWords];
        for (Word& word : expected)
            word = static_cast<Word>(random());
        Word actual[kWords];
        std::memcpy(actual, expected, sizeof actual);
        portable(expected, bytes, blocks);
        variant(actual, bytes, blocks);
        EXPECT_EQ(std::memcmp(expected, actual, sizeof actual), 0) << name << ", " << blocks << " blocks";
    }
}

}  // namespace

#if defined(__x86_64__)
TEST(KernelVariants, ShaExtensionsMatchPortable)
{
    if (!DetectCpuHashFeatures().shaExtensions)
        GTEST_SKIP() << "this processor has no SHA extensions";
    ExpectSameAsPortable<std::uint32_t, 5>(hash_kernels::Sha1BlocksShaNi, hash_kernels::Sha1BlocksPortable, 64,
                                           "SHA-1");
    ExpectSameAsPortable<std::uint32_t, 8>(hash_kernels::Sha256BlocksShaNi, hash_kernels::Sha256BlocksPortable, 64,
                                           "SHA-256");
}

TEST(KernelVariants, WideSha512MatchesPortable)
{
    const CpuHashFeatures cpu = DetectCpuHashFeatures();
    if (!cpu.avx2Bmi2)
        GTEST_SKIP() << "this processor has no AVX2";
    ExpectSameAsPortable<std::uint64_t, 8>(hash_kernels::Sha512BlocksAvx2, hash_kernels::Sha512BlocksPortable, 128,
                                           "SHA-512 AVX2");
    if (cpu.avx512)
        ExpectSameAsPortable<std::uint64_t, 8>(hash_kernels::Sha512BlocksAvx512, hash_kernels::Sha512BlocksPortable,
                                               128, "SHA-512 AVX-512");
}
#endif

TEST(KernelVariants, SelectionSwitchesTheBlockFunctions)
{
    SelectHashKernels(HashKernels::Portable);
    EXPECT_EQ(SelectedHashKernels(), HashKernels::Portable);
    EXPECT_EQ(DescribeHashKernels(), "MD5 portable, SHA-1 portable, SHA-256 portable, SHA-512 portable");
    SelectHashKernels(HashKernels::Fastest);
    const CpuHashFeatures cpu = DetectCpuHashFeatures();
    EXPECT_EQ(DescribeHashKernels().find("SHA-256 sha-ni") != std::string::npos, cpu.shaExtensions);
    EXPECT_EQ(DescribeHashKernels().find("SHA-512 avx512") != std::string::npos, cpu.avx512);
}
