#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "platform/files/SafeFile.h"
#include "platform/profile/IniStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
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

using namespace std::string_literals;

namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& part)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

mode_t FileType(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

std::string LinkTarget(const std::string& path)
{
    std::error_code error;
    return std::filesystem::read_symlink(path, error).string();
}

}  // namespace

// Each settings path is read (or refused with a message), then a setting is
// saved: what the file held is read or kept, never lost, and what is no
// regular file is left as it was.
TEST(Profile, SettingsFilesOfEveryKindAreReadOrRefusedAndNothingIsLost)
{
    const std::string settings = "[QNZ]\nColors=3\nAllowLogging=0\n";
    std::string large = settings;
    while (large.size() <= 2 * 1024 * 1024)
        large += "; padding to two MiB\n";
    const std::string withNul = "[QNZ]\nColors=3\nLast Save Directory=/a\0b\nAllowLogging=0\n"s;
    const std::string withoutEquals = "[QNZ]\nColors=3\ngarbage line\nAllowLogging=0\n";

    using Step = std::function<void(const TempDir&, const std::string&)>;
    const auto writes = [](std::string text) {
        return [text](const TempDir&, const std::string& path) { WriteFileText(path, text); };
    };
    const auto keptAsBad = [](std::string original) {
        return [original](const TempDir&, const std::string& path) {
            EXPECT_EQ(ReadFileText(path + ".bad"), original);
            EXPECT_EQ(FileType(path), S_IFREG);
        };
    };
    const Step noBadFile = [](const TempDir&, const std::string& path) {
        EXPECT_FALSE(FileExists(path + ".bad"));
        EXPECT_EQ(FileType(path), S_IFREG);
    };
    const std::string inMemory = "; the settings are kept in memory for this run and not saved";

    struct Case {
        const char* name;
        Step make;
        int colors;  // what "Colors" reads: 1 is its default
        std::string message;  // one of the load messages; empty: none at all
        Step afterSave;  // nothing lost
    };
    // clang-format off
    const Case cases[] = {
        {"a regular file", writes(settings), 3, "", noBadFile},
        {"no line break at the end", writes("[QNZ]\nAllowLogging=0\nColors=3"), 3, "", noBadFile},
        {"a byte-order mark", writes("\xEF\xBB\xBF" + settings), 3, "", noBadFile},
        {"a link to a file",
         [&](const TempDir& dir, const std::string& path) {
             std::filesystem::create_directory(dir.File("real"));
             WriteFileText(dir.File("real/settings"), settings);
             ASSERT_EQ(symlink("real/settings", path.c_str()), 0);
         },
         3, "",
         [](const TempDir& dir, const std::string& path) {
             EXPECT_EQ(LinkTarget(path), "real/settings");  // still the link, its target rewritten
             EXPECT_NE(ReadFileText(dir.File("real/settings")).find("Scheme=7"), std::string::npos);
             EXPECT_NE(ReadFileText(dir.File("real/settings")).find("Colors=3"), std::string::npos);
         }},
        {"a link to /dev/zero",
         [](const TempDir&, const std::string& path) { ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); },
         1, " (a link to /dev/zero): /dev/zero is not a regular file; not read" + inMemory,
         [](const TempDir&, const std::string& path) { EXPECT_EQ(LinkTarget(path), "/dev/zero"); }},
        {"a pipe",
         [](const TempDir&, const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
         1, "quenzario.conf is not a regular file; not read" + inMemory,
         [](const TempDir&, const std::string& path) { EXPECT_EQ(FileType(path), S_IFIFO); }},
        {"a folder",
         [](const TempDir&, const std::string& path) { std::filesystem::create_directory(path); },
         1, "quenzario.conf is not a regular file; not read" + inMemory,
         [](const TempDir&, const std::string& path) { EXPECT_EQ(FileType(path), S_IFDIR); }},
        {"a file of two MiB", writes(large),
         1, "quenzario.conf is larger than 1048576 bytes; not read; the settings start from their defaults",
         keptAsBad(large)},
        {"a NUL inside a value", writes(withNul),
         3, "quenzario.conf line 3 cannot be read (it holds a NUL byte); skipped", keptAsBad(withNul)},
        {"a line without =", writes(withoutEquals),
         3, "quenzario.conf line 3 cannot be read (it is not a key=value line); skipped", keptAsBad(withoutEquals)},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir dir;
        const std::string path = dir.File("quenzario.conf");
        test.make(dir, path);
        SetProfilePathForTesting(path);
        EXPECT_EQ(GetAppProfileInt("Colors", 1), test.colors);
        // The rest of the file is read around a line that is skipped.
        EXPECT_EQ(GetAppProfileInt("AllowLogging", 1), test.colors == 3 ? 0 : 1);
        EXPECT_EQ(GetAppProfileString("Last Save Directory", "none"), "none");

        const std::vector<std::string> messages = TakeKeptProfileMessages();
        if (test.message.empty()) {
            EXPECT_TRUE(messages.empty()) << messages.front();
        } else {
            EXPECT_TRUE(Contains(messages, test.message)) << (messages.empty() ? "no message" : messages.front());
            EXPECT_TRUE(messages.front().rfind("Profile: " + path, 0) == 0) << messages.front();
        }

        EXPECT_TRUE(WriteAppProfileInt("Scheme", 7));
        EXPECT_EQ(GetAppProfileInt("Scheme", 0), 7);  // for this run at least
        test.afterSave(dir, path);
        if (std::filesystem::is_regular_file(path)) {
            SetProfilePathForTesting(path);  // read again what was saved
            EXPECT_EQ(GetAppProfileInt("Scheme", 0), 7);
            EXPECT_EQ(GetAppProfileInt("Colors", 1), test.colors);
            EXPECT_TRUE(TakeKeptProfileMessages().empty());
        }
    }
    SetProfilePathForTesting(std::string());
}

TEST(Profile, UnreadableLinesAreNamedUpToALimitThenCounted)
{
    std::string text = "[QNZ]\nColors=3\n";
    for (int i = 0; i < 25; ++i)
        text += "no equals sign\n";
    text += "[broken\nUnder=the broken heading\n[QNZ]\nScheme=2\n";
    const ParsedIni parsed = ParseIniText(text);
    EXPECT_EQ(parsed.unreadCount, 26u);
    ASSERT_EQ(parsed.unreadLines.size(), ParsedIni::kMaxNamedLines + 1);
    EXPECT_EQ(parsed.unreadLines.front(), "line 3 cannot be read (it is not a key=value line); skipped");
    EXPECT_EQ(parsed.unreadLines.back(), "6 more lines cannot be read; skipped");
    const IniSection& section = parsed.sections.at("QNZ");
    EXPECT_EQ(section.at("Colors"), "3");
    EXPECT_EQ(section.at("Scheme"), "2");
    EXPECT_EQ(section.count("Under"), 0u);  // not taken into the section above its heading
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

TEST(Profile, TheSettingsFolderComesFromTheEnvironmentOrThePasswordDatabaseNeverFromASharedOne)
{
    TempDir xdg;
    TempDir home;
    TempDir passwordHome;
    struct Case {
        const char* name;
        const char* xdg;  // null: unset
        const char* home;  // null: unset
        bool inPasswordDatabase;
        std::string folder;  // of the settings; empty: kept in memory
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME set", xdg.Path().c_str(), home.Path().c_str(), true, xdg.Path()},
        {"only HOME set", nullptr, home.Path().c_str(), true, home.Path() + "/.config"},
        {"XDG_CONFIG_HOME relative", "relative", home.Path().c_str(), true, home.Path() + "/.config"},
        {"neither set", nullptr, nullptr, true, passwordHome.Path() + "/.config"},
        {"HOME relative", nullptr, "relative", true, passwordHome.Path() + "/.config"},
        {"neither set, no home in the password database", nullptr, nullptr, false, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ScopedEnv xdgEnv("XDG_CONFIG_HOME", test.xdg);
        ScopedEnv homeEnv("HOME", test.home);
        SetPasswordHomeForTesting([&]() -> std::optional<std::string> {
            if (!test.inPasswordDatabase)
                return std::nullopt;
            return passwordHome.Path();
        });
        SetProfilePathForTesting(std::string());
        const std::string path = test.folder.empty() ? "" : test.folder + "/TQL/quenzario.conf";
        if (!path.empty()) {
            std::filesystem::create_directories(test.folder + "/TQL");
            WriteFileText(path, "[QNZ]\nColors=5\n");
        }
        EXPECT_EQ(GetProfilePath(), path);
        EXPECT_EQ(GetAppProfileInt("Colors", 1), path.empty() ? 1 : 5);
        const std::vector<std::string> messages = TakeKeptProfileMessages();
        if (path.empty()) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0],
                      "Profile: no home folder (XDG_CONFIG_HOME and HOME are not absolute paths and the "
                      "password database has none for this user); the settings are kept in memory for "
                      "this run and not saved");
        } else {
            EXPECT_TRUE(messages.empty());
        }
        ASSERT_TRUE(WriteAppProfileInt("AllowLogging", 0));
        EXPECT_EQ(GetAppProfileInt("AllowLogging", 1), 0);
        if (!path.empty()) {
            EXPECT_NE(ReadFileText(path).find("AllowLogging=0"), std::string::npos);
        }
        for (const TempDir* dir : {&xdg, &home, &passwordHome}) {
            if (!path.empty() && path.rfind(dir->Path() + "/", 0) == 0) {
                for (const auto& entry : std::filesystem::directory_iterator(dir->Path()))
                    std::filesystem::remove_all(entry.path());
            }
            EXPECT_TRUE(std::filesystem::is_empty(dir->Path()));  // nothing written anywhere else
        }
    }
    SetPasswordHomeForTesting(nullptr);
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
