#include "core/app/Startup.h"

#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"

#include <iostream>

CommandLineArgs TakeCommandLine(int argc, const char* const* argv)
{
    CommandLineArgs args;
    if (argc > 1 && argv[1])
        args.first = argv[1];
    if (argc > 2 && argv[2])
        args.second = argv[2];
    return args;
}

StartupRefusal CheckStartupGates(int osVersionCode, bool isAdmin)
{
    if (osVersionCode <= 2)
        return StartupRefusal::UnsupportedSystem;
    if ((osVersionCode == 3 || osVersionCode == 4) && !isAdmin)
        return StartupRefusal::NeedsAdministrator;
    return StartupRefusal::None;
}

std::string StartupRefusalText(StartupRefusal refusal)
{
    switch (refusal) {
    case StartupRefusal::UnsupportedSystem:
        return "Support for Windows 95, 98, ME & NT4.0 has been discontinued, We are sorry for any inconvenience.";
    case StartupRefusal::NeedsAdministrator:
        return "In Windows XP or earlier administrator privileges are required. Please run program with administrator "
               "rights";
    case StartupRefusal::None: break;
    }
    return std::string();
}

std::string StartupRefusalCaption(StartupRefusal refusal)
{
    switch (refusal) {
    case StartupRefusal::UnsupportedSystem: return "Your OS not supported";
    case StartupRefusal::NeedsAdministrator: return "Need admin rights";
    case StartupRefusal::None: break;
    }
    return std::string();
}

bool IsLoggingWanted()
{
    return GetAppProfileInt("AllowLogging", 1) == 1;
}

bool StartLoggingIfWanted(const std::string& temporaryFolder)
{
    StopProgramLog();
    const bool started = IsLoggingWanted() && StartProgramLog(temporaryFolder);
    if (started)
        g_pLogFile->WriteMemoryStatistics();
    // Reading "AllowLogging" read the settings before the log was open.
    for (const std::string& message : TakeKeptProfileMessages()) {
        if (started)
            LogEntry(message);
        else
            std::cerr << "Quenzario: " << message << '\n';
    }
    return started;
}
