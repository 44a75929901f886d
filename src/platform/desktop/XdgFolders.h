#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The user's folders of the desktop's base directories: settings
// ($XDG_CONFIG_HOME, else ~/.config), data ($XDG_DATA_HOME, else
// ~/.local/share) and the data folders searched after it ($XDG_DATA_DIRS,
// else /usr/local/share and /usr/share). Relative paths in the variables are
// ignored, as the desktop does.
struct XdgFolders {
    std::string configHome;
    std::string dataHome;
    std::vector<std::string> dataDirs;
};

// Nullopt when the user has no home folder to hold them.
std::optional<XdgFolders> UserXdgFolders(const std::function<std::optional<std::string>()>& passwordHome = {});

// The first "<folder>/applications/<id>" of the data folders (dataHome first)
// that is a regular file; nullopt when no folder holds one.
std::optional<std::string> FindDesktopEntry(const XdgFolders& folders, const std::string& desktopId);
