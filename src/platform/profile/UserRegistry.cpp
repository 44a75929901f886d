#include "platform/profile/UserRegistry.h"

#include "platform/profile/IniStore.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr char kSoftwarePrefix[] = "SOFTWARE\\";

std::vector<std::string> SplitKey(const std::string& key)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : key) {
        if (c == '\\') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);  // a trailing backslash names no further part
    return parts;
}

bool UsablePart(const std::string& part)
{
    return !part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos;
}

}  // namespace

std::string UserConfigHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.config";
    return "/tmp";
}

std::optional<UserRegistryPlace> PlaceOfUserKey(const std::string& key, const std::string& configHome)
{
    std::string path = key;
    if (path.compare(0, sizeof kSoftwarePrefix - 1, kSoftwarePrefix) == 0)
        path.erase(0, sizeof kSoftwarePrefix - 1);
    const std::vector<std::string> parts = SplitKey(path);
    if (parts.empty())
        return std::nullopt;
    for (const std::string& part : parts)
        if (!UsablePart(part))
            return std::nullopt;
    std::string file = configHome;
    const std::size_t fileParts = parts.size() == 1 ? 1 : parts.size() - 1;
    for (std::size_t i = 0; i < fileParts; ++i)
        file += "/" + parts[i];
    return UserRegistryPlace{file + ".conf", parts.back()};
}

std::optional<std::string> ReadUserRegistryString(const std::string& key, const std::string& name,
                                                  const std::string& configHome)
{
    const std::optional<UserRegistryPlace> place = PlaceOfUserKey(key, configHome);
    if (!place)
        return std::nullopt;
    IniStore store(place->file);
    return store.Get(place->section, name);
}
