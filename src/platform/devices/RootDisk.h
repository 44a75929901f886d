#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole disks ("sda", "nvme0n1") a file system's device lies on, through
// its partition and the device-mapper or RAID devices between (their
// slaves), from the device number stat gives. sysDevBlockRoot stands for
// /sys/dev/block so tests use fixture trees. Empty for a device without a
// disk behind it (a network or memory file system).
std::vector<std::string> DisksUnderDevice(std::uint64_t device, const std::string& sysDevBlockRoot = "/sys/dev/block");

// Whether the device node (or a partition of it) holds the file system of
// path, "/" unless told: found from the device numbers, so a root mounted
// under a name the mount table cannot resolve ("/dev/root") is seen too.
bool HoldsFileSystemOf(const std::string& deviceNode, const std::string& path = "/",
                       const std::string& sysDevBlockRoot = "/sys/dev/block");
