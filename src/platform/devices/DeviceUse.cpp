#include "platform/devices/DeviceUse.h"

#include "platform/devices/MountRoots.h"
#include "platform/devices/Mounts.h"
#include "platform/files/FolderEntries.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::array kSystemMounts = {"/", "/boot", "/boot/efi", "/usr", "/var", "/home", "/etc", "/opt"};

std::string BaseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The kernel's name of a device node ("sdb1" for /dev/sdb1 or a link to it);
// empty for what is no /dev path.
std::string KernelName(const std::string& node)
{
    char resolved[PATH_MAX];
    const std::string path = ::realpath(node.c_str(), resolved) ? std::string(resolved) : node;
    if (path.rfind("/dev/", 0) != 0)
        return {};
    return BaseName(path);
}

std::vector<std::string> ListFolderNames(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    std::vector<std::string> names;
    if (ListFolderEntries(folder, entries))
        for (const FolderEntry& entry : entries)
            names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The device's own name and those of its partitions.
std::vector<std::string> NamesOf(const std::string& name, const std::string& sysClassBlock)
{
    std::vector<std::string> names{name};
    for (const std::string& entry : ListFolderNames(sysClassBlock + "/" + name))
        if (Exists(sysClassBlock + "/" + name + "/" + entry + "/partition"))
            names.push_back(entry);
    return names;
}

bool IsOneOf(const std::string& name, const std::vector<std::string>& names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

void AddMounts(DeviceUse& use, const std::vector<std::string>& names, const std::string& mountsFile)
{
    ForEachMount(mountsFile, [&](const std::string& source, const std::string& target) {
        if (IsOneOf(KernelName(source), names)) {
            use.mounts.push_back(source + " on " + target);
            if (std::find(kSystemMounts.begin(), kSystemMounts.end(), target) != kSystemMounts.end())
                use.holdsSystem = true;
        }
        return true;
    });
}

void AddSwaps(DeviceUse& use, const std::vector<std::string>& names, const std::string& swapsFile)
{
    std::ifstream swaps(swapsFile);
    std::string line;
    std::getline(swaps, line);  // the heading
    while (std::getline(swaps, line)) {
        std::istringstream fields(line);
        std::string source;
        if (fields >> source && IsOneOf(KernelName(UnescapeMountField(source)), names)) {
            use.swaps.push_back(source);
            use.holdsSystem = true;
        }
    }
}

void AddHolders(DeviceUse& use, const std::string& name, const std::vector<std::string>& names,
                const std::string& sysClassBlock)
{
    for (const std::string& part : names) {
        const std::string folder = part == name ? sysClassBlock + "/" + name : sysClassBlock + "/" + name + "/" + part;
        for (const std::string& holder : ListFolderNames(folder + "/holders"))
            use.holders.push_back(holder);
    }
}

std::string ExclusiveOpenRefusal(const std::string& deviceNode)
{
    const int fd = ::open(deviceNode.c_str(), O_RDONLY | O_EXCL | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    if (errno == EBUSY)
        return deviceNode + " is held open by another program or the system";
    return {};
}

}  // namespace

DeviceUse DescribeDeviceUse(const std::string& deviceNode, const DeviceUseSources& sources)
{
    DeviceUse use;
    const std::string name = KernelName(deviceNode);
    if (name.empty())
        return use;
    const std::vector<std::string> names = NamesOf(name, sources.sysClassBlock);
    AddMounts(use, names, sources.mounts);
    AddSwaps(use, names, sources.swaps);
    AddHolders(use, name, names, sources.sysClassBlock);
    if (sources.tryExclusiveOpen && use.mounts.empty() && use.holders.empty())
        use.busy = ExclusiveOpenRefusal(deviceNode);
    return use;
}
