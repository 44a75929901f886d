#include "core/base/AppProfile.h"

#include "Version.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "platform/files/SafeFile.h"
#include "platform/profile/ConfigFolder.h"
#include "platform/profile/IniStore.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <mutex>
#include <utility>
#include <unistd.h>

namespace {

const char kSection[] = "QNZ";

struct ProfileState {
    std::mutex mutex;
    std::string registryKey = "TQL";
    std::string applicationName = "quenzario";
    std::string explicitPath;
    std::function<std::optional<std::string>()> passwordHome = PasswordDatabaseHome;
    std::unique_ptr<IniStore> store;
    // What loading the settings found while no log was open yet.
    std::vector<std::string> keptMessages;
};

ProfileState& State()
{
    static ProfileState state;
    return state;
}

// Makes the store of the settings file; what there is to tell about it goes
// into messages.
std::unique_ptr<IniStore> MakeStore(const ProfileState& state, std::vector<std::string>& messages)
{
    if (!state.explicitPath.empty())
        return std::make_unique<IniStore>(state.explicitPath);
    const std::optional<std::string> folder = UserConfigFolder(state.passwordHome);
    if (!folder) {
        messages.push_back("no home folder (XDG_CONFIG_HOME and HOME are not absolute paths and the password database "
                           "has none for this user); the settings are kept in memory for this run and not saved");
        return std::make_unique<IniStore>();
    }
    return std::make_unique<IniStore>(*folder + "/" + state.registryKey + "/" + state.applicationName + ".conf");
}

IniStore& Store()
{
    ProfileState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.store) {
        std::vector<std::string> messages;
        state.store = MakeStore(state, messages);
        for (std::string& message : state.store->LoadMessages())
            messages.push_back(std::move(message));
        for (const std::string& message : messages)
            state.keptMessages.push_back("Profile: " + message);
        // The settings are read before the log opens (they say whether to
        // log); start-up writes these messages once it is open.
        if (g_bLogging.load()) {
            for (const std::string& message : state.keptMessages)
                LogEntry(message);
            state.keptMessages.clear();
        }
    }
    return *state.store;
}

void ResetStore()
{
    ProfileState& state = State();
    std::lock_guard lock(state.mutex);
    state.store.reset();
    state.keptMessages.clear();
}

}  // namespace

void SetProfileRegistryKey(const std::string& key)
{
    {
        std::lock_guard lock(State().mutex);
        State().registryKey = key;
    }
    ResetStore();
}

void SetProfileApplicationName(const std::string& name)
{
    {
        std::lock_guard lock(State().mutex);
        State().applicationName = name;
    }
    ResetStore();
}

void SetProfilePathForTesting(const std::string& path)
{
    {
        std::lock_guard lock(State().mutex);
        State().explicitPath = path;
    }
    ResetStore();
}

void SetPasswordHomeForTesting(std::function<std::optional<std::string>()> lookup)
{
    {
        std::lock_guard lock(State().mutex);
        State().passwordHome = lookup ? std::move(lookup) : PasswordDatabaseHome;
    }
    ResetStore();
}

std::vector<std::string> TakeKeptProfileMessages()
{
    Store();
    std::lock_guard lock(State().mutex);
    return std::exchange(State().keptMessages, {});
}

std::string GetProfilePath()
{
    return Store().Path();
}

int GetAppProfileInt(const std::string& entry, int defaultValue)
{
    const auto text = Store().Get(kSection, entry);
    long value = 0;
    if (!text || !ParseLong(*text, value) || value < -2147483648L || value > 2147483647L)
        return defaultValue;
    return static_cast<int>(value);
}

bool WriteAppProfileInt(const std::string& entry, int value)
{
    return WriteAppProfileString(entry, Format("%d", value));
}

std::string GetAppProfileString(const std::string& entry, const std::string& defaultValue)
{
    return Store().Get(kSection, entry).value_or(defaultValue);
}

bool WriteAppProfileString(const std::string& entry, const std::string& value)
{
    std::string error;
    if (Store().Set(kSection, entry, value, &error))
        return true;
    LogEntry("Profile: cannot save \"" + entry + "\": " + error);
    return false;
}

int GetOSVersionCode()
{
    return kOsVersionCodeLinux;
}

bool IsCurrentUserAdmin(const std::string& devRoot)
{
    if (::geteuid() == 0)
        return true;
    DIR* dir = ::opendir(devRoot.c_str());
    if (!dir)
        return false;
    int nodes = 0;
    bool allAccessible = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < 3 || name.compare(0, 2, "sr") != 0
            || name.find_first_not_of("0123456789", 2) != std::string::npos)
            continue;
        ++nodes;
        if (::access((devRoot + "/" + name).c_str(), R_OK | W_OK) != 0)
            allAccessible = false;
    }
    ::closedir(dir);
    return nodes > 0 && allAccessible;
}

int TestFileAccess(const std::string& path, bool allowCreate)
{
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return 0;
    }
    if (allowCreate) {
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fclose(f);
            return 1;
        }
    }
    return 255;
}

std::string GetLastErrorText()
{
    return ErrnoText(errno);
}

std::string GetProgramVersionDigits()
{
    return Format("%d%d%d%d", QUENZA_VERSION_MAJOR, QUENZA_VERSION_MINOR, QUENZA_VERSION_PATCH, QUENZA_VERSION_TWEAK);
}

double GetProgramVersionNumber()
{
    long digits = 0;
    ParseLong(GetProgramVersionDigits(), digits);
    return static_cast<double>(digits) / 1000.0;
}
