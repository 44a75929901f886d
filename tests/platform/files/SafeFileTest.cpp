#include "platform/files/SafeFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(SafeFile, ReadsWholeFilesAndSaysWhyOthersCannotBeRead)
{
    TempDir dir;
    const std::string big(200000, 'x');  // more than one read's worth
    WriteFileText(dir.File("big"), big);
    WriteFileText(dir.File("empty"), "");
    fs::create_directory(dir.File("folder"));

    struct Case {
        const char* name;
        std::string path;
        bool read;
        std::string content;
        std::string error;
    };
    const Case cases[] = {
        {"a file of several reads", dir.File("big"), true, big, ""},
        {"an empty file", dir.File("empty"), true, "", ""},
        {"a missing file", dir.File("missing"), false, "",
         "cannot open " + dir.File("missing") + ": No such file or directory"},
        {"a folder opens but cannot be read", dir.File("folder"), false, "",
         "cannot read " + dir.File("folder") + ": Is a directory"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::string content = "left over";
        std::string error;
        EXPECT_EQ(ReadWholeFile(test.path, content, &error), test.read);
        EXPECT_EQ(error, test.error);
        if (test.read) {
            EXPECT_EQ(content, test.content);
        }
    }
}

TEST(SafeFile, MovesAPrivateFileByNameAndRefusesWhatIsNoRegularFile)
{
    TempDir dir;
    WriteFileText(dir.File("source"), "old run");
    struct stat before {};
    ASSERT_EQ(::stat(dir.File("source").c_str(), &before), 0);
    std::string error;
    ASSERT_TRUE(MovePrivateFile(dir.File("source"), dir.File("kept"), &error)) << error;
    struct stat after {};
    ASSERT_EQ(::stat(dir.File("kept").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, not a copy
    EXPECT_FALSE(FileExists(dir.File("source")));

    EXPECT_TRUE(MovePrivateFile(dir.File("missing"), dir.File("none"), &error));  // nothing to keep
    EXPECT_FALSE(FileExists(dir.File("none")));

    fs::create_directory(dir.File("folder"));
    ASSERT_EQ(symlink(dir.File("kept").c_str(), dir.File("link").c_str()), 0);
    for (const char* name : {"folder", "link"}) {
        EXPECT_FALSE(MovePrivateFile(dir.File(name), dir.File("kept"), &error)) << name;
        EXPECT_EQ(error, dir.File(name) + " is not a regular file of this user; not kept");
    }
    EXPECT_EQ(ReadFileText(dir.File("kept")), "old run");  // the target is left as it was
}

TEST(SafeFile, FinalLinkTargetFollowsChainsOfLinks)
{
    TempDir dir;
    fs::create_directory(dir.File("sub"));
    WriteFileText(dir.File("sub/file"), "");
    ASSERT_EQ(symlink("sub/file", dir.File("relative").c_str()), 0);
    ASSERT_EQ(symlink(dir.File("relative").c_str(), dir.File("chain").c_str()), 0);
    ASSERT_EQ(symlink("sub/not-yet", dir.File("dangling").c_str()), 0);
    ASSERT_EQ(symlink("loop-b", dir.File("loop-a").c_str()), 0);
    ASSERT_EQ(symlink("loop-a", dir.File("loop-b").c_str()), 0);

    EXPECT_EQ(FinalLinkTarget(dir.File("sub/file")), dir.File("sub/file"));
    EXPECT_EQ(FinalLinkTarget(dir.File("missing")), dir.File("missing"));
    EXPECT_EQ(FinalLinkTarget(dir.File("chain")), dir.File("sub/file"));
    EXPECT_EQ(FinalLinkTarget(dir.File("dangling")), dir.File("sub/not-yet"));
    std::string error;
    EXPECT_EQ(FinalLinkTarget(dir.File("loop-a"), &error), std::nullopt);
    EXPECT_EQ(error, dir.File("loop-a") + " is a loop of symbolic links");
}

TEST(SafeFile, AFileKeptAsideStaysUnchangedAndReplacesAnEarlierOne)
{
    TempDir dir;
    WriteFileText(dir.File("settings"), "as it was");
    WriteFileText(dir.File("settings.bad"), "earlier");
    std::string error;
    ASSERT_TRUE(KeepFileAside(dir.File("settings"), dir.File("settings.bad"), &error)) << error;
    EXPECT_EQ(ReadFileText(dir.File("settings.bad")), "as it was");
    // Rewriting the file through a new name leaves the kept one alone.
    ASSERT_TRUE(WriteFileAtomically(dir.File("settings"), "new", &error)) << error;
    EXPECT_EQ(ReadFileText(dir.File("settings.bad")), "as it was");

    EXPECT_TRUE(KeepFileAside(dir.File("missing"), dir.File("missing.bad"), &error));
    EXPECT_FALSE(FileExists(dir.File("missing.bad")));
}

TEST(SafeFile, AnAtomicWriteReplacesTheFileWholeOrLeavesItAndNoTemporaryName)
{
    TempDir dir;
    std::string error;
    WriteFileText(dir.File("settings"), "old");
    ASSERT_TRUE(WriteFileAtomically(dir.File("settings"), "new", &error)) << error;
    EXPECT_EQ(ReadFileText(dir.File("settings")), "new");

    fs::create_directories(dir.File("taken/inside"));  // a folder where the file should go
    EXPECT_FALSE(WriteFileAtomically(dir.File("taken"), "lost?", &error));
    EXPECT_EQ(error, "cannot write " + dir.File("taken") + ": Is a directory");
    EXPECT_FALSE(WriteFileAtomically(dir.File("missing/settings"), "lost?", &error));
    EXPECT_EQ(error.rfind("cannot create a temporary file beside " + dir.File("missing/settings") + ": ", 0), 0u)
        << error;

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"settings", "taken"}));
}

TEST(SafeFile, ReadsRegularFilesUpToTheirBoundAndNothingElse)
{
    TempDir dir;
    const std::string text(100000, 'r');
    WriteFileText(dir.File("file"), text);
    fs::create_directory(dir.File("folder"));
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);  // would block a reader
    ASSERT_EQ(symlink(dir.File("pipe").c_str(), dir.File("pipe-link").c_str()), 0);
    WriteFileText(dir.File("sparse"), "head");
    fs::resize_file(dir.File("sparse"), 100001);

    struct Case {
        const char* name;
        std::string path;
        ReadFileResult result;
        std::string error;
    };
    const Case cases[] = {
        {"a file at its bound", dir.File("file"), ReadFileResult::Ok, ""},
        {"a file past its bound", dir.File("sparse"), ReadFileResult::TooLarge,
         dir.File("sparse") + " is larger than 100000 bytes; not read"},
        {"a missing file", dir.File("missing"), ReadFileResult::Failed,
         "cannot open " + dir.File("missing") + ": No such file or directory"},
        {"a folder", dir.File("folder"), ReadFileResult::Failed,
         dir.File("folder") + " is not a regular file; not read"},
        {"a pipe", dir.File("pipe"), ReadFileResult::Failed, dir.File("pipe") + " is not a regular file; not read"},
        {"a link to a pipe", dir.File("pipe-link"), ReadFileResult::Failed,
         dir.File("pipe-link") + " is not a regular file; not read"},
        {"a device", "/dev/zero", ReadFileResult::Failed, "/dev/zero is not a regular file; not read"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::string content = "left over";
        std::string error;
        EXPECT_EQ(ReadRegularFile(test.path, text.size(), content, &error), test.result);
        EXPECT_EQ(error, test.error);
        if (test.result == ReadFileResult::Ok) {
            EXPECT_EQ(content, text);
        }
    }
}
