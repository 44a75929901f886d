#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct stat;

// What tells one disk from another at the same node: a disk that was
// re-attached, swapped or plugged in again is another disk.
struct DiskIdentity {
    std::uint64_t device = 0;  // the node's device number; a file's file system
    std::uint64_t inode = 0;  // a regular file's; 0 for a block device
    std::optional<std::uint64_t> sequence;  // the kernel's disk sequence number (diskseq)
    std::string model;  // vendor and model as /sys gives them
    std::string serial;  // the serial number, or a loop device's backing file
    std::uint64_t sizeBytes = 0;
    bool regularFile = false;
};

// Whether two identities name the same disk: the same device number and disk
// sequence number where both have one, else the same device number (and
// file), model, serial and size.
bool SameDisk(const DiskIdentity& a, const DiskIdentity& b);

// The identity of an opened node of sizeBytes (its fstat), with what
// sysRoot (/sys) says of a block device.
DiskIdentity DiskIdentityOf(const struct stat& info, std::uint64_t sizeBytes, const std::string& sysRoot = "/sys");
