#include "platform/devices/DiskKind.h"

#include <fstream>
#include <sys/sysmacros.h>

namespace {

std::optional<bool> ReadFlag(const std::string& path)
{
    std::ifstream file(path);
    int flag = -1;
    if (!(file >> flag) || (flag != 0 && flag != 1))
        return std::nullopt;
    return flag == 1;
}

}  // namespace

std::optional<bool> IsRotationalDisk(std::uint64_t device, const std::string& sysDevBlockRoot)
{
    const auto id = static_cast<dev_t>(device);
    const std::string entry = sysDevBlockRoot + "/" + std::to_string(major(id)) + ":" + std::to_string(minor(id));
    // A whole disk has its queue; a partition is a folder inside its disk's.
    if (const auto flag = ReadFlag(entry + "/queue/rotational"))
        return flag;
    return ReadFlag(entry + "/../queue/rotational");
}
