#include "platform/desktop/MimeAppsList.h"

#include "platform/files/SafeFile.h"
#include "platform/text/Trim.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

struct Line {
    std::string text;  // without its line end
    std::string end;  // "\n", "\r\n"; "\r" or "" for a last line without a line feed
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        std::string end = newline == std::string_view::npos ? "" : "\n";
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            end = "\r" + end;
        }
        lines.push_back(Line{std::string(line), end});
        if (newline == std::string_view::npos)
            break;
        text.remove_prefix(newline + 1);
    }
    return lines;
}

// The group a header line opens; nullopt for other lines.
std::optional<std::string> GroupOf(const std::string& line)
{
    const std::string trimmed = TrimText(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']')
        return std::nullopt;
    return trimmed.substr(1, trimmed.size() - 2);
}

// Key and value of a "key=value" line (blanks around '=' ignored).
std::optional<std::pair<std::string, std::string>> EntryOf(const std::string& line)
{
    const std::string trimmed = TrimText(line);
    if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == '[')
        return std::nullopt;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    return std::make_pair(TrimText(trimmed.substr(0, equals)), TrimText(trimmed.substr(equals + 1)));
}

std::vector<std::string> IdsOf(const std::string& value)
{
    std::vector<std::string> ids;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = value.find(';', start);
        const std::string id = TrimText(
            value.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!id.empty())
            ids.push_back(id);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return ids;
}

std::string ValueWithFirst(const std::string& desktopId, const std::vector<std::string>& before)
{
    std::string value = desktopId + ";";
    for (const std::string& id : before)
        if (id != desktopId)
            value += id + ";";
    return value;
}

// Lines [first, last) of the first [Default Applications] group; first is
// npos when the text has none.
std::pair<std::size_t, std::size_t> DefaultGroup(const std::vector<Line>& lines)
{
    std::size_t first = std::string::npos;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto group = GroupOf(lines[i].text);
        if (!group)
            continue;
        if (first != std::string::npos)
            return {first, i};
        if (*group == kDefaultApplicationsGroup)
            first = i + 1;
    }
    return {first, lines.size()};
}

}  // namespace

std::optional<std::string> DefaultApplicationIn(std::string_view text, const std::string& mimeType)
{
    const std::vector<Line> lines = SplitLines(text);
    const auto [first, last] = DefaultGroup(lines);
    if (first == std::string::npos)
        return std::nullopt;
    for (std::size_t i = first; i < last; ++i) {
        const auto entry = EntryOf(lines[i].text);
        if (entry && entry->first == mimeType) {
            const std::vector<std::string> ids = IdsOf(entry->second);
            if (ids.empty())
                return std::nullopt;
            return ids.front();
        }
    }
    return std::nullopt;
}

std::string WithDefaultApplication(std::string_view text, const std::vector<std::string>& mimeTypes,
                                   const std::string& desktopId)
{
    std::vector<Line> lines = SplitLines(text);
    const std::string lineEnd = !lines.empty() && lines.front().end == "\r\n" ? "\r\n" : "\n";
    if (!lines.empty() && (lines.back().end.empty() || lines.back().end.back() != '\n'))
        lines.back().end = lineEnd;
    auto [first, last] = DefaultGroup(lines);
    if (first == std::string::npos) {
        if (!lines.empty() && !TrimText(lines.back().text).empty())
            lines.push_back(Line{"", lineEnd});
        lines.push_back(Line{std::string("[") + kDefaultApplicationsGroup + "]", lineEnd});
        first = last = lines.size();
    }
    for (const std::string& type : mimeTypes) {
        bool set = false;
        for (std::size_t i = first; i < last;) {
            const auto entry = EntryOf(lines[i].text);
            if (!entry || entry->first != type) {
                ++i;
                continue;
            }
            if (set) {  // a second line of the type would contradict the first
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                --last;
                continue;
            }
            lines[i].text = type + "=" + ValueWithFirst(desktopId, IdsOf(entry->second));
            set = true;
            ++i;
        }
        if (!set) {
            std::size_t at = last;  // after the group's last line that is not blank
            while (at > first && TrimText(lines[at - 1].text).empty())
                --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{type + "=" + desktopId + ";", lineEnd});
            ++last;
        }
    }
    std::string result;
    for (const Line& line : lines)
        result += line.text + line.end;
    return result;
}

bool ReadMimeAppsList(const std::string& path, std::string& text, std::string* error)
{
    text.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return true;
    std::string reason;
    switch (ReadRegularFile(path, kMaxMimeAppsListSize, text, &reason)) {
    case ReadFileResult::Ok: return true;
    case ReadFileResult::TooLarge:
        if (error)
            *error = path + " is larger than 1 MiB";
        return false;
    case ReadFileResult::Failed: break;
    }
    if (error)
        *error = reason;
    return false;
}

bool SetDefaultApplication(const std::string& path, const std::vector<std::string>& mimeTypes,
                           const std::string& desktopId, std::string* error)
{
    const std::optional<std::string> target = FinalLinkTarget(path, error);
    if (!target)
        return false;
    std::string text;
    if (!ReadMimeAppsList(*target, text, error))
        return false;
    bool done = true;
    for (const std::string& type : mimeTypes)
        done = done && DefaultApplicationIn(text, type) == desktopId;
    if (done)
        return true;
    const std::size_t slash = target->find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(target->substr(0, slash))) {
        if (error)
            *error = "cannot make the folder of " + *target + ": " + ErrnoText(errno);
        return false;
    }
    struct stat info {};
    const unsigned mode = ::stat(target->c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
    return WriteFileAtomically(*target, WithDefaultApplication(text, mimeTypes, desktopId), error, mode);
}
