#include "core/base/AppProfile.h"
#include "gui/app/FileDialogs.h"
#include "support/TestSupport.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

TEST(FileDialogs, RememberTheFolderPerPurpose)
{
    ScopedProfile profile;
    ScriptedFileDialogs dialogs;
    dialogs.Answer(FileDialogAnswer{"/home/user/scans/disc.qnzx", 1});
    const auto chosen = ShowOpenFileDialog(nullptr, "Open", "Scan Files (*.qnzx)", "Last Open Directory", "qnzx");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, "/home/user/scans/disc.qnzx");
    EXPECT_EQ(GetAppProfileString("Last Open Directory", ""), "/home/user/scans");

    dialogs.Answer(std::nullopt);  // cancelled
    EXPECT_FALSE(ShowOpenFileDialog(nullptr, "Open", "*", "Last Open Directory", ""));
    EXPECT_EQ(dialogs.requests.back().folder, "/home/user/scans");
    EXPECT_EQ(GetAppProfileString("Last Open Directory", ""), "/home/user/scans");
}

TEST(FileDialogs, SaveKeepsAskingWhileThePathIsInASystemFolder)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedFileDialogs dialogs;
    dialogs.Answer(FileDialogAnswer{"/usr/lib/test.png", 1});
    dialogs.Answer(FileDialogAnswer{"/home/user/usr/test.jpg", 2});
    const auto chosen = ShowSaveFileDialog(nullptr, "Save", "PNG (*.png);;JPEG (*.jpg)", "Last Save Directory", "png",
                                           1);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, "/home/user/usr/test.jpg");
    EXPECT_EQ(chosen->filterIndex, 2);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Illegal Folder,  please choose another folder. Read or Write to /usr is not permitted.");
    EXPECT_EQ(dialogs.requests.size(), 2u);
}

TEST(FileDialogs, SystemFoldersAreNamedAlsoWhereDotsOrALinkLeadIntoThem)
{
    TempDir dir;
    std::filesystem::create_directory_symlink("/etc", dir.File("settings"));
    const std::pair<std::string, std::string> inside[] = {
        {"/usr", "/usr"},
        {"/etc/x", "/etc"},
        {"/proc/self/mem", "/proc"},
        {"/dev/sda", "/dev"},
        {"/home/u/../../etc/x", "/etc"},
        {dir.File("settings/x.txt"), "/etc"},
    };
    for (const auto& [path, folder] : inside) {
        EXPECT_TRUE(IsInSystemFolder(path)) << path;
        EXPECT_EQ(SystemFolderOf(path).value_or(""), folder) << path;
    }
    for (const char* outside : {"/home/u/etc/x", "/usrlocal", "/tmp/a", "relative/usr", ""})
        EXPECT_FALSE(IsInSystemFolder(outside)) << outside;
}
