#include "support/TestSupport.h"

#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "platform/sysinfo/SystemFacts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

TempDir::TempDir()
{
    std::string pattern = TemporaryFolder() + "/quenza-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = buffer.data();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name)
{
    const char* old = std::getenv(name);
    m_hadValue = old != nullptr;
    if (old)
        m_oldValue = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (m_hadValue)
        setenv(m_name.c_str(), m_oldValue.c_str(), 1);
    else
        unsetenv(m_name.c_str());
}

ScopedProfile::ScopedProfile()
{
    SetProfilePathForTesting(Path());
}

ScopedProfile::~ScopedProfile()
{
    SetProfilePathForTesting(std::string());
}

ScriptedPrompt::ScriptedPrompt() : m_previous(GetUserPrompt())
{
    SetUserPrompt(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    SetUserPrompt(m_previous);
}

int ScriptedPrompt::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    asked.push_back({text, caption, type});
    if (onAsk) {
        const Asked question = asked.back();  // the list may grow meanwhile
        onAsk(question);
    }
    if (m_answers.empty())
        return IDOK;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

ScopedProgramLog::ScopedProgramLog()
{
    if (!StartProgramLog(m_dir.Path()))
        throw std::runtime_error("cannot start the program log");
}

ScopedProgramLog::~ScopedProgramLog()
{
    StopProgramLog();
}

std::string ScopedProgramLog::Text() const
{
    return ReadFileText(m_dir.File("Quenzario.log"));
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

#include <clocale>

namespace {
std::string BuildCommaLocaleFolder()
{
    static const std::string folder = [] {
        static TempDir dir;
        const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.Path() + "/de_DE.UTF-8' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0 ? dir.Path() : std::string();
    }();
    return folder;
}
}  // namespace

ScopedCommaLocale::ScopedCommaLocale()
{
    const char* current = std::setlocale(LC_ALL, nullptr);
    m_previous = current ? current : "C";
    const std::string folder = BuildCommaLocaleFolder();
    if (folder.empty())
        return;
    setenv("LOCPATH", folder.c_str(), 1);
    m_ok = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && std::localeconv()->decimal_point[0] == ',';
}

ScopedCommaLocale::~ScopedCommaLocale()
{
    std::setlocale(LC_ALL, m_previous.c_str());
    unsetenv("LOCPATH");
}

void PutLittleEndian32(std::string& bytes, std::size_t offset, std::int32_t value)
{
    const auto raw = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<char>((raw >> (8 * i)) & 0xFFu);
}
