#pragma once

#include <string>

// The first two command-line arguments after the program name; the rest
// are ignored.
struct CommandLineArgs {
    std::string first;
    std::string second;
};
CommandLineArgs TakeCommandLine(int argc, const char* const* argv);

// Why start-up is refused, if it is.
enum class StartupRefusal { None, UnsupportedSystem, NeedsAdministrator };
StartupRefusal CheckStartupGates(int osVersionCode, bool isAdmin);
// The message box text and caption of a refusal.
std::string StartupRefusalText(StartupRefusal refusal);
std::string StartupRefusalCaption(StartupRefusal refusal);

// "AllowLogging" (default 1): only 1 switches logging on.
bool IsLoggingWanted();

// Opens the log in the temporary folder when logging is wanted and writes
// the memory statistics into it, then what reading the settings had to tell
// (to the standard error when logging stays off). False when logging stays
// off.
bool StartLoggingIfWanted(const std::string& temporaryFolder);
