#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

// One file of a folder hash, in the order its contents enter the digests.
struct FileForHash {
    std::string path;
    std::uint64_t size = 0;  // when it was listed
    std::uint64_t device = 0;  // the file system it lies on
    // Why it cannot be read when it is known already: a folder that cannot
    // be listed, or a link back to a folder that holds it. Empty otherwise.
    std::string problem;
};

// The regular files below a folder, links followed, in an order that does
// not depend on the file system: the entries of each folder sorted by their
// names' bytes, a subfolder's files at the subfolder's place. Pipes,
// devices, sockets and links to nothing are left out. A folder that cannot
// be listed, and a link to a folder that would walk in a circle, stand in
// the list with their problem. A folder that links reach again is listed
// once, at its first place. Empty once stop is requested. counts, when
// given, gets how many entries were left out of the list and how many times
// a folder reached again was skipped.
struct FolderListingCounts {
    int leftOut = 0;  // pipes, devices, sockets, links to nothing
    std::uint64_t repeats = 0;
};
std::vector<FileForHash> ListFilesForHash(const std::string& folder, std::stop_token stop = {},
                                          FolderListingCounts* counts = nullptr);
