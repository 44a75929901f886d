#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Every setting of the program is a value in the profile section "QNZ",
// stored in <config folder>/TQL/<application>.conf (UserConfigFolder: from
// XDG_CONFIG_HOME, HOME or the password database). Without any, the settings
// are kept in memory for the run. Each reader supplies its own default;
// nothing is written until a writer runs.
int GetAppProfileInt(const std::string& entry, int defaultValue);
bool WriteAppProfileInt(const std::string& entry, int value);
std::string GetAppProfileString(const std::string& entry, const std::string& defaultValue);
bool WriteAppProfileString(const std::string& entry, const std::string& value);

// The registry key that groups the program's settings ("TQL") and the
// application name; both decide the file path. Call before the first use.
void SetProfileRegistryKey(const std::string& key);
void SetProfileApplicationName(const std::string& name);
// Path of the profile file (resolved at first use; empty when the settings
// are kept in memory); tests may set it directly.
std::string GetProfilePath();
void SetProfilePathForTesting(const std::string& path);
// Replaces the password database's home folder; null restores it.
void SetPasswordHomeForTesting(std::function<std::optional<std::string>()> lookup);

// What reading the settings had to tell ("Profile: ..." lines) while the log
// was not open yet; taken once. Messages that arise with the log open go
// straight into it.
std::vector<std::string> TakeKeptProfileMessages();

// Version code of the operating system as the program's gates use it: this
// build always reports 10 ("any other platform"), which needs no rights check.
constexpr int kOsVersionCodeLinux = 10;
int GetOSVersionCode();

// Whether this user may open the optical drive nodes read-write (root, or
// every /dev/sr* node present is readable and writable; false with none).
bool IsCurrentUserAdmin(const std::string& devRoot = "/dev");

// 0 when the file opens for reading; else 1 when allowCreate and the file
// could be created (an existing file is emptied); else 255.
int TestFileAccess(const std::string& path, bool allowCreate);

// Text of the last system error (errno).
std::string GetLastErrorText();

// The program version's four fields printed back to back ("1.0.0.0" gives
// "1000"), and that number divided by 1000 as shown in titles and the log.
std::string GetProgramVersionDigits();
double GetProgramVersionNumber();
