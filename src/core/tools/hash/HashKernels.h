#pragma once

#include <cstddef>
#include <cstdint>

// Block functions behind the hash classes. Each runs whole blocks straight
// from the caller's data and updates the chaining state in place. The
// dispatching ones pick the variant selected in HashKernelSelect.h.
namespace hash_kernels {

using Md5BlockFunction = void (*)(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count);
using Sha1BlockFunction = void (*)(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);
using Sha256BlockFunction = void (*)(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count);
using Sha512BlockFunction = void (*)(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count);

// The SHA-1 initial hash value, shared by SHA1 and SHAHash.
inline constexpr std::uint32_t kSha1InitialState[5] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};

void Md5Blocks(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count);
void Sha1Blocks(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);
void Sha256Blocks(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count);
void Sha512Blocks(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count);

// Plain C++ for any processor.
void Md5BlocksPortable(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count);
void Sha1BlocksPortable(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);
void Sha256BlocksPortable(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count);
void Sha512BlocksPortable(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count);

#if defined(__x86_64__)
// x86-64 only; callers check the processor first.
void Sha1BlocksShaNi(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);
void Sha256BlocksShaNi(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count);
void Sha512BlocksAvx2(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count);
void Sha512BlocksAvx512(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count);
#endif

} // namespace hash_kernels
