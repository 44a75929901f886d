#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Whether the disk that holds a file system spins (reads far apart then cost
// a seek each), from the file system's device number as stat gives it.
// sysDevBlockRoot stands for /sys/dev/block so tests use fixture trees.
// Nullopt where the device has no disk behind it (network, memory, unknown).
std::optional<bool> IsRotationalDisk(std::uint64_t device, const std::string& sysDevBlockRoot = "/sys/dev/block");
