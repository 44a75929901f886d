#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Loads and stores of message words in a fixed byte order, whatever the host's.
namespace hash_kernels {

inline std::uint32_t LoadLittle32(const std::uint8_t* bytes)
{
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap32(value);
    return value;
}

inline std::uint32_t LoadBig32(const std::uint8_t* bytes)
{
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::little)
        value = __builtin_bswap32(value);
    return value;
}

inline std::uint64_t LoadBig64(const std::uint8_t* bytes)
{
    std::uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::little)
        value = __builtin_bswap64(value);
    return value;
}

inline void StoreLittle32(std::uint8_t* bytes, std::uint32_t value)
{
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap32(value);
    std::memcpy(bytes, &value, sizeof value);
}

inline void StoreBig32(std::uint8_t* bytes, std::uint32_t value)
{
    if constexpr (std::endian::native == std::endian::little)
        value = __builtin_bswap32(value);
    std::memcpy(bytes, &value, sizeof value);
}

inline void StoreBig64(std::uint8_t* bytes, std::uint64_t value)
{
    if constexpr (std::endian::native == std::endian::little)
        value = __builtin_bswap64(value);
    std::memcpy(bytes, &value, sizeof value);
}

} // namespace hash_kernels
