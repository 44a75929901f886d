#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

// Settings kept as "key=value" lines under "[section]" headings in one INI
// file. Keys compare without regard to ASCII case. Values may hold any text:
// backslash, line breaks and blanks at either end are escaped. Every write
// rewrites the file through a temporary name. A file that cannot be parsed
// reads as empty and is kept aside as "<file>.bad" before the first write
// replaces it. Thread-safe.
class IniStore {
public:
    explicit IniStore(std::string path);

    std::optional<std::string> Get(const std::string& section, const std::string& key);
    // False (nothing changed on disk or in memory) when the key is not
    // storable or the file cannot be written; error says why.
    bool Set(const std::string& section, const std::string& key, const std::string& value,
             std::string* error = nullptr);

    const std::string& Path() const { return path_; }
    // Why the last load found the file unusable; empty when it was fine.
    std::string LoadProblem();

    static std::string EscapeValue(const std::string& value);
    static std::string UnescapeValue(const std::string& text);

private:
    struct KeyLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using Section = std::map<std::string, std::string, KeyLess>;
    using Sections = std::map<std::string, Section, KeyLess>;

    void LoadIfNeeded();
    bool Parse(const std::string& text, Sections& sections, std::string& problem) const;
    std::string Serialise(const Sections& sections) const;

    std::string path_;
    std::mutex mutex_;
    bool loaded_ = false;
    bool fileIsBad_ = false;
    std::string loadProblem_;
    Sections sections_;
};
