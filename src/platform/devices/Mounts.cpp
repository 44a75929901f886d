#include "platform/devices/Mounts.h"

#include "platform/files/FolderEntries.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <strings.h>

namespace {

// A mount table field with its octal escapes ("\040" for a blank) undone.
std::string Unescaped(const std::string& field)
{
    std::string text;
    const auto octal = [&](std::size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            text.push_back(
                static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

std::string RealPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

}  // namespace

std::string MountPointOf(const std::string& deviceNode, const std::string& mountsFile)
{
    const std::string node = RealPath(deviceNode);
    if (node.empty())
        return {};
    std::ifstream mounts(mountsFile);
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string source, target;
        if (!(fields >> source >> target))
            continue;
        source = Unescaped(source);
        if (source.empty() || source[0] != '/')
            continue;
        if (RealPath(source) == node)
            return Unescaped(target);
    }
    return {};
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
