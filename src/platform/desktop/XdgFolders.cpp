#include "platform/desktop/XdgFolders.h"

#include "platform/profile/ConfigFolder.h"

#include <cstdlib>
#include <sys/stat.h>

namespace {

std::optional<std::string> AbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

std::optional<XdgFolders> UserXdgFolders(const std::function<std::optional<std::string>()>& passwordHome)
{
    const auto lookup = passwordHome ? passwordHome : std::function<std::optional<std::string>()>(PasswordDatabaseHome);
    const std::optional<std::string> config = UserConfigFolder(lookup);
    std::optional<std::string> data = AbsoluteVariable("XDG_DATA_HOME");
    if (!data) {
        std::optional<std::string> home = AbsoluteVariable("HOME");
        if (!home)
            home = lookup();
        if (home)
            data = WithoutTrailingSlash(*home) + "/.local/share";
    }
    if (!config || !data)
        return std::nullopt;
    XdgFolders folders;
    folders.configHome = WithoutTrailingSlash(*config);
    folders.dataHome = WithoutTrailingSlash(*data);
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = list.find(':', start);
        const std::string dir = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && dir[0] == '/')
            folders.dataDirs.push_back(WithoutTrailingSlash(dir));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return folders;
}

std::optional<std::string> FindDesktopEntry(const XdgFolders& folders, const std::string& desktopId)
{
    if (desktopId.empty() || desktopId.find('/') != std::string::npos)
        return std::nullopt;
    std::vector<std::string> searched{folders.dataHome};
    searched.insert(searched.end(), folders.dataDirs.begin(), folders.dataDirs.end());
    for (const std::string& folder : searched) {
        const std::string path = folder + "/applications/" + desktopId;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            return path;
    }
    return std::nullopt;
}
