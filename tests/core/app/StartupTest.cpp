#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/app/Startup.h"
#include "platform/files/SafeFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(Startup, OnlyTheFirstTwoArgumentsCount)
{
    struct Case {
        std::vector<const char*> argv;
        std::string first;
        std::string second;
    };
    const Case cases[] = {
        {{"quenzario"}, "", ""},
        {{"quenzario", "scan.qnzx"}, "scan.qnzx", ""},
        {{"quenzario", "a.ibg", "b"}, "a.ibg", "b"},
        {{"quenzario", "a", "b", "c"}, "a", "b"},
    };
    for (const Case& c : cases) {
        const CommandLineArgs args = TakeCommandLine(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(args.first, c.first);
        EXPECT_EQ(args.second, c.second);
    }
    EXPECT_EQ(TakeCommandLine(0, nullptr).first, "");
}

TEST(Startup, AllowLoggingOneSwitchesTheLogOn)
{
    struct Case {
        const char* value;  // null: absent
        bool logged;
    };
    for (const Case& c : {Case{nullptr, true}, Case{"0", false}, Case{"1", true}, Case{"2", false}}) {
        ScopedProfile profile;
        if (c.value)
            WriteAppProfileString("AllowLogging", c.value);
        TempDir tmp;
        EXPECT_EQ(StartLoggingIfWanted(tmp.Path()), c.logged) << (c.value ? c.value : "absent");
        StopProgramLog();
        EXPECT_EQ(FileExists(tmp.File("Quenzario.log")), c.logged);
        EXPECT_FALSE(FileExists(tmp.File("Quenzarioold.log")));
        if (c.logged) {
            const std::string log = ReadFileText(tmp.File("Quenzario.log"));
            EXPECT_EQ(log.rfind("Log Started ", 0), 0u);
            EXPECT_NE(log.find(" Memory statistics\n"), std::string::npos);  // the timed repeat
        }
    }
}

TEST(Startup, OldSystemGates)
{
    EXPECT_EQ(CheckStartupGates(-1, true), StartupRefusal::UnsupportedSystem);
    EXPECT_EQ(CheckStartupGates(2, true), StartupRefusal::UnsupportedSystem);
    EXPECT_EQ(CheckStartupGates(4, false), StartupRefusal::NeedsAdministrator);
    EXPECT_EQ(CheckStartupGates(4, true), StartupRefusal::None);
    EXPECT_EQ(CheckStartupGates(kOsVersionCodeLinux, false), StartupRefusal::None);
    EXPECT_EQ(StartupRefusalCaption(StartupRefusal::UnsupportedSystem), "Your OS not supported");
}

TEST(Startup, WhatReadingTheSettingsFoundBeforeTheLogOpenedIsWrittenOnceItIs)
{
    for (const char* allowLogging : {"1", "0"}) {
        SCOPED_TRACE(allowLogging);
        ScopedProfile profile;
        WriteFileText(profile.Path(), std::string("[QNZ]\nAllowLogging=") + allowLogging + "\nno equals sign\n");
        SetProfilePathForTesting(profile.Path());
        TempDir tmp;
        testing::internal::CaptureStderr();
        const bool logged = StartLoggingIfWanted(tmp.Path());
        const std::string stderrText = testing::internal::GetCapturedStderr();
        StopProgramLog();
        const std::string message = "Profile: " + profile.Path()
            + " line 3 cannot be read (it is not a key=value line); skipped\n";
        if (logged) {
            const std::string log = ReadFileText(tmp.File("Quenzario.log"));
            EXPECT_NE(log.find(message), std::string::npos) << log;
            EXPECT_NE(log.find(" will be kept as " + profile.Path() + ".bad"), std::string::npos);
            EXPECT_EQ(log.find(message), log.rfind(message));  // once
        } else {
            EXPECT_NE(stderrText.find("Quenzario: " + message), std::string::npos) << stderrText;
        }
        EXPECT_TRUE(TakeKeptProfileMessages().empty());
    }
}
