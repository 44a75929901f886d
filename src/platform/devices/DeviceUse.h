#pragma once

#include <string>
#include <vector>

// Where the machine's own files stand for /proc/self/mounts, /proc/swaps and
// /sys/class/block, so tests use fixture files and trees.
struct DeviceUseSources {
    std::string mounts = "/proc/self/mounts";
    std::string swaps = "/proc/swaps";
    std::string sysClassBlock = "/sys/class/block";
    // Tries an exclusive open of the node (a block device opened O_EXCL fails
    // while it or a partition is mounted or held); off in tests of fixtures.
    bool tryExclusiveOpen = true;
};

// What uses a device or one of its partitions right now.
struct DeviceUse {
    std::vector<std::string> mounts;  // "/dev/sdb1 on /media/stick"
    std::vector<std::string> swaps;  // "/dev/sdb2"
    std::vector<std::string> holders;  // "dm-0" (device mapper, RAID)
    bool holdsSystem = false;  // "/", "/boot", "/usr" ... or swap are on it
    std::string busy;  // why an exclusive open was refused; empty when it was not
    bool InUse() const { return !mounts.empty() || !swaps.empty() || !holders.empty() || !busy.empty(); }
};

// The device node's own use and that of its partitions. A node that names no
// device the machine knows (an emulated drive) is in no use.
DeviceUse DescribeDeviceUse(const std::string& deviceNode, const DeviceUseSources& sources = {});
