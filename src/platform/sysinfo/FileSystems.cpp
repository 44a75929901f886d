#include "platform/sysinfo/FileSystems.h"

#include "platform/devices/MountRoots.h"
#include "platform/sysinfo/RootedPath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/statvfs.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// clang-format off
constexpr const char* kPseudoTypes[] = {
    "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts", "devtmpfs",
    "efivarfs", "fusectl", "hugetlbfs", "mqueue", "nsfs", "proc", "pstore", "ramfs", "rootfs",
    "rpc_pipefs", "securityfs", "selinuxfs", "sysfs", "tmpfs", "tracefs",
};
// clang-format on

// udev writes unsafe characters of a label as "\x20".
std::string UnescapeUdevName(const std::string& name)
{
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x'
            && std::isxdigit(static_cast<unsigned char>(name[i + 2]))
            && std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            text.push_back(static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16)));
            i += 3;
        } else {
            text.push_back(name[i]);
        }
    }
    return text;
}

// The label of each device node that has one, by the node's resolved path.
std::vector<std::pair<fs::path, std::string>> DeviceLabels(const std::string& root)
{
    std::vector<std::pair<fs::path, std::string>> labels;
    std::error_code error;
    for (const auto& link : fs::directory_iterator(RootedPath(root, "dev/disk/by-label"), error)) {
        const fs::path node = fs::weakly_canonical(link.path(), error);
        if (!error)
            labels.emplace_back(node, UnescapeUdevName(link.path().filename().string()));
    }
    return labels;
}

std::string LabelOf(const std::string& root, const std::string& source,
                    const std::vector<std::pair<fs::path, std::string>>& labels)
{
    if (source.rfind("/dev/", 0) != 0)
        return std::string();
    std::error_code error;
    const fs::path node = fs::weakly_canonical(RootedPath(root, source.substr(1)), error);
    if (error)
        return std::string();
    const auto found = std::find_if(labels.begin(), labels.end(),
                                    [&](const auto& label) { return label.first == node; });
    return found == labels.end() ? std::string() : found->second;
}

}  // namespace

bool IsPseudoFileSystem(const std::string& type)
{
    return std::find(std::begin(kPseudoTypes), std::end(kPseudoTypes), type) != std::end(kPseudoTypes);
}

std::vector<MountedFileSystem> ListFileSystems(const std::string& root)
{
    // Of the mounts of one device the one that shows the most of it (the
    // shortest root folder; the first of equals) stands for it, in its place.
    std::vector<MountInfoEntry> entries;
    std::map<std::string, std::size_t> chosen;
    std::ifstream table(RootedPath(root, "proc/self/mountinfo"));
    std::string line;
    while (std::getline(table, line)) {
        std::optional<MountInfoEntry> entry = ParseMountInfoLine(line);
        if (!entry || IsPseudoFileSystem(entry->type))
            continue;
        const auto [place, added] = chosen.emplace(entry->device, entries.size());
        if (!added && entry->root.size() < entries[place->second].root.size())
            place->second = entries.size();
        entries.push_back(std::move(*entry));
    }
    const auto labels = DeviceLabels(root);
    std::vector<MountedFileSystem> systems;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MountInfoEntry& entry = entries[i];
        if (chosen[entry.device] == i)
            systems.push_back({entry.mountPoint, entry.type, entry.source, LabelOf(root, entry.source, labels)});
    }
    return systems;
}

std::optional<FileSystemSpace> StatFileSystem(const std::string& mountPoint)
{
    struct statvfs info {};
    if (::statvfs(mountPoint.c_str(), &info) != 0)
        return std::nullopt;
    FileSystemSpace space;
    space.total = static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize;
    space.available = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    return space;
}
