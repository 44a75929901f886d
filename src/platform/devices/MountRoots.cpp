#include "platform/devices/MountRoots.h"

#include <fstream>
#include <sstream>
#include <vector>

std::string UnescapeMountField(const std::string& field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3'
            && field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7';
        if (!octal) {
            text.push_back(field[i]);
            continue;
        }
        text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
        i += 3;
    }
    return text;
}

std::optional<MountInfoEntry> ParseMountInfoLine(const std::string& line)
{
    // id parent major:minor root mount-point options [optional fields] - type source super-options
    std::istringstream fields(line);
    std::vector<std::string> before;
    std::string field;
    while (fields >> field && field != "-")
        before.push_back(field);
    MountInfoEntry entry;
    if (before.size() < 5 || !(fields >> entry.type >> entry.source))
        return std::nullopt;
    entry.device = before[2];
    entry.root = UnescapeMountField(before[3]);
    entry.mountPoint = UnescapeMountField(before[4]);
    entry.type = UnescapeMountField(entry.type);
    entry.source = UnescapeMountField(entry.source);
    return entry;
}

std::optional<std::string> SystemMountRoots::MountRootOf(const std::string& driveText) const
{
    if (driveText.empty() || driveText.find('/') != std::string::npos)
        return std::nullopt;
    const std::string device = m_devRoot + "/" + driveText;
    std::ifstream table(m_mountInfo);
    std::string line;
    while (std::getline(table, line)) {
        const std::optional<MountInfoEntry> entry = ParseMountInfoLine(line);
        if (entry && entry->source == device && entry->root == "/")
            return entry->mountPoint;
    }
    return std::nullopt;
}

std::string SystemMountRoots::WhereMountIsLookedFor(const std::string& driveText) const
{
    return m_devRoot + "/" + driveText + " in " + m_mountInfo;
}
