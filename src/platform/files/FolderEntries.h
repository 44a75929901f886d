#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a name in a folder stands for, symbolic links followed.
enum class EntryKind {
    RegularFile,
    Folder,
    Other,  // a pipe, socket or device
    DanglingLink,  // a symbolic link to nothing
    Unknown,  // it could not be looked at (error says why)
};

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Unknown;
    std::uint64_t device = 0;  // of what the name stands for
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::string error;
};

// The entries of a folder, "." and ".." left out, in the order the file
// system gives them. False, with the reason, when the folder cannot be read.
bool ListFolderEntries(const std::string& folder, std::vector<FolderEntry>& entries, std::string* error = nullptr);

// What a path stands for, symbolic links followed; false with the reason
// when it cannot be looked at.
bool LookAtPath(const std::string& path, FolderEntry& entry, std::string* error = nullptr);
