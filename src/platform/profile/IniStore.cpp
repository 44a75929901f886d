#include "platform/profile/IniStore.h"

#include "platform/files/SafeFile.h"
#include "platform/text/Trim.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MakeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const auto slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

bool IniStore::KeyLess::operator()(const std::string& a, const std::string& b) const
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char x = LowerAscii(a[i]);
        const char y = LowerAscii(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

IniStore::IniStore(std::string path) : path_(std::move(path))
{
}

std::string IniStore::EscapeValue(const std::string& value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool edge = (i == 0 || i + 1 == value.size());
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\0')
            out += "\\0";
        else if ((c == ' ' || c == '\t') && edge)
            out += (c == ' ') ? "\\s" : "\\t";
        else
            out += c;
    }
    return out;
}

std::string IniStore::UnescapeValue(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 's': out += ' '; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        default: out += text[i]; break;
        }
    }
    return out;
}

bool IniStore::Parse(const std::string& text, Sections& sections, std::string& problem) const
{
    if (text.find('\0') != std::string::npos) {
        problem = "it holds binary data";
        return false;
    }
    std::string current;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = TrimText(line);
        if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
            continue;
        if (trimmed.front() == '[') {
            if (trimmed.back() != ']' || trimmed.size() < 3) {
                problem = "line " + std::to_string(lineNumber) + " is not a section heading";
                return false;
            }
            current = trimmed.substr(1, trimmed.size() - 2);
            sections[current];
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos || TrimText(line.substr(0, equals)).empty()) {
            problem = "line " + std::to_string(lineNumber) + " is not a key=value line";
            return false;
        }
        sections[current][TrimText(line.substr(0, equals))] = UnescapeValue(line.substr(equals + 1));
    }
    return true;
}

std::string IniStore::Serialise(const Sections& sections) const
{
    std::string out;
    for (const auto& [name, section] : sections) {
        if (name.empty() && section.empty())
            continue;
        if (!name.empty())
            out += "[" + name + "]\n";
        for (const auto& [key, value] : section)
            out += key + "=" + EscapeValue(value) + "\n";
        out += "\n";
    }
    return out;
}

void IniStore::LoadIfNeeded()
{
    if (loaded_)
        return;
    loaded_ = true;
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0 && errno == ENOENT)
        return;
    std::string text;
    std::string problem;
    if (!ReadWholeFile(path_, text, &problem)) {
        loadProblem_ = problem;
        fileIsBad_ = true;
        return;
    }
    Sections parsed;
    if (!Parse(text, parsed, problem)) {
        loadProblem_ = path_ + " cannot be read as settings (" + problem + "); using defaults";
        fileIsBad_ = true;
        return;
    }
    sections_ = std::move(parsed);
}

std::string IniStore::LoadProblem()
{
    std::lock_guard lock(mutex_);
    LoadIfNeeded();
    return loadProblem_;
}

std::optional<std::string> IniStore::Get(const std::string& section, const std::string& key)
{
    std::lock_guard lock(mutex_);
    LoadIfNeeded();
    const auto s = sections_.find(section);
    if (s == sections_.end())
        return std::nullopt;
    const auto v = s->second.find(key);
    if (v == s->second.end())
        return std::nullopt;
    return v->second;
}

bool IniStore::Set(const std::string& section, const std::string& key, const std::string& value, std::string* error)
{
    if (TrimText(key) != key || key.empty() || key.find_first_of("=\n\r[];#") != std::string::npos) {
        if (error)
            *error = "the name \"" + key + "\" cannot be stored";
        return false;
    }
    std::lock_guard lock(mutex_);
    LoadIfNeeded();
    Sections updated = sections_;
    updated[section][key] = value;
    const auto slash = path_.find_last_of('/');
    if (slash != std::string::npos && !MakeFolders(path_.substr(0, slash))) {
        if (error)
            *error = "cannot create the folder of " + path_ + ": " + ErrnoText(errno);
        return false;
    }
    if (fileIsBad_ && FileExists(path_) && !CopyPrivateFile(path_, path_ + ".bad", error))
        return false;
    if (!WriteFileAtomically(path_, Serialise(updated), error, 0600))
        return false;
    sections_ = std::move(updated);
    fileIsBad_ = false;
    return true;
}
