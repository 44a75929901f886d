#pragma once

#include <cstdint>
#include <string>

// "%.2f %sB" of a byte count in 1024-based steps (K, M, G, T, P, E): 512
// bytes are "512.00 B", 1,572,864 bytes "1.50 MB".
std::string FormatSize(std::uint64_t bytes);
// The same in 1000-based steps.
std::string FormatSizeDecimal(std::uint64_t bytes);
// The free-space text: its steps divide only above 1024 (1024 bytes stay
// "1024.00 B").
std::string FormatFreeSize(std::uint64_t bytes);
