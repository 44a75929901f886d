#pragma once

#include <filesystem>
#include <fstream>
#include <string>

// A chain of `depth` + 1 real folders under root, each with a file "f" and
// two links, "x" and "y", to the next folder: followed blindly, the links
// reach the last folder 2^depth times.
inline void MakeLinkMaze(const std::string& root, int depth)
{
    namespace fs = std::filesystem;
    for (int level = 0; level <= depth; ++level) {
        const std::string folder = root + "/d" + std::to_string(level);
        fs::create_directories(folder);
        std::ofstream(folder + "/f") << "level " << level;
        if (level < depth) {
            fs::create_directory_symlink("../d" + std::to_string(level + 1), folder + "/x");
            fs::create_directory_symlink("../d" + std::to_string(level + 1), folder + "/y");
        }
    }
}
