#pragma once

#include "core/base/UserPrompt.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Sets (or with null, unsets) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_hadValue;
    std::string m_oldValue;
};

// Points the profile at a file in a fresh folder for one scope.
class ScopedProfile {
public:
    ScopedProfile();
    ~ScopedProfile();
    std::string Path() const { return m_dir.File("quenzario.conf"); }

private:
    TempDir m_dir;
};

// Answers message boxes from a script and records what was asked.
class ScriptedPrompt : public UserPrompt {
public:
    struct Asked {
        std::string text;
        std::string caption;
        unsigned type;
    };
    ScriptedPrompt();
    ~ScriptedPrompt() override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void Answer(int result) { m_answers.push_back(result); }

    std::vector<Asked> asked;
    // Called with each question as it is asked, before it is answered (a
    // window losing the focus to the box, for instance).
    std::function<void(const Asked&)> onAsk;

private:
    std::deque<int> m_answers;
    UserPrompt* m_previous;
};

// Writes the program log into a fresh folder for one scope.
class ScopedProgramLog {
public:
    ScopedProgramLog();
    ~ScopedProgramLog();
    std::string Text() const;

private:
    TempDir m_dir;
};

std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// A byte fixture written out in a test as a string of its bytes.
template <std::size_t N>
std::string FixtureBytes(const unsigned char (&bytes)[N])
{
    return std::string(reinterpret_cast<const char*>(bytes), N);
}
// Overwrites four bytes of a fixture with a little-endian value.
void PutLittleEndian32(std::string& bytes, std::size_t offset, std::int32_t value);

// Switches LC_ALL to a locale whose decimal point is a comma (built once
// with localedef into a private folder) for one scope. Ok() is false when
// the machine cannot build one; callers skip then.
class ScopedCommaLocale {
public:
    ScopedCommaLocale();
    ~ScopedCommaLocale();
    bool Ok() const { return m_ok; }

private:
    bool m_ok = false;
    std::string m_previous;
};
