#include "IsoTestSupport.h"

#include "core/app/TestPageControls.h"
#include "core/tools/iso/FolderCompare.h"
#include "support/LinkMaze.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace fs = std::filesystem;

namespace {

struct Compare {
    CompareEnd Folders(const std::string& first, const std::string& second)
    {
        FolderCompare compare(events, running);
        return compare.DoDirCompare(first, second);
    }
    CompareEnd VideoTs(const std::string& chosenIfo, const std::optional<std::string>& discRoot)
    {
        FolderCompare compare(events, running);
        return compare.DoVideoTSCompare(chosenIfo, discRoot);
    }
    RecordingEvents events;
    std::atomic<int> running{0};
};

std::string FirstLineOf(const std::string& command)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> output(::popen(command.c_str(), "r"), ::pclose);
    char line[4096] = {};
    if (!std::fgets(line, sizeof line, output.get()))
        return "";
    std::string text = line;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// What the folder compare says where `diff -rq` says `line` first (paths
// relative to root): the last message box.
std::string ExpectedMessage(const std::string& root, const std::string& line)
{
    const auto starts = [&](const char* prefix) { return line.rfind(prefix, 0) == 0; };
    if (line.empty())
        return "They were identical";
    if (starts("Only in "))  // a difference, said as diff says it
        return "Only in " + root + "/" + line.substr(8);
    if (starts("Files ")) {
        const auto and_ = line.find(" and ");
        return "Difference found in " + root + "/" + line.substr(and_ + 5, line.rfind(" differ") - and_ - 5);
    }
    if (starts("File ")) {
        const auto second = line.find("while file ") + 11;
        return "Difference found in " + root + "/" + line.substr(second, line.find(' ', second) - second);
    }
    if (starts("diff: "))
        return "Error opening " + root + "/" + line.substr(6, line.find(": ", 6) - 6);
    return "unexpected diff line: " + line;
}

void Append(const std::string& path, const std::string& text)
{
    WriteFileText(path, ReadFileText(path) + text);
}

}  // namespace

TEST(FolderCompare, TheFirstDifferenceIsTheOneDiffFinds)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& a, const std::string& b)> change;
    };
    const std::vector<Case> cases = {
        {"identical", [](auto&, auto&) {}},
        {"extra file in the second", [](auto&, auto& b) { WriteFileText(b + "/docs/deep/new.txt", "new"); }},
        {"extra file in the first", [](auto& a, auto&) { WriteFileText(a + "/docs/zz.txt", "zz"); }},
        {"extra folder in the second", [](auto&, auto& b) { WriteFileText(b + "/docs/deep/more/x.txt", "x"); }},
        {"longer file in the second", [](auto&, auto& b) { Append(b + "/docs/one.bin", "x"); }},
        {"longer file in the first", [](auto& a, auto&) { Append(a + "/readme.txt", "x"); }},
        {"a changed byte",
         [](auto&, auto& b) {
             std::string bytes = FileBytes(b + "/docs/deep/two.bin");
             bytes[150000] ^= 1;
             WriteFileText(b + "/docs/deep/two.bin", bytes);
         }},
        {"empty VIDEO_TS in the first only", [](auto& a, auto&) { fs::create_directory(a + "/VIDEO_TS"); }},
        {"empty VIDEO_TS in both",
         [](auto& a, auto& b) {
             fs::create_directory(a + "/VIDEO_TS");
             fs::create_directory(b + "/VIDEO_TS");
         }},
        {"a link back to its folder",
         [](auto& a, auto& b) {
             fs::create_directory_symlink(".", a + "/docs/loop");
             fs::create_directory_symlink(".", b + "/docs/loop");
         }},
        {"a link to itself",
         [](auto& a, auto& b) {
             fs::create_symlink("self", a + "/docs/self");
             fs::create_symlink("self", b + "/docs/self");
         }},
        {"a file where a folder was",
         [](auto&, auto& b) {
             fs::remove_all(b + "/docs/deep");
             WriteFileText(b + "/docs/deep", "file");
         }},
        {"links to the same files",
         [](auto& a, auto& b) {
             fs::create_symlink("readme.txt", a + "/link.txt");
             fs::create_symlink("docs/one.bin", b + "/link.txt");
         }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string a = dir.File("a");
        const std::string b = dir.File("b");
        fs::create_directories(a);
        WriteFileText(a + "/readme.txt", "read me\n");
        fs::create_directories(a + "/docs/deep");
        WriteFileText(a + "/docs/one.bin", std::string(5000, 'o'));
        WriteFileText(a + "/docs/deep/two.bin", std::string(300000, 't'));
        fs::copy(a, b, fs::copy_options::recursive);
        c.change(a, b);
        const std::string line = FirstLineOf("cd '" + dir.Path() + "' && LC_ALL=C stdbuf -oL diff -rq a b 2>&1");
        Compare compare;
        const CompareEnd end = compare.Folders(a, b);
        ASSERT_FALSE(compare.events.boxes.empty()) << c.what;
        EXPECT_EQ(compare.events.boxes.back().text, ExpectedMessage(dir.Path(), line)) << c.what << ": " << line;
        EXPECT_EQ(end == CompareEnd::Identical, line.empty()) << c.what;
        if (line.rfind("Only in ", 0) == 0) {
            EXPECT_EQ(end, CompareEnd::Different) << c.what;
            EXPECT_EQ(compare.events.Lines().back(), compare.events.boxes.back().text) << c.what;
        }
        EXPECT_EQ(compare.events.enabled[testpage::kStart], true) << c.what;
        EXPECT_EQ(compare.running, 0) << c.what;
    }
}

TEST(FolderCompare, ProgressCountsTheFirstTreesFiles)
{
    TempDir dir;
    WriteSampleTree(dir.File("a"));
    fs::copy(dir.File("a"), dir.File("b"), fs::copy_options::recursive);
    EXPECT_EQ(FolderCompare::CountFolderFiles(dir.File("a")), 7);
    Compare compare;
    EXPECT_EQ(compare.Folders(dir.File("a"), dir.File("b")), CompareEnd::Identical);
    EXPECT_EQ(compare.events.progress.back(), 100);
    ASSERT_EQ(compare.events.BoxTexts(), std::vector<std::string>{"They were identical"});
    EXPECT_EQ(compare.events.boxes[0].status, "Ready");
    EXPECT_EQ(compare.events.boxes[0].progress, 100);
    EXPECT_EQ(compare.events.texts[testpage::kFieldReadErrors], "0");
    EXPECT_EQ(compare.events.texts[testpage::kLabelReadErrors], "Files Left");
    // Each file's line names it in the second tree, in byte order of the names.
    EXPECT_EQ(compare.events.Lines().front(), dir.File("b") + "/VIDEO_TS/VIDEO_TS.BUP - Identical");
    EXPECT_EQ(compare.events.Lines().size(), 7u);
}

// Two link mazes: each pair of folders is compared once, and the list says
// how many times links reached a pair again.
TEST(FolderCompare, ALinkMazeIsComparedOnceAFolder)
{
    TempDir dir;
    MakeLinkMaze(dir.File("a"), 18);
    MakeLinkMaze(dir.File("b"), 18);
    EXPECT_EQ(FolderCompare::CountFolderFiles(dir.File("a")), 19);
    Compare compare;
    EXPECT_EQ(compare.Folders(dir.File("a"), dir.File("b")), CompareEnd::Identical);
    const std::vector<std::string> lines = compare.events.Lines();
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.back(), "Folders reached again through links, compared once: 36 skipped");
    EXPECT_EQ(compare.events.progress.back(), 100);
}

class VideoTsCompareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSampleTree(m_dir.File("tree"));
        ASSERT_TRUE(MakeIsoImage("genisoimage", m_dir.File("tree"), m_dir.File("dvd.iso")));
        // The disc's files as a mounted disc shows them.
        ASSERT_EQ(RunCommand("xorriso -osirrox on -indev '" + m_dir.File("dvd.iso") + "' -extract / '"
                             + m_dir.File("mounted") + "' >/dev/null 2>&1 && chmod -R u+w '" + m_dir.File("mounted")
                             + "'"),
                  0);
        CopyVideoTs();
    }
    void CopyVideoTs()
    {
        fs::remove_all(m_dir.File("copy"));
        fs::create_directories(m_dir.File("copy"));
        fs::copy(m_dir.File("tree/VIDEO_TS"), m_dir.File("copy/VIDEO_TS"), fs::copy_options::recursive);
    }
    std::string ChosenIfo() const { return m_dir.File("copy/VIDEO_TS/VIDEO_TS.IFO"); }
    std::string Mounted() const { return m_dir.File("mounted"); }

    TempDir m_dir;
};

TEST_F(VideoTsCompareTest, ACopyOfTheDiscsFilesIsIdentical)
{
    Compare compare;
    EXPECT_EQ(compare.VideoTs(ChosenIfo(), Mounted()), CompareEnd::Identical);
    EXPECT_EQ(
        compare.events.Lines(),
        (std::vector<std::string>{"VIDEO_TS.BUP - Identical", "VIDEO_TS.IFO - Identical", "VTS_01_1.VOB - Identical"}));
    EXPECT_EQ(compare.events.BoxTexts(), std::vector<std::string>{"They were identical"});
    EXPECT_EQ(compare.events.boxes[0].status, "Ready");
    EXPECT_EQ(compare.events.boxes[0].progress, 100);
    EXPECT_EQ(compare.events.progress.back(), 100);
    EXPECT_EQ(compare.events.texts[testpage::kFieldReadErrors], "0");
}

TEST_F(VideoTsCompareTest, AnyDifferenceOrExtraFileIsFound)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& copy, const std::string& disc)> change;
        std::vector<std::string> boxes;
        std::string status;
    };
    const std::vector<Case> cases = {
        {"a changed byte",
         [](auto& copy, auto&) {
             std::string bytes = FileBytes(copy + "/VTS_01_1.VOB");
             bytes[399999] ^= 1;
             WriteFileText(copy + "/VTS_01_1.VOB", bytes);
         },
         {"Difference found in VTS_01_1.VOB", "Differences were found"},
         "Ready"},
        {"a longer file",
         [](auto& copy, auto&) { Append(copy + "/VIDEO_TS.BUP", "x"); },
         {"Difference found in VIDEO_TS.BUP", "Differences were found"},
         "Ready"},
        {"a file the disc lacks",
         [](auto& copy, auto&) { WriteFileText(copy + "/VTS_02_0.IFO", "x"); },
         {},
         "Could not open file"},
        {"a file the copy lacks",
         [](auto& copy, auto&) { fs::remove(copy + "/VIDEO_TS.BUP"); },
         {},
         "Could not open file"},
    };
    for (const Case& c : cases) {
        CopyVideoTs();
        c.change(m_dir.File("copy/VIDEO_TS"), Mounted() + "/VIDEO_TS");
        Compare compare;
        EXPECT_NE(compare.VideoTs(ChosenIfo(), Mounted()), CompareEnd::Identical) << c.what;
        EXPECT_EQ(compare.events.BoxTexts(), c.boxes) << c.what;
        EXPECT_EQ(compare.events.Status(), c.status) << c.what;
        EXPECT_EQ(compare.running, 0) << c.what;
    }
}

// A disc of plain ISO 9660 names may be mounted in lower case: its folder
// and files are found whatever their case.
TEST_F(VideoTsCompareTest, ADiscMountedWithLowerCaseNamesIsCompared)
{
    const std::string disc = Mounted() + "/VIDEO_TS";
    for (const char* name : {"VIDEO_TS.BUP", "VIDEO_TS.IFO", "VTS_01_1.VOB"}) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        fs::rename(disc + "/" + name, disc + "/" + lower);
    }
    fs::rename(disc, Mounted() + "/video_ts");
    Compare compare;
    EXPECT_EQ(compare.VideoTs(ChosenIfo(), Mounted()), CompareEnd::Identical);
    EXPECT_EQ(
        compare.events.Lines(),
        (std::vector<std::string>{"VIDEO_TS.BUP - Identical", "VIDEO_TS.IFO - Identical", "VTS_01_1.VOB - Identical"}));
    EXPECT_EQ(compare.events.BoxTexts(), std::vector<std::string>{"They were identical"});

    // A difference is still found there.
    std::string bytes = FileBytes(m_dir.File("copy/VIDEO_TS/VTS_01_1.VOB"));
    bytes[1000] ^= 1;
    WriteFileText(m_dir.File("copy/VIDEO_TS/VTS_01_1.VOB"), bytes);
    Compare changed;
    EXPECT_EQ(changed.VideoTs(ChosenIfo(), Mounted()), CompareEnd::Different);
    EXPECT_EQ(changed.events.BoxTexts(),
              (std::vector<std::string>{"Difference found in VTS_01_1.VOB", "Differences were found"}));
}

TEST_F(VideoTsCompareTest, TheDiscsOwnFolderAndAnUnmountedDiscAreRefusedAndThePageGivenBack)
{
    struct Case {
        std::string chosenIfo;
        std::optional<std::string> discRoot;
        std::string box;
    };
    const Case cases[] = {
        {Mounted() + "/VIDEO_TS/VIDEO_TS.IFO", Mounted(), "Source and Destination drive cannot be the same"},
        {ChosenIfo(), std::nullopt,
         "The disc is not mounted (no mount of /dev/sr0 in /proc/self/mountinfo was found): mount it to compare "
         "its VIDEO_TS folder."},
        {ChosenIfo(), m_dir.File("no video"),
         "Error could not access the destination folder " + m_dir.File("no video") + "/VIDEO_TS"},
    };
    for (const Case& c : cases) {
        Compare refused;
        FolderCompare compare(refused.events, refused.running);
        EXPECT_EQ(compare.DoVideoTSCompare(c.chosenIfo, c.discRoot, "/dev/sr0 in /proc/self/mountinfo"),
                  CompareEnd::Failed);
        EXPECT_EQ(refused.events.BoxTexts(), std::vector<std::string>{c.box});
        // Start on, Stop off, the drive list usable: the page can be used again.
        EXPECT_TRUE(refused.events.enabled[testpage::kStart]) << c.box;
        EXPECT_FALSE(refused.events.enabled[testpage::kStop]) << c.box;
        EXPECT_TRUE(refused.events.enabled[testpage::kDevices]) << c.box;
        EXPECT_EQ(refused.events.Status(), "Ready") << c.box;
    }
    Compare empty;
    fs::create_directories(m_dir.File("empty/VIDEO_TS"));
    fs::create_directories(m_dir.File("empty disc/VIDEO_TS"));
    EXPECT_EQ(empty.VideoTs(m_dir.File("empty/VIDEO_TS/VIDEO_TS.IFO"), m_dir.File("empty disc")),
              CompareEnd::Identical);
}
