#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Fields as SCSI lays them out: numbers big-endian, texts in ASCII padded
// with blanks.
namespace scsi {

inline std::uint16_t GetBe16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t GetBe24(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}
inline std::uint32_t GetBe32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
inline void PutBe16(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
}
inline void PutBe24(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 16);
    PutBe16(p + 1, value);
}
inline void PutBe32(std::uint8_t* p, std::uint32_t value)
{
    PutBe16(p, value >> 16);
    PutBe16(p + 2, value);
}

// Appends text padded with blanks (or cut) to exactly width bytes.
inline void AppendPadded(std::vector<std::uint8_t>& out, std::string_view text, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : std::uint8_t{' '});
}

}  // namespace scsi
