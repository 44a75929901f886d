#pragma once

#include <cstdint>

class BlockDevice;

// The read size a disk test starts with: 24 MB in 512-byte sectors.
constexpr std::uint32_t kDefaultBufferSectors = 49152;
constexpr std::uint64_t kProbeStartBytes = 24ull << 20;
constexpr std::uint64_t kProbeStepBytes = 1ull << 20;

// Whether a read of bytes at the start of the device brings anything; an
// allocation failure says "Fatal error trying to allocated buffer memory"
// and counts as a failure (counted in allocationFailures instead when given,
// off the window's thread).
bool ProbeBufferSize(BlockDevice& device, std::uint64_t bytes, int* allocationFailures = nullptr);
// "Fatal error trying to allocated buffer memory".
void ShowAllocationFailure();

// The probe of a drive selection: from 24 MB down in steps of 1 MB until a
// size reads; the slider's top step, 8 less one for each size that failed,
// and never below 1. A device that could not be opened is not probed (1).
int ProbeBufferSizes(BlockDevice* device, int* allocationFailures = nullptr);
