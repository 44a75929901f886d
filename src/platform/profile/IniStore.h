#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Section and key names compare without regard to ASCII case.
struct IniKeyLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
using IniSection = std::map<std::string, std::string, IniKeyLess>;
using IniSections = std::map<std::string, IniSection, IniKeyLess>;

// What a settings text holds. Lines that cannot be read are skipped and
// named in unreadLines ("line 3 cannot be read (it holds a NUL byte);
// skipped"), the first kMaxNamedLines of them, then one line counting the rest.
struct ParsedIni {
    static constexpr std::size_t kMaxNamedLines = 20;
    IniSections sections;
    std::vector<std::string> unreadLines;
    std::size_t unreadCount = 0;  // every line that could not be read
};
// A leading UTF-8 byte-order mark is skipped; lines end with LF or CR LF.
ParsedIni ParseIniText(std::string_view text);
std::string SerialiseIni(const IniSections& sections);

// Settings kept as "key=value" lines under "[section]" headings in one INI
// file. Values may hold any text: backslash, line breaks and blanks at either
// end are escaped. Every write rewrites the file through a temporary name; a
// symbolic link stays a link and the file at its end is rewritten.
//
// The file is read once, at first use, only when it is a regular file of at
// most kMaxFileSize bytes (a pipe, device or folder is not even opened), and
// what it holds is never lost:
// - unreadable lines are skipped, the rest is read; a file larger than the
//   bound is not read. Either way the file as it was is kept as "<file>.bad"
//   before the first write replaces it;
// - a path that is no regular file or cannot be opened is left alone: the
//   settings are kept in memory for the run and not saved.
// LoadMessages says which of these happened. Thread-safe.
class IniStore {
public:
    static constexpr std::uintmax_t kMaxFileSize = 1024 * 1024;

    // Settings in memory only, for a run that has nowhere to keep them.
    IniStore() = default;
    explicit IniStore(std::string path);

    std::optional<std::string> Get(const std::string& section, const std::string& key);
    // False (nothing changed on disk or in memory) when the key is not
    // storable or the file cannot be written; error says why. Settings kept
    // in memory only are always set.
    bool Set(const std::string& section, const std::string& key, const std::string& value,
             std::string* error = nullptr);

    // The file's path; empty for settings in memory only.
    const std::string& Path() const { return path_; }
    // What loading the file found worth telling, one message each; empty
    // when it was fine (or missing).
    std::vector<std::string> LoadMessages();

    static std::string EscapeValue(const std::string& value);
    static std::string UnescapeValue(const std::string& text);

private:
    enum class FileState {
        Usable,  // read whole, or missing
        Damaged,  // partly read or too large: kept aside before the first write
        Untouchable,  // not a regular file, or not to be opened: never written
    };

    void LoadIfNeeded();
    void Load();
    std::string Subject() const;

    std::string path_;
    std::string target_;  // the file at the end of path's links
    std::mutex mutex_;
    bool loaded_ = false;
    FileState state_ = FileState::Usable;
    std::vector<std::string> loadMessages_;
    IniSections sections_;
};
