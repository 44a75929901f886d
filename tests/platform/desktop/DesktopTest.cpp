#include "platform/desktop/InstallLayout.h"
#include "platform/desktop/MimeAppsList.h"
#include "platform/desktop/XdgFolders.h"
#include "platform/files/SafeFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kOurs{"application/x-a", "application/x-b"};

}  // namespace

TEST(MimeAppsList, SetsTheDefaultAndKeepsEveryOtherLine)
{
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"empty file", "", "[Default Applications]\napplication/x-a=q.desktop;\napplication/x-b=q.desktop;\n"},
        {"no group yet", "[Added Associations]\ntext/plain=gedit.desktop;",
         "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
         "application/x-a=q.desktop;\napplication/x-b=q.desktop;\n"},
        {"others kept, ours first",
         "# mine\n[Default Applications]\ntext/html=firefox.desktop;\napplication/x-a = other.desktop;q.desktop;"
         "third.desktop\n\n[Added Associations]\napplication/x-b=old.desktop;\n",
         "# mine\n[Default Applications]\ntext/html=firefox.desktop;\n"
         "application/x-a=q.desktop;other.desktop;third.desktop;\napplication/x-b=q.desktop;\n\n"
         "[Added Associations]\napplication/x-b=old.desktop;\n"},
        {"a second line of a type goes",
         "[Default Applications]\napplication/x-b=a.desktop;\napplication/x-b=b.desktop;\n",
         "[Default Applications]\napplication/x-b=q.desktop;a.desktop;\napplication/x-a=q.desktop;\n"},
        {"line ends kept", "[Default Applications]\r\ntext/plain=x.desktop;\r\n",
         "[Default Applications]\r\ntext/plain=x.desktop;\r\napplication/x-a=q.desktop;\r\n"
         "application/x-b=q.desktop;\r\n"},
    };
    for (const Case& c : cases) {
        const std::string after = WithDefaultApplication(c.before, kOurs, "q.desktop");
        EXPECT_EQ(after, c.after) << c.name;
        for (const std::string& type : kOurs)
            EXPECT_EQ(DefaultApplicationIn(after, type), "q.desktop") << c.name;
        EXPECT_EQ(WithDefaultApplication(after, kOurs, "q.desktop"), after) << c.name << ": again changes nothing";
    }
}

TEST(MimeAppsList, TheDefaultIsTheFirstIdOfTheDefaultGroup)
{
    const std::string text = "[Added Associations]\napplication/x-a=added.desktop;\n"
                             "[Default Applications]\napplication/x-a= first.desktop ;second.desktop;\n"
                             "application/x-b=;\n[Removed Associations]\napplication/x-c=gone.desktop;\n";
    EXPECT_EQ(DefaultApplicationIn(text, "application/x-a"), "first.desktop");
    EXPECT_FALSE(DefaultApplicationIn(text, "application/x-b"));
    EXPECT_FALSE(DefaultApplicationIn(text, "application/x-c"));
    EXPECT_FALSE(DefaultApplicationIn("", "application/x-a"));
}

TEST(MimeAppsList, TheFileIsReplacedWholeOrNotAtAll)
{
    TempDir dir;
    // Missing, with its folder: both made.
    const std::string fresh = dir.File("config/mimeapps.list");
    ASSERT_TRUE(SetDefaultApplication(fresh, kOurs, "q.desktop"));
    EXPECT_EQ(DefaultApplicationIn(ReadFileText(fresh), "application/x-b"), "q.desktop");

    // A link stays a link; its target keeps its mode.
    const std::string target = dir.File("dotfiles-mimeapps.list");
    WriteFileText(target, "[Default Applications]\ntext/plain=x.desktop;\n");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    const std::string link = dir.File("mimeapps.list");
    fs::create_symlink(target, link);
    ASSERT_TRUE(SetDefaultApplication(link, kOurs, "q.desktop"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(DefaultApplicationIn(ReadFileText(target), "application/x-a"), "q.desktop");
    EXPECT_EQ(DefaultApplicationIn(ReadFileText(target), "text/plain"), "x.desktop");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    // What cannot be read whole is never replaced.
    const std::string large = dir.File("large.list");
    WriteFileText(large, std::string(kMaxMimeAppsListSize + 1, '#'));
    std::string error;
    EXPECT_FALSE(SetDefaultApplication(large, kOurs, "q.desktop", &error));
    EXPECT_EQ(fs::file_size(large), kMaxMimeAppsListSize + 1);
    EXPECT_FALSE(error.empty());
    fs::create_directory(dir.File("folder.list"));
    EXPECT_FALSE(SetDefaultApplication(dir.File("folder.list"), kOurs, "q.desktop"));
    EXPECT_TRUE(fs::is_directory(dir.File("folder.list")));
}

TEST(XdgFolders, FromTheEnvironmentOrTheHomeFolder)
{
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/x/config/");
        ScopedEnv data("XDG_DATA_HOME", "/x/data");
        ScopedEnv dirs("XDG_DATA_DIRS", "/a/share:relative:/b/share/");
        const auto folders = UserXdgFolders();
        ASSERT_TRUE(folders);
        EXPECT_EQ(folders->configHome, "/x/config");
        EXPECT_EQ(folders->dataHome, "/x/data");
        EXPECT_EQ(folders->dataDirs, (std::vector<std::string>{"/a/share", "/b/share"}));
    }
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv data("XDG_DATA_HOME", "relative");
    ScopedEnv dirs("XDG_DATA_DIRS", nullptr);
    ScopedEnv home("HOME", "/home/u");
    const auto folders = UserXdgFolders();
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->configHome, "/home/u/.config");
    EXPECT_EQ(folders->dataHome, "/home/u/.local/share");
    EXPECT_EQ(folders->dataDirs, (std::vector<std::string>{"/usr/local/share", "/usr/share"}));

    ScopedEnv noHome("HOME", nullptr);
    EXPECT_FALSE(UserXdgFolders([] { return std::optional<std::string>(); }));
}

TEST(XdgFolders, DesktopEntriesAreFoundInTheDataFoldersInOrder)
{
    TempDir dir;
    XdgFolders folders{dir.File("config"), dir.File("user"), {dir.File("local"), dir.File("system")}};
    EXPECT_FALSE(FindDesktopEntry(folders, "q.desktop"));
    fs::create_directories(dir.File("system/applications"));
    WriteFileText(dir.File("system/applications/q.desktop"), "[Desktop Entry]\n");
    EXPECT_EQ(FindDesktopEntry(folders, "q.desktop"), dir.File("system/applications/q.desktop"));
    fs::create_directories(dir.File("user/applications/q.desktop"));  // a folder is no entry
    EXPECT_EQ(FindDesktopEntry(folders, "q.desktop"), dir.File("system/applications/q.desktop"));
    EXPECT_FALSE(FindDesktopEntry(folders, "../applications/q.desktop"));
}

TEST(InstallLayout, HelpBesideTheProgramElseInTheInstalledShare)
{
    TempDir dir;
    const std::string build = dir.File("build/");
    fs::create_directories(build + "help");
    EXPECT_EQ(HelpFolderFor(build), build + "help/");

    const std::string bin = dir.File("prefix/bin/");
    fs::create_directories(bin);
    EXPECT_EQ(HelpFolderFor(bin), bin + "help/");  // nothing installed: the usual place
    fs::create_directories(dir.File("prefix/share/quenzario/help"));
    EXPECT_EQ(HelpFolderFor(bin), dir.File("prefix/share/quenzario/help/"));

    const std::string elsewhere = dir.File("prefix/libexec/");
    fs::create_directories(elsewhere);
    EXPECT_EQ(HelpFolderFor(elsewhere), elsewhere + "help/");
}
