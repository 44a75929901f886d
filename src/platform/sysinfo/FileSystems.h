#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The mounted file systems that hold files of their own, from the mount
// table proc/self/mountinfo under `root` ("/" or a fixture tree): kernel
// views and memory file systems (proc, sysfs, tmpfs ...) are left out, and
// a file system mounted more than once (bind mounts) is listed once, by the
// mount that shows the most of it. Labels come from dev/disk/by-label.
struct MountedFileSystem {
    std::string mountPoint;
    std::string type;
    std::string source;
    std::string label;  // empty when it has none
};
std::vector<MountedFileSystem> ListFileSystems(const std::string& root);

// True for the file system types that hold no files of their own.
bool IsPseudoFileSystem(const std::string& type);

// Sizes in bytes: the whole file system and what a user may still write.
struct FileSystemSpace {
    std::uint64_t total = 0;
    std::uint64_t available = 0;
};
// statvfs of a mount point; nullopt when it fails.
std::optional<FileSystemSpace> StatFileSystem(const std::string& mountPoint);
