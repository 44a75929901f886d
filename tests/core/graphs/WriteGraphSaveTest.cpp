#include "core/graphs/WriteGraphFile.h"
#include "support/TestSupport.h"
#include "support/WriteGraphFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

std::string Padded(const std::string& text)
{
    return text + std::string(WriteGraphFile::kCommentWidth - text.size(), ' ');
}

}  // namespace

TEST(WriteGraphSave, RoundTripAppendsCommentsAfterTheChecksumLine)
{
    const std::string original = WriteGraphFixture::Dvd().Text();
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(original), 0);
    const std::string saved = file.TextForSave("Burnt at 8x", "Second disc of two");
    EXPECT_EQ(saved,
              original + "COMMENT1=" + Padded("Burnt at 8x") + "\nCOMMENT2=" + Padded("Second disc of two") + "\n");

    WriteGraphFile reloaded;
    ASSERT_EQ(reloaded.LoadGraphText(saved), 0);
    EXPECT_EQ(reloaded.Displays().device, "Burnt at 8x ");
    EXPECT_EQ(reloaded.Displays().comment, "Second disc of two ");
    EXPECT_EQ(reloaded.Graph().writeSamples.size(), file.Graph().writeSamples.size());

    // The second save replaces the comments of the first: same file again.
    EXPECT_EQ(reloaded.TextForSave("Burnt at 8x", "Second disc of two"), saved);
    EXPECT_EQ(reloaded.TextForSave("Burnt at 8x", "Second disc of two"), saved);
    EXPECT_EQ(reloaded.LoadedText(), original);
}

TEST(WriteGraphSave, KeepsCommentTextThatLiesBeforeTheChecksumLine)
{
    WriteGraphFixture fixture = WriteGraphFixture::Dvd();
    fixture.Set("DEVICE_MAKEMODEL", "QDRIVE COMMENT1 EDITION");
    fixture.writeLines.insert(fixture.writeLines.begin() + 3, "COMMENT1=inside the samples");
    const std::string original = fixture.Text();
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(original), 0);
    const std::string saved = file.TextForSave("new", "");
    ASSERT_EQ(saved.substr(0, original.size()), original);
    EXPECT_EQ(saved.substr(original.size()), "COMMENT1=" + Padded("new") + "\nCOMMENT2=" + Padded("") + "\n");
    WriteGraphFile reloaded;
    EXPECT_EQ(reloaded.LoadGraphText(saved), 0);
    EXPECT_EQ(reloaded.Graph().writeSamples.size(), 21u);
}

// The displays' hint (a graph loaded without comments shows it) is saved as
// no comment, padded as the display pads it or not.
TEST(WriteGraphSave, TheDisplaysHintIsSavedAsNoComment)
{
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Dvd().Text()), 0);
    const std::string hint = file.Displays().comment;
    ASSERT_EQ(hint, "Double-Click Digital Displays to edit");
    for (const std::string& shown : {hint, Padded(hint)}) {
        const std::string saved = file.TextForSave("drive", shown);
        EXPECT_EQ(saved.substr(file.LoadedText().size()),
                  "COMMENT1=" + Padded("drive") + "\nCOMMENT2=" + Padded("") + "\n");
        EXPECT_EQ(saved.find("Double-Click"), std::string::npos);
    }
}

TEST(WriteGraphSave, CommentsAreFortyCharactersOnOneLine)
{
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Dvd().Text()), 0);
    const std::string longComment(55, 'a');
    const std::string saved = file.TextForSave(longComment, "two\r\nlines");
    const std::string comments = saved.substr(file.LoadedText().size());
    EXPECT_EQ(comments, "COMMENT1=" + std::string(40, 'a') + "\nCOMMENT2=" + Padded("two  lines") + "\n");
}

TEST(WriteGraphSave, WritesTheFileOrSaysWhyNot)
{
    TempDir dir;
    WriteGraphFile file;
    std::string message;
    EXPECT_FALSE(file.SaveGraphFile(dir.File("none.ibg"), "a", "b", message));
    EXPECT_EQ(message, "No data exists to save.");

    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::VerifyOnly().Text()), 0);
    EXPECT_FALSE(file.SaveGraphFile(dir.File("no/such/folder/x.ibg"), "a", "b", message));
    EXPECT_EQ(message, "Error Opening File for write");

    ASSERT_TRUE(file.SaveGraphFile(dir.File("saved.mbg"), "Verify run", "", message)) << message;
    WriteGraphFile reloaded;
    EXPECT_EQ(reloaded.LoadGraphFile(dir.File("saved.mbg")), 0);
    EXPECT_EQ(reloaded.Displays().device, "Verify run ");
    EXPECT_EQ(reloaded.Graph().verifySamples.size(), 20u);
}

TEST(WriteGraphSave, NothingIsSavedAfterARefusedLoad)
{
    // A refused file's text would be written back under a new name with
    // comments behind it: the save refuses until a file is shown again.
    TempDir dir;
    WriteGraphFile file;
    std::string message;
    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Dvd().Text()), 0);
    EXPECT_TRUE(file.CanSave());
    EXPECT_NE(file.LoadGraphText(WriteGraphFixture::Dvd().Body() + "COMMENT1=old\n"), 0);
    EXPECT_FALSE(file.CanSave());
    EXPECT_FALSE(file.SaveGraphFile(dir.File("refused.ibg"), "x", "y", message));
    EXPECT_EQ(message, "No data exists to save.");
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused.ibg")));

    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Dvd().Text()), 0);
    EXPECT_TRUE(file.SaveGraphFile(dir.File("shown.ibg"), "x", "y", message)) << message;
}
