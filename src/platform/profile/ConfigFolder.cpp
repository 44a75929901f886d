#include "platform/profile/ConfigFolder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

std::optional<std::string> AbsoluteEnvironmentPath(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

}  // namespace

std::optional<std::string> PasswordDatabaseHome()
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    for (size_t size = suggested > 0 ? static_cast<size_t>(suggested) : 4096; size <= (1u << 20); size *= 4) {
        std::vector<char> buffer(size);
        passwd entry{};
        passwd* found = nullptr;
        const int result = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (result == ERANGE)
            continue;  // a long entry: try a larger buffer
        if (result != 0 || !found || !found->pw_dir || found->pw_dir[0] != '/')
            return std::nullopt;
        return std::string(found->pw_dir);
    }
    return std::nullopt;
}

std::optional<std::string> UserConfigFolder(const std::function<std::optional<std::string>()>& passwordHome)
{
    if (auto xdg = AbsoluteEnvironmentPath("XDG_CONFIG_HOME"))
        return xdg;
    std::optional<std::string> home = AbsoluteEnvironmentPath("HOME");
    if (!home && passwordHome)
        home = passwordHome();
    if (!home)
        return std::nullopt;
    if (home->back() != '/')
        *home += '/';
    return *home + ".config";
}
