#include "platform/desktop/InstallLayout.h"

#include <sys/stat.h>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string HelpFolderFor(const std::string& programFolder)
{
    const std::string beside = programFolder + "help/";
    if (IsFolder(beside))
        return beside;
    std::string folder = programFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && folder.substr(slash + 1) == "bin") {
        const std::string installed = folder.substr(0, slash + 1) + kInstalledDataFolder + "/help/";
        if (IsFolder(installed))
            return installed;
    }
    return beside;
}
