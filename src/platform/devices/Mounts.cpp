#include "platform/devices/Mounts.h"

#include "platform/devices/MountRoots.h"
#include "platform/files/FolderEntries.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <strings.h>

namespace {

std::string RealPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

}  // namespace

void ForEachMount(const std::string& mountsFile,
                  const std::function<bool(const std::string& source, const std::string& target)>& visit)
{
    std::ifstream mounts(mountsFile);
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string source, target;
        if (!(fields >> source >> target))
            continue;
        if (!visit(UnescapeMountField(source), UnescapeMountField(target)))
            return;
    }
}

std::string MountPointOf(const std::string& deviceNode, const std::string& mountsFile)
{
    const std::string node = RealPath(deviceNode);
    if (node.empty())
        return {};
    std::string mountPoint;
    ForEachMount(mountsFile, [&](const std::string& source, const std::string& target) {
        if (source.empty() || source[0] != '/' || RealPath(source) != node)
            return true;
        mountPoint = target;
        return false;
    });
    return mountPoint;
}

bool HasFileIgnoringCase(const std::string& folder, const std::vector<std::string>& parts)
{
    std::string path = folder;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::vector<FolderEntry> entries;
        if (!ListFolderEntries(path, entries))
            return false;
        const FolderEntry* found = nullptr;
        for (const FolderEntry& entry : entries)
            if (::strcasecmp(entry.name.c_str(), parts[i].c_str()) == 0)
                found = &entry;
        const EntryKind wanted = i + 1 == parts.size() ? EntryKind::RegularFile : EntryKind::Folder;
        if (!found || found->kind != wanted)
            return false;
        path += "/" + found->name;
    }
    return !parts.empty();
}
