#pragma once

#include <cstdint>

// Colours are stored and exchanged as 0x00BBGGRR values.
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned GetRValue(COLORREF c)
{
    return c & 0xFFu;
}
constexpr unsigned GetGValue(COLORREF c)
{
    return (c >> 8) & 0xFFu;
}
constexpr unsigned GetBValue(COLORREF c)
{
    return (c >> 16) & 0xFFu;
}

// Each channel halved: the faint grid colour drawn beside a full one.
constexpr COLORREF HalfIntensity(COLORREF c)
{
    return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}
