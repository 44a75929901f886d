#pragma once

#include "core/tools/hash/HashKernelSelect.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

// Every way the hash classes compute a digest. Sha1Class is the SHA1 class,
// Sha1 is SHAHash of type 1.
enum class Algorithm { Md5, Sha1Class, Sha1, Sha224, Sha256, Sha384, Sha512 };

const char* AlgorithmName(Algorithm algorithm);

// The lower-case hex digest of the message fed as these pieces, in order.
std::string DigestOfPieces(Algorithm algorithm, const std::vector<std::string_view>& pieces);
std::string DigestOf(Algorithm algorithm, std::string_view message);

std::string HexToBytes(std::string_view hex);
// Deterministic bytes that are not a repeating pattern.
std::string PatternBytes(std::size_t length, unsigned seed = 1);

// Runs a test with the processor's fastest block functions and again with
// the portable ones; restores the fastest afterwards.
class BothKernels : public ::testing::TestWithParam<HashKernels> {
protected:
    void SetUp() override { SelectHashKernels(GetParam()); }
    void TearDown() override { SelectHashKernels(HashKernels::Fastest); }
};

std::string KernelsName(const ::testing::TestParamInfo<HashKernels>& info);
void PrintTo(HashKernels kernels, std::ostream* out);

#define INSTANTIATE_WITH_BOTH_KERNELS(suite)                                                                           \
    INSTANTIATE_TEST_SUITE_P(Kernels, suite, ::testing::Values(HashKernels::Fastest, HashKernels::Portable),           \
                             KernelsName)
