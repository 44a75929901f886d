#include "platform/files/SafeFile.h"
#include "platform/files/StagedFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(StagedFile, TheFinalNameShowsTheOldFileUntilTheCommit)
{
    TempDir dir;
    const std::string path = dir.File("disc.iso");
    WriteFileText(path, "old");
    {
        const auto file = StagedFile::Create(path);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Write("new ", 4));
        ASSERT_TRUE(file->Write("image", 5));
        EXPECT_EQ(file->BytesWritten(), 9u);
        EXPECT_EQ(ReadFileText(path), "old");
        EXPECT_EQ(Entries(dir.Path()).size(), 2u);
        ASSERT_TRUE(file->Commit());
    }
    EXPECT_EQ(ReadFileText(path), "new image");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"disc.iso"});
}

TEST(StagedFile, AFileNotCommittedIsRemoved)
{
    TempDir dir;
    {
        const auto file = StagedFile::Create(dir.File("part.iso"));
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Write("part", 4));
    }
    EXPECT_TRUE(Entries(dir.Path()).empty());
    std::string error;
    EXPECT_FALSE(StagedFile::Create(dir.File("missing/part.iso"), &error));
    EXPECT_NE(error.find("missing/part.iso"), std::string::npos);
}

TEST(StagedFile, ACommitThatCannotRenameLeavesNoFile)
{
    // A folder stands under the final name.
    TempDir dir;
    fs::create_directory(dir.File("taken"));
    WriteFileText(dir.File("taken/inside"), "x");
    const auto file = StagedFile::Create(dir.File("taken"));
    ASSERT_TRUE(file);
    std::string error;
    EXPECT_FALSE(file->Commit(&error));
    EXPECT_NE(error.find("cannot rename"), std::string::npos);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"taken"});
    EXPECT_TRUE(FreeBytesForFile(dir.File("anything")).has_value());
}

TEST(StagedFile, NamesUpToTheLongestValidOneAreWrittenThroughATemporaryName)
{
    TempDir dir;
    // 248-255 bytes, one of them ending in a two-byte UTF-8 letter at the cut.
    for (const std::string& name :
         {std::string(248, 'a'), std::string(255, 'b'), std::string(246, 'c') + "\xC3\xA9" + std::string(7, 'd')}) {
        const std::string path = dir.File(name);
        const auto file = StagedFile::Create(path);
        ASSERT_TRUE(file) << name.size();
        ASSERT_TRUE(file->Write("x", 1));
        ASSERT_TRUE(file->Commit());
        EXPECT_EQ(ReadFileText(path), "x");
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(path, "y", &error)) << error;
        EXPECT_EQ(ReadFileText(path), "y");
    }
    EXPECT_EQ(Entries(dir.Path()).size(), 3u);  // no temporary file left
}
