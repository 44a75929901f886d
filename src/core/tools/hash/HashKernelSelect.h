#pragma once

#include <string>

// Which block functions the hashes run on. Fastest uses what the processor
// offers (SHA extensions for SHA-1 and SHA-256, AVX-512 or AVX2 with BMI2
// for SHA-512); Portable is plain C++ on any processor. The program keeps
// Fastest; tests switch to Portable to check both give the same digests.
enum class HashKernels { Fastest, Portable };

void SelectHashKernels(HashKernels kernels);
HashKernels SelectedHashKernels();

// What the processor offers the hashes.
struct CpuHashFeatures {
    bool shaExtensions = false;  // SHA-1 and SHA-256 instructions (with SSE4.1)
    bool avx2Bmi2 = false;
    bool avx512 = false;  // AVX-512F and VL, with BMI2
};
CpuHashFeatures DetectCpuHashFeatures();

// The variants in use, e.g. "MD5 portable, SHA-1 sha-ni, SHA-256 sha-ni, SHA-512 avx512".
std::string DescribeHashKernels();
