#include "core/app/AppProfile.h"
#include "core/app/LogFile.h"
#include "platform/files/SafeFile.h"
#include "platform/profile/IniStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(Profile, UnwrittenEntriesGiveEachReadersDefault)
{
    ScopedProfile profile;
    EXPECT_EQ(GetAppProfileInt("Colors", 1), 1);
    EXPECT_EQ(GetAppProfileInt("Colors", 7), 7);
    EXPECT_EQ(GetAppProfileString("Last Save Directory", "/home"), "/home");
    EXPECT_FALSE(FileExists(profile.Path()));  // reading writes nothing
}

TEST(Profile, ValuesRoundTripThroughTheFile)
{
    ScopedProfile profile;
    const std::string values[] = {"a=b=c", "  leading and trailing  ", "Grüße, ディスク", "back\\slash\nnew line",
                                  "",      "[not a section]",          "; not a comment"};
    for (size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(WriteAppProfileString("Entry " + std::to_string(i), values[i]));
    ASSERT_TRUE(WriteAppProfileInt("VideoWindow Left", -12));
    ASSERT_TRUE(WriteAppProfileInt("SelectedDevice", 2147483647));

    SetProfilePathForTesting(profile.Path());  // forget the cache: read the file again
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(GetAppProfileString("Entry " + std::to_string(i), "?"), values[i]) << i;
    EXPECT_EQ(GetAppProfileInt("VideoWindow Left", 0), -12);
    EXPECT_EQ(GetAppProfileInt("selecteddevice", 0), 2147483647);  // names ignore case
    EXPECT_NE(ReadFileText(profile.Path()).find("[QNZ]\n"), std::string::npos);
}

TEST(Profile, NonNumericOrHugeIntegersGiveTheDefault)
{
    ScopedProfile profile;
    WriteAppProfileString("A", "12abc");
    WriteAppProfileString("B", "99999999999");
    WriteAppProfileString("C", " 42 ");
    EXPECT_EQ(GetAppProfileInt("A", 5), 5);
    EXPECT_EQ(GetAppProfileInt("B", 5), 5);
    EXPECT_EQ(GetAppProfileInt("C", 5), 42);
}

TEST(Profile, CorruptFileReadsAsEmptyAndIsKeptUntilAWriteSucceeds)
{
    ScopedProfile profile;
    WriteFileText(profile.Path(), std::string("[QNZ]\nColors=3\ngarbage line\n\0\x01", 30));
    TempDir logDir;
    ASSERT_TRUE(StartProgramLog(logDir.Path()));
    SetProfilePathForTesting(profile.Path());
    EXPECT_EQ(GetAppProfileInt("Colors", 1), 1);
    StopProgramLog();
    EXPECT_NE(ReadFileText(logDir.File("Quenzario.log")).find("cannot be read as settings"), std::string::npos);
    const std::string corrupt = ReadFileText(profile.Path());

    ASSERT_TRUE(WriteAppProfileInt("Colors", 4));
    EXPECT_EQ(ReadFileText(profile.Path() + ".bad"), corrupt);
    SetProfilePathForTesting(profile.Path());
    EXPECT_EQ(GetAppProfileInt("Colors", 1), 4);
}

TEST(Profile, WriteCutShortLeavesTheOldFileAndValue)
{
    ScopedProfile profile;
    ASSERT_TRUE(WriteAppProfileInt("Colors", 2));
    const std::string before = ReadFileText(profile.Path());
    {
        // A file-size limit cuts the next write short, as a full disk would.
        const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit tight = old;
        tight.rlim_cur = before.size() + 4;
        setrlimit(RLIMIT_FSIZE, &tight);
        EXPECT_FALSE(WriteAppProfileString("Last Save Directory", std::string(200, 'x')));
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldHandler);
    }
    EXPECT_EQ(ReadFileText(profile.Path()), before);
    EXPECT_EQ(GetAppProfileString("Last Save Directory", "none"), "none");
    const std::string folder = profile.Path().substr(0, profile.Path().find_last_of('/'));
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        leftovers += entry.path().filename() != "quenzario.conf";
    EXPECT_EQ(leftovers, 0);  // no temporary file left behind
}

TEST(Profile, UnwritableConfigFolderIsAClearFailure)
{
    TempDir dir;
    WriteFileText(dir.File("file"), "x");
    // The profile's folder would have to be created below a plain file.
    SetProfilePathForTesting(dir.File("file") + "/TQL/quenzario.conf");
    EXPECT_FALSE(WriteAppProfileInt("Colors", 3));
    EXPECT_EQ(GetAppProfileInt("Colors", 1), 1);
    SetProfilePathForTesting(std::string());
}

TEST(Profile, PathFollowsXdgConfigHome)
{
    TempDir dir;
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.Path().c_str());
    SetProfilePathForTesting(std::string());
    EXPECT_EQ(GetProfilePath(), dir.Path() + "/TQL/quenzario.conf");
    ASSERT_TRUE(WriteAppProfileInt("AllowLogging", 0));
    EXPECT_TRUE(FileExists(dir.Path() + "/TQL/quenzario.conf"));
    SetProfilePathForTesting(std::string());
}

TEST(IniStore, KeysThatCannotBeStoredAreRefused)
{
    TempDir dir;
    IniStore store(dir.File("s.conf"));
    for (const char* key : {"", "a=b", "line\nbreak", " padded", "[x]"})
        EXPECT_FALSE(store.Set("QNZ", key, "v")) << key;
    EXPECT_FALSE(FileExists(dir.File("s.conf")));
}

TEST(GlobalHelpers, TestFileAccess)
{
    TempDir dir;
    EXPECT_EQ(TestFileAccess(dir.File("missing"), false), 255);
    EXPECT_EQ(TestFileAccess(dir.File("created"), true), 1);
    EXPECT_TRUE(FileExists(dir.File("created")));
    EXPECT_EQ(TestFileAccess(dir.File("created"), false), 0);
}

TEST(GlobalHelpers, VersionDigitsAndGates)
{
    const std::string digits = GetProgramVersionDigits();
    EXPECT_FALSE(digits.empty());
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_DOUBLE_EQ(GetProgramVersionNumber(), std::stol(digits) / 1000.0);
    EXPECT_GT(GetOSVersionCode(), 4);  // never stopped by an old-system gate
}

TEST(GlobalHelpers, AdminMeansTheDriveNodesOpenReadWrite)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root is always allowed";
    TempDir dev;
    EXPECT_FALSE(IsCurrentUserAdmin(dev.Path()));  // no drive node at all
    WriteFileText(dev.File("sr0"), "");
    chmod(dev.File("sr0").c_str(), 0600);
    EXPECT_TRUE(IsCurrentUserAdmin(dev.Path()));
    WriteFileText(dev.File("sr1"), "");
    chmod(dev.File("sr1").c_str(), 0400);
    EXPECT_FALSE(IsCurrentUserAdmin(dev.Path()));
}
