#pragma once

#include <cstdint>

// Figures of the engines that show root-mean-square averages and read a
// raw jitter from the drive.

// The integer part of sqrt(sumOfSquares / n); 0 for n below 1.
std::uint32_t RootMeanSquare(std::uint64_t sumOfSquares, std::int64_t n);

// The newer BenQ models' raw jitter word in tenths of a percent:
// 1000 x sqrt((raw / 16 - 2.83) / 1024); a raw word of 45 or less (below
// the drive's floor) gives 0.
int BenqJitterTenths(std::uint32_t raw);

// The Cyberdrive raw jitter in tenths of a percent: 1000 x sqrt(raw / 10 / 1024).
int CyberdriveJitterTenths(std::uint32_t raw);

// Failed reads in a row after which the engines that re-read give up.
constexpr int kMaxFailedReads = 10;
