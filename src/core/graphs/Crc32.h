#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The IEEE 802.3 CRC-32 (reflected polynomial 0xEDB88320, initial value and
// final complement 0xFFFFFFFF).
std::uint32_t Crc32(const void* bytes, std::size_t length);

inline std::uint32_t Crc32(std::string_view text)
{
    return Crc32(text.data(), text.size());
}
