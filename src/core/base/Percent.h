#pragma once

#include <cstdint>

// done of total as a whole percentage, 0-100: how far a tool has come. Every
// progress bar and share of the tools goes through it, so a small or empty
// total (a disc of fewer than 100 blocks, an empty folder) never divides by
// zero: 0 when total is 0 or less.
int PercentOf(std::int64_t done, std::int64_t total);
