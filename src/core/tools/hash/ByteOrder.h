#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Loads and stores of message words in a fixed byte order, whatever the host's.
namespace hash_kernels {

template <class Word>
inline Word ByteSwapped(Word value)
{
    if constexpr (sizeof(Word) == 4)
        return __builtin_bswap32(value);
    else
        return __builtin_bswap64(value);
}

template <class Word, std::endian kOrder>
inline Word Load(const std::uint8_t* bytes)
{
    Word value;
    std::memcpy(&value, bytes, sizeof value);
    return kOrder == std::endian::native ? value : ByteSwapped(value);
}

template <std::endian kOrder, class Word>
inline void Store(std::uint8_t* bytes, Word value)
{
    if constexpr (kOrder != std::endian::native)
        value = ByteSwapped(value);
    std::memcpy(bytes, &value, sizeof value);
}

inline std::uint32_t LoadLittle32(const std::uint8_t* bytes)
{
    return Load<std::uint32_t, std::endian::little>(bytes);
}
inline std::uint32_t LoadBig32(const std::uint8_t* bytes)
{
    return Load<std::uint32_t, std::endian::big>(bytes);
}
inline std::uint64_t LoadBig64(const std::uint8_t* bytes)
{
    return Load<std::uint64_t, std::endian::big>(bytes);
}
inline void StoreLittle32(std::uint8_t* bytes, std::uint32_t value)
{
    Store<std::endian::little>(bytes, value);
}
inline void StoreBig32(std::uint8_t* bytes, std::uint32_t value)
{
    Store<std::endian::big>(bytes, value);
}
inline void StoreBig64(std::uint8_t* bytes, std::uint64_t value)
{
    Store<std::endian::big>(bytes, value);
}

}  // namespace hash_kernels
