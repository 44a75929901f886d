#include "core/tools/hash/HashKernelSelect.h"
#include "core/tools/hash/HashKernels.h"

#include <atomic>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

struct KernelTable {
    hash_kernels::Md5BlockFunction md5;
    hash_kernels::Sha1BlockFunction sha1;
    hash_kernels::Sha256BlockFunction sha256;
    hash_kernels::Sha512BlockFunction sha512;
    const char* description;
};

constexpr KernelTable kPortable = {hash_kernels::Md5BlocksPortable, hash_kernels::Sha1BlocksPortable,
                                   hash_kernels::Sha256BlocksPortable, hash_kernels::Sha512BlocksPortable,
                                   "MD5 portable, SHA-1 portable, SHA-256 portable, SHA-512 portable"};

KernelTable FastestKernels()
{
    KernelTable table = kPortable;
#if defined(__x86_64__)
    const CpuHashFeatures cpu = DetectCpuHashFeatures();
    if (cpu.shaExtensions) {
        table.sha1 = hash_kernels::Sha1BlocksShaNi;
        table.sha256 = hash_kernels::Sha256BlocksShaNi;
    }
    if (cpu.avx512)
        table.sha512 = hash_kernels::Sha512BlocksAvx512;
    else if (cpu.avx2Bmi2)
        table.sha512 = hash_kernels::Sha512BlocksAvx2;
    static const std::string description = std::string("MD5 portable, SHA-1 ")
        + (cpu.shaExtensions ? "sha-ni" : "portable") + ", SHA-256 " + (cpu.shaExtensions ? "sha-ni" : "portable")
        + ", SHA-512 "
        + (cpu.avx512         ? "avx512"
               : cpu.avx2Bmi2 ? "avx2"
                              : "portable");
    table.description = description.c_str();
#endif
    return table;
}

std::atomic<HashKernels> g_selected{HashKernels::Fastest};

const KernelTable& ActiveKernels()
{
    static const KernelTable fastest = FastestKernels();
    return g_selected.load(std::memory_order_relaxed) == HashKernels::Portable ? kPortable : fastest;
}

}  // namespace

void SelectHashKernels(HashKernels kernels)
{
    g_selected.store(kernels, std::memory_order_relaxed);
}

HashKernels SelectedHashKernels()
{
    return g_selected.load(std::memory_order_relaxed);
}

CpuHashFeatures DetectCpuHashFeatures()
{
    CpuHashFeatures features;
#if defined(__x86_64__)
    __builtin_cpu_init();
    // Not every compiler knows "sha" for __builtin_cpu_supports: ask CPUID leaf 7.
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    const bool sha = __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) && (ebx & bit_SHA);
    features.shaExtensions = sha && __builtin_cpu_supports("sse4.1");
    const bool bmi = __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
    features.avx2Bmi2 = bmi && __builtin_cpu_supports("avx2");
    features.avx512 = features.avx2Bmi2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#endif
    return features;
}

std::string DescribeHashKernels()
{
    return ActiveKernels().description;
}

namespace hash_kernels {

void Md5Blocks(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count)
{
    ActiveKernels().md5(state, blocks, count);
}

void Sha1Blocks(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count)
{
    ActiveKernels().sha1(state, blocks, count);
}

void Sha256Blocks(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count)
{
    ActiveKernels().sha256(state, blocks, count);
}

void Sha512Blocks(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count)
{
    ActiveKernels().sha512(state, blocks, count);
}

}  // namespace hash_kernels
