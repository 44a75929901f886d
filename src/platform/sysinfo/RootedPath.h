#pragma once

#include <string>

// A path of the machine ("proc/swaps") under a root folder: "/" for this
// machine, a fixture tree in tests.
inline std::string RootedPath(const std::string& root, const std::string& path)
{
    if (root.empty() || root == "/")
        return "/" + path;
    return root.back() == '/' ? root + path : root + "/" + path;
}
