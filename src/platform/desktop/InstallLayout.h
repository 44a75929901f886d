#pragma once

#include <string>

// The installed program lives in "<prefix>/bin" and its shared files in
// "<prefix>/share/quenzario"; in the build tree the help pages are in
// "help/" beside the program.
constexpr const char* kInstalledDataFolder = "share/quenzario";

// The folder (ending in "/") of the help pages of a program in programFolder
// (ending in "/"): "help/" beside it when that is a folder, else the
// installed "<prefix>/share/quenzario/help/" when the program is in
// "<prefix>/bin/" and that is a folder, else "help/" beside it.
std::string HelpFolderFor(const std::string& programFolder);
