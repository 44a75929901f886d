#include "platform/devices/RootDisk.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The disks under one /sys block folder; depth bounds a loop of slaves.
void CollectDisks(const fs::path& folder, std::vector<std::string>& disks, int depth)
{
    std::error_code error;
    if (depth > 16)
        return;
    bool hasSlaves = false;
    for (const auto& slave : fs::directory_iterator(folder / "slaves", error)) {
        hasSlaves = true;
        const fs::path target = fs::canonical(slave.path(), error);
        if (!error)
            CollectDisks(target, disks, depth + 1);
    }
    if (hasSlaves)
        return;
    // A partition's folder lies inside its disk's.
    const fs::path disk = fs::exists(folder / "partition", error) ? folder.parent_path() : folder;
    const std::string name = disk.filename().string();
    if (!name.empty() && std::find(disks.begin(), disks.end(), name) == disks.end())
        disks.push_back(name);
}

}  // namespace

std::vector<std::string> DisksUnderDevice(std::uint64_t device, const std::string& sysDevBlockRoot)
{
    std::vector<std::string> disks;
    const auto id = static_cast<dev_t>(device);
    const fs::path entry = fs::path(sysDevBlockRoot) / (std::to_string(major(id)) + ":" + std::to_string(minor(id)));
    std::error_code error;
    const fs::path folder = fs::canonical(entry, error);
    if (!error)
        CollectDisks(folder, disks, 0);
    return disks;
}

bool HoldsFileSystemOf(const std::string& deviceNode, const std::string& path, const std::string& sysDevBlockRoot)
{
    struct stat file {};
    struct stat node {};
    if (::stat(path.c_str(), &file) != 0 || ::stat(deviceNode.c_str(), &node) != 0 || !S_ISBLK(node.st_mode))
        return false;
    const std::vector<std::string> under = DisksUnderDevice(file.st_dev, sysDevBlockRoot);
    for (const std::string& disk : DisksUnderDevice(node.st_rdev, sysDevBlockRoot))
        if (std::find(under.begin(), under.end(), disk) != under.end())
            return true;
    return false;
}
