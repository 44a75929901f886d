#pragma once

#include <cstdint>

// done of total as a whole percentage, 0-100: how far a tool has come. Every
// progress bar and share of the tools goes through it, so a small or empty
// total (a disc of fewer than 100 blocks, an empty folder) never divides by
// zero: 0 when total is 0 or less.
int PercentOf(std::int64_t done, std::int64_t total);

// The progress of a long drive operation (a format, a blank) as the status
// line and the erase tools show it: done x 100 / total + 1, at most 100, so
// the bar shows 1 % as soon as the drive has begun; 0 when total is 0 or less.
int LongOperationPercent(std::int64_t done, std::int64_t total);
