#include "platform/profile/IniStore.h"

#include "platform/files/SafeFile.h"
#include "platform/text/Trim.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IniKeyLess::operator()(const std::string& a, const std::string& b) const
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

IniStore::IniStore(std::string path) : path_(std::move(path)), target_(path_)
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

ParsedIni ParseIniText(std::string_view text)
{
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    ParsedIni parsed;
    size_t lineNumber = 0;
    const auto skip = [&](const char* why) {
        if (++parsed.unreadCount <= ParsedIni::kMaxNamedLines)
            parsed.unreadLines.push_back("line " + std::to_string(lineNumber) + " " + why);
    };
    std::string current;
    bool underUnreadableHeading = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find('\0') != std::string::npos) {
            skip("cannot be read (it holds a NUL byte); skipped");
            continue;
        }
        const std::string trimmed = TrimText(line);
        if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
            continue;
        if (trimmed.front() == '[') {
            underUnreadableHeading = trimmed.back() != ']' || trimmed.size() < 3;
            if (underUnreadableHeading) {
                skip("is not a section heading; it and the lines below it up to the next heading are skipped");
                continue;
            }
            current = trimmed.substr(1, trimmed.size() - 2);
            parsed.sections[current];
            continue;
        }
        // Its settings would land in the section above: they are the
        // unreadable heading's.
        if (underUnreadableHeading)
            continue;
        const auto equals = line.find('=');
        const std::string key = equals == std::string::npos ? std::string() : TrimText(line.substr(0, equals));
        if (key.empty()) {
            skip("cannot be read (it is not a key=value line); skipped");
            continue;
        }
        parsed.sections[current][key] = IniStore::UnescapeValue(line.substr(equals + 1));
    }
    if (parsed.unreadCount > ParsedIni::kMaxNamedLines)
        parsed.unreadLines.push_back(std::to_string(parsed.unreadCount - ParsedIni::kMaxNamedLines)
                                     + " more lines cannot be read; skipped");
    return parsed;
}

std::string SerialiseIni(const IniSections& sections)
{
    std::string out;
    for (const auto& [name, section] : sections) {
        if (name.empty() && section.empty())
            continue;
        if (!name.empty())
            out += "[" + name + "]\n";
        for (const auto& [key, value] : section)
            out += key + "=" + IniStore::EscapeValue(value) + "\n";
        out += "\n";
    }
    // A first name that begins like a byte-order mark would lose it to the
    // reader, which skips one.
    if (out.rfind(kByteOrderMark, 0) == 0)
        out.insert(0, kByteOrderMark);
    return out;
}

std::string IniStore::Subject() const
{
    return target_ == path_ ? std::string() : path_ + " (a link to " + target_ + "): ";
}

void IniStore::Load()
{
    const std::string keptInMemory = "; the settings are kept in memory for this run and not saved";
    std::string error;
    const auto target = FinalLinkTarget(path_, &error);
    if (!target) {
        state_ = FileState::Untouchable;
        loadMessages_.push_back(error + keptInMemory);
        return;
    }
    target_ = *target;
    struct stat st {};
    if (::lstat(target_.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return;  // nothing saved yet (the first save says why it cannot be)
    const std::string keptAside = target_ + " will be kept as " + target_ + ".bad when a setting is saved";
    std::string text;
    switch (ReadRegularFile(target_, kMaxFileSize, text, &error)) {
    case ReadFileResult::Ok: break;
    case ReadFileResult::TooLarge:
        state_ = FileState::Damaged;
        loadMessages_.push_back(Subject() + error + "; the settings start from their defaults");
        loadMessages_.push_back(keptAside);
        return;
    case ReadFileResult::Failed:
        state_ = FileState::Untouchable;
        loadMessages_.push_back(Subject() + error + keptInMemory);
        return;
    }
    ParsedIni parsed = ParseIniText(text);
    sections_ = std::move(parsed.sections);
    if (parsed.unreadCount == 0)
        return;
    state_ = FileState::Damaged;
    for (const std::string& line : parsed.unreadLines)
        loadMessages_.push_back(Subject() + target_ + " " + line);
    loadMessages_.push_back(keptAside);
}

void IniStore::LoadIfNeeded()
{
    if (loaded_)
        return;
    loaded_ = true;
    if (!path_.empty())
        Load();
}

std::vector<std::string> IniStore::LoadMessages()
{
    std::lock_guard lock(mutex_);
    LoadIfNeeded();
    return loadMessages_;
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
    if (path_.empty() || state_ == FileState::Untouchable) {
        sections_[section][key] = value;
        return true;
    }
    IniSections updated = sections_;
    updated[section][key] = value;
    const auto slash = path_.find_last_of('/');
    if (slash != std::string::npos && !MakeFolders(path_.substr(0, slash))) {
        if (error)
            *error = "cannot create the folder of " + path_ + ": " + ErrnoText(errno);
        return false;
    }
    if (state_ == FileState::Damaged && !KeepFileAside(target_, target_ + ".bad", error))
        return false;
    if (!WriteFileAtomically(target_, SerialiseIni(updated), error, 0600))
        return false;
    sections_ = std::move(updated);
    state_ = FileState::Usable;
    return true;
}
