#include "platform/files/SafeFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

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

TEST(SafeFile, CopiesAPrivateFileWholeAndRefusesWhatIsNoRegularFile)
{
    TempDir dir;
    const std::string text(100000, 'q');
    WriteFileText(dir.File("source"), text);
    std::string error;
    ASSERT_TRUE(CopyPrivateFile(dir.File("source"), dir.File("copy"), &error)) << error;
    EXPECT_EQ(ReadFileText(dir.File("copy")), text);
    struct stat info {};
    ASSERT_EQ(::stat(dir.File("copy").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    EXPECT_TRUE(CopyPrivateFile(dir.File("missing"), dir.File("none"), &error));  // nothing to keep
    EXPECT_FALSE(FileExists(dir.File("none")));

    fs::create_directory(dir.File("folder"));
    EXPECT_FALSE(CopyPrivateFile(dir.File("folder"), dir.File("copy"), &error));
    EXPECT_EQ(error, dir.File("folder") + " is not a regular file of this user; not copied");
    EXPECT_EQ(ReadFileText(dir.File("copy")), text);  // the target is left as it was
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
