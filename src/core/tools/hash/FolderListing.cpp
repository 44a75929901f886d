#include "core/tools/hash/FolderListing.h"

#include "platform/files/FolderEntries.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

struct FolderId {
    std::uint64_t device;
    std::uint64_t inode;
    auto operator<=>(const FolderId&) const = default;
};

class Lister {
public:
    Lister(std::vector<FileForHash>& files, std::stop_token stop) : m_files(files), m_stop(std::move(stop)) {}

    std::uint64_t Repeats() const { return m_repeats; }

    void ListFolder(const std::string& path, FolderId id)
    {
        if (m_stop.stop_requested())
            return;
        m_walked.insert(id);
        std::vector<FolderEntry> entries;
        std::string error;
        if (!ListFolderEntries(path, entries, &error)) {
            Problem(path, "cannot be listed: " + error);
            return;
        }
        std::sort(entries.begin(), entries.end(),
                  [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
        m_ancestors.push_back(id);
        for (const FolderEntry& entry : entries)
            Take(path == "/" ? "/" + entry.name : path + "/" + entry.name, entry);
        m_ancestors.pop_back();
    }

    void Take(const std::string& path, const FolderEntry& entry)
    {
        switch (entry.kind) {
        case EntryKind::RegularFile: m_files.push_back({path, entry.size, entry.device, {}}); break;
        case EntryKind::Folder: {
            const FolderId id{entry.device, entry.inode};
            if (std::find(m_ancestors.begin(), m_ancestors.end(), id) != m_ancestors.end())
                Problem(path, "leads back to a folder that holds it");
            else if (m_walked.contains(id))
                ++m_repeats;  // links reach it again: its files are listed once
            else
                ListFolder(path, id);
            break;
        }
        case EntryKind::Unknown: Problem(path, "cannot be looked at: " + entry.error); break;
        case EntryKind::Other:
        case EntryKind::DanglingLink: ++m_leftOut; break;
        }
    }

private:
    void Problem(const std::string& path, const std::string& problem) { m_files.push_back({path, 0, 0, problem}); }

    std::vector<FileForHash>& m_files;
    std::stop_token m_stop;
    std::vector<FolderId> m_ancestors;  // the folders being listed, outermost first
    std::set<FolderId> m_walked;
    std::uint64_t m_repeats = 0;

public:
    int m_leftOut = 0;  // pipes, devices, sockets, links to nothing
};

}  // namespace

std::vector<FileForHash> ListFilesForHash(const std::string& given, std::stop_token stop, FolderListingCounts* counts)
{
    std::string folder = given;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::vector<FileForHash> files;
    FolderEntry root;
    std::string error;
    Lister lister(files, stop);
    if (!LookAtPath(folder, root, &error))
        files.push_back({folder, 0, 0, "cannot be looked at: " + error});
    else if (root.kind != EntryKind::Folder)
        files.push_back({folder, 0, 0, "is not a folder"});
    else
        lister.ListFolder(folder, {root.device, root.inode});
    if (stop.stop_requested())
        files.clear();
    if (counts)
        *counts = {lister.m_leftOut, lister.Repeats()};
    return files;
}
