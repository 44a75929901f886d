#include "HashTestSupport.h"
#include "support/HashToolSupport.h"
#include "core/base/Format.h"
#include "core/tools/hash/FileHashEngine.h"
#include "core/tools/hash/HashRun.h"
#include "platform/text/Trim.h"
#include "support/LinkMaze.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr HashChoice kAllDigests{true, true};

void WriteSparseFile(const std::string& path, std::uint64_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    // A few marks around the 2 GiB boundary and at the end, so that the
    // content is not all zeros where lengths are easily cut to 31 bits.
    const std::uint64_t marks[] = {0, (std::uint64_t{1} << 31) - 5, std::uint64_t{1} << 31, size - 1};
    for (std::uint64_t at : marks) {
        const char mark = static_cast<char>('A' + (at % 26));
        if (at < size) {
            ASSERT_EQ(::pwrite(fd, &mark, 1, static_cast<off_t>(at)), 1);
        }
    }
    ::close(fd);
}

struct HashBench {
    ReportText report;
    RecordingHashEvents events;
    TempDir dir;

    HashOutcome HashFile(const std::string& path, HashChoice choice = kAllDigests, FolderReadSettings settings = {})
    {
        FileHashEngine engine(report, events, choice, std::move(settings));
        return engine.ComputeFileHash(path, {});
    }
    HashOutcome HashFolder(const std::string& folder, HashChoice choice = kAllDigests, FolderReadSettings settings = {},
                           std::stop_token stop = {})
    {
        FileHashEngine engine(report, events, choice, std::move(settings));
        return engine.HashFolder(folder, stop);
    }
    bool AnyDigestShown() { return LineOf(report, "MD5 Hash Value") >= 0; }
    // A report line without the blanks the display pads it with.
    std::string Line(int index) { return WithoutTrailingBlanks(report.GetLine(index)); }
};

// A folder that shows what the walk must get right: names whose byte order
// differs from a natural or a case-blind order, an empty file, files in
// nested folders, links to a file and back to a folder above, a link to
// nothing and a pipe, and a file of several pieces.
void MakeTrickyFolder(const std::string& root)
{
    fs::create_directories(root + "/sub/deeper");
    fs::create_directories(root + "/a b");
    WriteFileText(root + "/b", "lower b");
    WriteFileText(root + "/B", "upper B");
    WriteFileText(root + "/a b/inner", "in a folder with a blank");
    WriteFileText(root + "/sub/10", "ten");
    WriteFileText(root + "/sub/9", "nine");
    WriteFileText(root + "/sub/deeper/\xc3\xa9t\xc3\xa9", "summer");
    WriteFileText(root + "/empty", "");
    WriteFileText(root + "/sub/large", PatternBytes(300000));
    fs::create_symlink("b", root + "/link-to-b");
    fs::create_symlink("..", root + "/sub/deeper/up");
    fs::create_symlink("nowhere", root + "/dangling");
    ASSERT_EQ(::mkfifo((root + "/pipe").c_str(), 0644), 0);
}

}  // namespace

TEST(FileHash, EveryDigestEqualsTheSystemsSumToolsWhateverTheFilesSize)
{
    HashBench bench;
    const std::uint64_t sizes[] = {0, 1, 5000, (std::uint64_t{4} << 20) + 3, (std::uint64_t{1} << 31) + 1};
    for (std::uint64_t size : sizes) {
        SCOPED_TRACE(size);
        const std::string path = bench.dir.File("file of " + std::to_string(size));
        if (size > 100000)
            WriteSparseFile(path, size);
        else
            WriteFileText(path, PatternBytes(static_cast<std::size_t>(size)));
        ASSERT_EQ(bench.HashFile(path), HashOutcome::Done);
        EXPECT_EQ(DigestsInReport(bench.report), CoreutilsDigests(path));
        EXPECT_EQ(bench.Line(3), "Filename");
        EXPECT_EQ(bench.Line(4).substr(0, 12), "file of " + std::to_string(size).substr(0, 4));
        EXPECT_EQ(bench.report.GetStatusText(), "Ready");
        fs::remove(path);
    }
}

TEST(FileHash, ASingleFileShowsTheShareReadAndItsMegabytes)
{
    HashBench bench;
    std::vector<std::string> statuses;
    bench.report.SetListener([&](ReportChange change) {
        if (change == ReportChange::Status)
            statuses.push_back(bench.report.GetStatusText());
    });
    const std::string path = bench.dir.File("large.bin");
    WriteSparseFile(path, (std::uint64_t{12} << 20) + 5);
    FolderReadSettings pieces;
    pieces.pieceBytes = std::size_t{1} << 20;
    ASSERT_EQ(bench.HashFile(path, {}, pieces), HashOutcome::Done);
    bench.report.SetListener(nullptr);

    const std::vector<int>& shares = bench.events.overallProgress;
    ASSERT_GE(shares.size(), 13u);
    EXPECT_EQ(shares.front(), 0);
    EXPECT_EQ(shares.back(), 100);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    std::vector<std::string> megabytes;
    for (const std::string& status : statuses)
        if (status.rfind("Finished reading ", 0) == 0)
            megabytes.push_back(status);
    ASSERT_EQ(megabytes.size(), 12u);
    EXPECT_EQ(megabytes.front(), "Finished reading 1MB of 12MB");
    EXPECT_EQ(megabytes.back(), "Finished reading 12MB of 12MB");
    EXPECT_EQ(statuses.back(), "Ready");
    EXPECT_TRUE(bench.events.fileProgress.empty());  // the folder hash's counts are not a single file's
}

TEST(FileHash, MD5AloneWritesItsGroupOnlyAndAFileThatCannotBeReadGivesNoDigest)
{
    HashBench bench;
    const std::string path = bench.dir.File("some.bin");
    WriteFileText(path, "abc");
    ASSERT_EQ(bench.HashFile(path, {}), HashOutcome::Done);
    EXPECT_EQ(bench.Line(0), std::string(17, ' ') + "              MD5 hash of file");
    EXPECT_EQ(bench.Line(4), "some.bin");
    EXPECT_EQ(bench.Line(6), "MD5 Hash Value");
    EXPECT_EQ(bench.Line(7), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(LineOf(bench.report, "SHA-1 Hash Value"), -1);

    // Missing, and shrinking while read: only the heading stays.
    FolderReadSettings shrinking;
    shrinking.pieceBytes = 4096;
    shrinking.beforeRead = [](const std::string& file, std::uint64_t offset) {
        if (offset == 8192)
            fs::resize_file(file, 9000);
    };
    WriteFileText(path, PatternBytes(20000));
    for (auto& [file, settings] :
         std::vector<std::pair<std::string, FolderReadSettings>>{{bench.dir.File("missing"), {}}, {path, shrinking}}) {
        SCOPED_TRACE(file);
        bench.events.notices.clear();
        EXPECT_EQ(bench.HashFile(file, kAllDigests, settings), HashOutcome::Failed);
        EXPECT_FALSE(bench.AnyDigestShown());
        EXPECT_EQ(bench.Line(0), std::string(17, ' ') + "           MD5 / SHA hash of file");
        EXPECT_EQ(bench.events.notices, std::vector<std::string>{"Error calculating MD5 hash"});
    }
}

// The file's pages leave the system's memory, so that it must come from the disk.
void DropFromMemory(const std::string& path, std::uint64_t offset)
{
    if (offset != 0)
        return;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

struct ReadingCase {
    const char* name;
    FolderReadSettings settings;
};

void PrintTo(const ReadingCase& tested, std::ostream* out)
{
    *out << tested.name;
}

class FolderHashReading : public ::testing::TestWithParam<ReadingCase> {};

// However the files are read ahead, the digests are those of the contents in
// the walk's order.
TEST_P(FolderHashReading, DigestsEqualAReferenceScriptOverTheSortedWalk)
{
    HashBench bench;
    const std::string root = bench.dir.File("tricky");
    MakeTrickyFolder(root);
    ASSERT_EQ(bench.HashFolder(root, kAllDigests, GetParam().settings), HashOutcome::Done);
    EXPECT_EQ(DigestsInReport(bench.report), ReferenceFolderDigests(root));
    EXPECT_EQ(bench.events.questions, 1);  // the link back up, gone on without
    EXPECT_EQ(bench.events.openErrors.at(0),
              std::make_pair(root + "/sub/deeper/up", std::string("leads back to a folder that holds it")));
    EXPECT_EQ(bench.report.GetStatusText(), "Ready");
    ASSERT_FALSE(bench.events.overallProgress.empty());
    EXPECT_EQ(bench.events.overallProgress.back(), 100);
    EXPECT_EQ(bench.events.fileProgress.back().fileCount, 10);  // nine files and the link back up
}

INSTANTIATE_TEST_SUITE_P(
    Readers, FolderHashReading,
    ::testing::Values(ReadingCase{"ReadersTakingTurnsOnASpinningDisk",
                                  {.pieceBytes = 8192,
                                   .budgetBytes = 16384,
                                   .filesAhead = 4,
                                   .readersPerDisk = 3,
                                   .isRotational = [](std::uint64_t) { return true; },
                                   .beforeRead = DropFromMemory}},
                      ReadingCase{"ManyReadersInATinyBudget",
                                  {.pieceBytes = 4096,
                                   .budgetBytes = 8192,
                                   .filesAhead = 3,
                                   .readersPerDisk = 4,
                                   .isRotational = [](std::uint64_t) { return std::optional<bool>(); }}}),
    [](const ::testing::TestParamInfo<ReadingCase>& tested) { return std::string(tested.param.name); });

TEST(FolderHash, TheWalkIsSortedByTheNamesBytesAndKeepsProblemsInTheirPlace)
{
    TempDir dir;
    const std::string root = dir.File("tricky");
    MakeTrickyFolder(root);
    std::vector<std::string> listed;
    for (const FileForHash& file : ListFilesForHash(root + "/"))
        listed.push_back(file.path.substr(root.size() + 1) + (file.problem.empty() ? "" : " !"));
    const std::vector<std::string> expected = {"B",        "a b/inner",       "b",
                                               "empty",    "link-to-b",       "sub/10",
                                               "sub/9",    "sub/deeper/up !", "sub/deeper/\xc3\xa9t\xc3\xa9",
                                               "sub/large"};
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(ListFilesForHash(dir.File("missing")).at(0).problem.substr(0, 19), "cannot be looked at");
}

// Links that reach the same folders again and again: each folder is walked
// once, and the report says how many repeats were left out.
TEST(FolderHash, ALinkMazeIsWalkedOnceAFolder)
{
    HashBench bench;
    const std::string root = bench.dir.File("maze");
    MakeLinkMaze(root, 18);
    FolderListingCounts counts;
    const std::vector<FileForHash> files = ListFilesForHash(root, {}, &counts);
    ASSERT_EQ(files.size(), 19u);
    EXPECT_EQ(files[1].path, root + "/d0/x/f");
    EXPECT_EQ(files.back().path, root + "/d0/x/x/x/x/x/x/x/x/x/x/x/x/x/x/x/x/x/x/f");
    EXPECT_EQ(counts.repeats, 36u);  // each folder's second link, and d1 to d18 met again at the top

    ASSERT_EQ(bench.HashFolder(root), HashOutcome::Done);
    EXPECT_EQ(bench.events.fileProgress.back().fileCount, 19);
    EXPECT_GE(LineOf(bench.report, "Folders reached again through links, hashed once: 36 skipped"), 0);
}

TEST(FolderHash, MD5AloneCentresTheFolderAndAnEmptyFolderGivesTheDigestsOfNothing)
{
    HashBench bench;
    const std::string shortName = bench.dir.File("e");
    const std::string longName = bench.dir.File(std::string(80, 'x'));
    for (const std::string& folder : {shortName, longName})
        fs::create_directory(folder);

    ASSERT_EQ(bench.HashFolder(shortName, {}), HashOutcome::Done);
    EXPECT_EQ(bench.Line(0), std::string(16, ' ') + "           MD5 / SHA hash of folder");
    EXPECT_EQ(bench.Line(1), std::string((76 - shortName.size()) / 2, ' ') + shortName);
    EXPECT_EQ(bench.Line(4), "MD5 Hash Value");
    EXPECT_EQ(bench.Line(5), "D41D8CD98F00B204E9800998ECF8427E");
    ASSERT_EQ(bench.HashFolder(longName, {}), HashOutcome::Done);
    EXPECT_EQ(bench.Line(1), longName.substr(0, 73));

    ASSERT_EQ(bench.HashFolder(shortName), HashOutcome::Done);
    EXPECT_EQ(bench.Line(1), "");
    EXPECT_EQ(bench.Line(3), "MD5 Hash Value");
    const int sha512 = LineOf(bench.report, "SHA-512 Hash Value");
    ASSERT_GT(sha512, 0);
    EXPECT_EQ(bench.Line(sha512 + 1), "CF83E1357EEFB8BDF1542850D66D8007D620E4050B5715DC83F4A921D36CE9CE47D0D13C5");
    EXPECT_EQ(bench.Line(sha512 + 2), "D85F2B0FF8318D2877EEC2F63B931BD47417A81A538327AF927DA3E");
    EXPECT_EQ(bench.Line(sha512 + 3), "");
}

// Files left out of a folder's digests (a link back up gone on without, a
// pipe, a link to nothing) are counted on a line under them; a complete
// folder's digests have no such line.
TEST(FolderHash, TheFilesLeftOutAreCountedUnderTheDigests)
{
    HashBench bench;
    const std::string root = bench.dir.File("tricky");
    MakeTrickyFolder(root);
    bench.events.abortAnswers = {false};
    ASSERT_EQ(bench.HashFolder(root, HashChoice{false, false}), HashOutcome::Done);
    EXPECT_EQ(bench.Line(4), "MD5 Hash Value");
    EXPECT_EQ(bench.Line(6), "");
    EXPECT_EQ(bench.Line(7), "3 files were left out of these digests");

    bench.events.abortAnswers = {false};
    ASSERT_EQ(bench.HashFolder(root), HashOutcome::Done);
    const int sha512 = LineOf(bench.report, "SHA-512 Hash Value");
    ASSERT_GT(sha512, 0);
    EXPECT_EQ(bench.Line(sha512 + 3), "");
    EXPECT_EQ(bench.Line(sha512 + 4), "3 files were left out of these digests");

    fs::remove(root + "/pipe");
    fs::remove(root + "/dangling");
    fs::remove(root + "/sub/deeper/up");
    ASSERT_EQ(bench.HashFolder(root), HashOutcome::Done);
    EXPECT_EQ(bench.events.questions, 2);
    EXPECT_EQ(bench.Line(sha512 + 4), "");
    fs::remove(root + "/sub/9");
    ::chmod((root + "/sub/10").c_str(), 0);
    if (::access((root + "/sub/10").c_str(), R_OK) != 0) {  // not when the tests run as root
        bench.events.abortAnswers = {false};
        ASSERT_EQ(bench.HashFolder(root), HashOutcome::Done);
        EXPECT_EQ(bench.Line(sha512 + 4), "1 file was left out of these digests");
    }
}

TEST(FolderHash, AFileThatCannotBeOpenedAsksWhetherToAbortAndAReadErrorEndsTheHash)
{
    HashBench bench;
    const std::string root = bench.dir.File("f");
    fs::create_directory(root);
    for (const char* name : {"1", "2", "3"})
        WriteFileText(root + "/" + name, PatternBytes(10000));
    FolderReadSettings settings;
    settings.pieceBytes = 4096;
    settings.beforeRead = [&](const std::string& path, std::uint64_t offset) {
        if (path == root + "/2" && offset == 0)
            fs::remove(path);  // gone between the count and its turn
        if (path == root + "/3" && offset == 4096)
            fs::resize_file(path, 5000);
    };

    // Abort: no digests.
    bench.events.abortAnswers = {true};
    EXPECT_EQ(bench.HashFolder(root, kAllDigests, settings), HashOutcome::Cancelled);
    EXPECT_EQ(bench.events.questions, 1);
    EXPECT_FALSE(bench.AnyDigestShown());
    EXPECT_EQ(bench.report.GetStatusText(), "Aborted scan at user request.");

    // Going on, the file that shrinks while read ends the hash, not a digest of part of it.
    WriteFileText(root + "/2", "back");
    WriteFileText(root + "/3", PatternBytes(10000));
    bench.events.abortAnswers = {false};
    bench.events.questions = 0;
    EXPECT_EQ(bench.HashFolder(root, kAllDigests, settings), HashOutcome::Failed);
    EXPECT_EQ(bench.events.questions, 1);
    EXPECT_FALSE(bench.AnyDigestShown());
    EXPECT_EQ(bench.report.GetStatusText(), "Error reading a file");
    ASSERT_EQ(bench.events.notices.size(), 1u);
    EXPECT_NE(bench.events.notices[0].find(root + "/3"), std::string::npos);

    // Without the faults, what is there is hashed.
    settings.beforeRead = nullptr;
    ASSERT_EQ(bench.HashFolder(root, kAllDigests, settings), HashOutcome::Done);
    EXPECT_EQ(DigestsInReport(bench.report), ReferenceFolderDigests(root));
}

TEST(FolderHash, AStopLeavesNoDigestLines)
{
    HashBench bench;
    const std::string root = bench.dir.File("many");
    fs::create_directory(root);
    for (int i = 0; i < 40; ++i)
        WriteFileText(root + "/" + std::to_string(i), PatternBytes(3000, static_cast<unsigned>(i)));
    std::stop_source stop;
    bench.events.onFileProgress = [&](const RecordingHashEvents::Progress& progress) {
        if (progress.filesHandled == 5)
            stop.request_stop();
    };
    EXPECT_EQ(bench.HashFolder(root, kAllDigests, {}, stop.get_token()), HashOutcome::Cancelled);
    EXPECT_FALSE(bench.AnyDigestShown());
    EXPECT_EQ(bench.Line(0), "");
    EXPECT_EQ(bench.report.GetStatusText(), "Aborted scan at user request.");
}

TEST(HashRun, ASecondRunCannotStartWhileOneRunsAndAStopReachesTheRun)
{
    HashRun run;
    std::promise<void> started;
    std::promise<void> ended;
    ASSERT_TRUE(run.Start(
        [&](std::stop_token stop) {
            started.set_value();
            while (!stop.stop_requested())
                std::this_thread::yield();
        },
        [&] { ended.set_value(); }));
    started.get_future().wait();
    EXPECT_TRUE(run.Running());
    EXPECT_FALSE(run.Start([](std::stop_token) {}));
    run.RequestStop();
    ended.get_future().wait();
    EXPECT_FALSE(run.Running());
    EXPECT_TRUE(run.Start([](std::stop_token) {}));
    run.Join();
}
