#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskSizeText.h"
#include "core/tools/disk/DiskToolIds.h"
#include "core/tools/hddtest/HddErrorTest.h"
#include "core/tools/hddtest/HddErrorTestControl.h"
#include "support/DiskToolSupport.h"
#include "support/LoopDevice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>

using namespace disktool;

namespace {

constexpr std::uint64_t kMiB = 1 << 20;

// One run of the test over a fake disk, on this thread.
struct HddRun {
    explicit HddRun(std::uint64_t size, std::uint32_t readSectors = 64) : disk(size), bufferSectors(readSectors) {}

    HddTestEnd Run()
    {
        HddErrorTest test("/dev/sdz", disk.host.access, bufferSectors, map, sink, *disk.clock, running);
        const HddTestEnd end = test.DoErrorTest();
        result = test.Result();
        return end;
    }
    std::vector<int> Sorted(std::vector<int> cells) const
    {
        std::sort(cells.begin(), cells.end());
        cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
        return cells;
    }

    FakeDiskHost disk;
    std::uint32_t bufferSectors;
    HddCellMap map;
    RecordingDiskSink sink;
    std::atomic<int> running{1};
    HddTestResult result;
};

}  // namespace

TEST(HddErrorTest, UnreadableSectorsAreListedTheirCellsFailedAndTheTestGoesOn)
{
    // 4 MiB: 8,192 sectors, one a cell; reads of 64 sectors.
    HddRun run(4 * kMiB);
    run.disk.disk->AddBadSectors(1000, 4);
    run.disk.disk->AddBadSectors(5000, 1);
    ASSERT_EQ(run.Run(), HddTestEnd::Complete);

    EXPECT_EQ(run.result.badRuns, (std::vector<SectorRun>{{1000, 4}, {5000, 1}}));
    EXPECT_EQ(run.result.badSectors, 5u);
    EXPECT_EQ(run.result.errors, 5u);
    EXPECT_EQ(run.Sorted(run.map.FailedCells()), (std::vector<int>{1000, 1001, 1002, 1003, 5000}));
    EXPECT_TRUE(run.map.RetriedCells().empty());
    EXPECT_EQ(run.map.CellCount(), 8192);
    EXPECT_EQ(run.result.bytesTested, 4 * kMiB);
    // The failed buffer (sectors 960-1023) was read again one sector at a time.
    int alone = 0;
    for (const FakeDisk::Read& read : run.disk.disk->Reads())
        alone += read.length == 512 && read.offset >= 960 * 512 && read.offset < 1024 * 512;
    EXPECT_EQ(alone, 64 + 1);  // the first of the unreadable ones once more
    // The end: every sector tested, the unreadable ones named.
    EXPECT_EQ(run.sink.Field(IDC_TOTALERRORS), "5");
    EXPECT_EQ(run.sink.Field(IDC_SECTORSREMAINING), "0");
    EXPECT_EQ(run.sink.Field(IDC_AMOUNTTESTED), "4.00 MB");
    EXPECT_EQ(run.sink.Field(IDC_AMOUNTREMAINING), "0 GB");
    EXPECT_EQ(run.sink.ProgressText(), "100% Complete");
    const std::string messages = run.sink.MessageText();
    EXPECT_NE(messages.find("5 unreadable sectors"), std::string::npos) << messages;
    EXPECT_NE(messages.find("sectors 1000 to 1003"), std::string::npos) << messages;
    EXPECT_NE(messages.find("sector 5000"), std::string::npos) << messages;
    EXPECT_EQ(run.sink.Ended(), 1);
}

TEST(HddErrorTest, ReadsThatFailOnlyForAWhileMarkTheirCellRetried)
{
    struct Case {
        const char* name;
        std::function<void(FakeDisk&)> fault;
        std::vector<int> retried;
        std::vector<int> failed;
        std::uint64_t errors;
        std::uint64_t badSectors;
    };
    // Reads of 64 sectors; sector 3000 lies in the read of sectors 2944-3007.
    // clang-format off
    const Case cases[] = {
        {"an EIO once, gone before the sectors are read alone: the read's start",
         [](FakeDisk& d) { d.AddBadSectors(3000, 2, 1); }, {2944}, {}, 1, 0},
        {"an EIO twice, the second when read alone: its own cell",
         [](FakeDisk& d) { d.AddBadSectors(3000, 1, 2); }, {3000}, {}, 1, 0},
        {"an EIO once beside an unreadable sector of the same read",
         [](FakeDisk& d) { d.AddBadSectors(3005, 1); d.AddBadSectors(3000, 1, 1); }, {3000}, {3005}, 2, 1},
        {"a short read twice: full on the third", [](FakeDisk& d) { d.AddShortRead(3010, 2); }, {3010}, {}, 1, 0},
        {"a read short six times: its rest read on", [](FakeDisk& d) { d.AddShortRead(3010, 6); }, {}, {3010}, 1, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HddRun run(4 * kMiB);
        c.fault(*run.disk.disk);
        ASSERT_EQ(run.Run(), HddTestEnd::Complete);
        EXPECT_EQ(run.Sorted(run.map.RetriedCells()), c.retried);
        EXPECT_EQ(run.Sorted(run.map.FailedCells()), c.failed);
        EXPECT_EQ(run.result.errors, c.errors);
        EXPECT_EQ(run.result.badSectors, c.badSectors);
        EXPECT_EQ(run.result.bytesTested, 4 * kMiB);
        EXPECT_EQ(run.map.CellCount(), 8192);
    }
}

TEST(HddErrorTest, EndsAtTheTrueSizeWhateverTheBufferAndNeverDividesByZero)
{
    for (std::uint64_t size : {std::uint64_t{1}, std::uint64_t{512}, std::uint64_t{4000}, std::uint64_t{1000000},
                               9000 * 512 + std::uint64_t{100}, 3 * kMiB + 1536}) {
        SCOPED_TRACE(size);
        HddRun run(size, 6144);  // 3 MB reads
        ASSERT_EQ(run.Run(), HddTestEnd::Complete);
        EXPECT_EQ(run.result.bytesTested, size);
        EXPECT_EQ(run.map.CellCount(), HddCellCount(size));
        EXPECT_LE(run.map.CellCount(), kHddMapCells);
        EXPECT_EQ(run.sink.ProgressText(), "100% Complete");
        for (const FakeDisk::Read& read : run.disk.disk->Reads())
            EXPECT_LT(read.offset, size);
        EXPECT_TRUE(run.sink.Messages().empty()) << run.sink.MessageText();
    }
    HddRun empty(0);
    EXPECT_EQ(empty.Run(), HddTestEnd::Failed);
    EXPECT_NE(empty.sink.MessageText().find("Drive report zero sectors"), std::string::npos);
    EXPECT_EQ(empty.sink.Ended(), 1);
}

TEST(HddErrorTest, PositionsBeyondTwoToTheThirtyTwoSectorsKeepTheirPlace)
{
    // 2 TiB and 4,096 sectors, read without filling the buffers.
    const std::uint64_t sectors = (std::uint64_t{1} << 32) + 4096;
    HddRun run(sectors * 512, 49152);
    run.disk.disk->SkipContent();
    const std::uint64_t bad = (std::uint64_t{1} << 32) + 5;
    run.disk.disk->AddBadSectors(bad, 1);
    ASSERT_EQ(run.Run(), HddTestEnd::Complete);
    EXPECT_EQ(run.result.badRuns, (std::vector<SectorRun>{{bad, 1}}));
    const std::uint64_t cellBytes = HddCellBytes(sectors * 512);
    EXPECT_EQ(run.map.FailedCells(), (std::vector<int>{static_cast<int>(bad * 512 / cellBytes)}));
    EXPECT_EQ(run.map.CellCount(), HddCellCount(sectors * 512));
    EXPECT_EQ(run.sink.Field(IDC_TESTINGSECTOR), Format("%llu", static_cast<unsigned long long>(sectors)));
    EXPECT_NE(run.sink.MessageText().find("sector 4294967301"), std::string::npos) << run.sink.MessageText();
}

TEST(HddErrorTest, TheRateIsTheBytesReadOverTheClocksTime)
{
    HddRun run(4 * kMiB, 2048);  // 1 MiB reads
    run.disk.disk->AdvanceClockPerRead(run.disk.clock, 600);
    std::vector<std::string> rates;
    run.sink.onProgress = [&](int) { rates.push_back(run.sink.Field(IDC_AVERAGESPEED)); };
    ASSERT_EQ(run.Run(), HddTestEnd::Complete);
    // Shown after more than a second: 2 MiB in 1.2 s, then 4 MiB in 2.4 s.
    const std::vector<std::string> expected = {"", FormatSize(2 * kMiB * 1000 / 1200) + "/Sec",
                                               FormatSize(2 * kMiB * 1000 / 1200) + "/Sec",
                                               FormatSize(4 * kMiB * 1000 / 2400) + "/Sec"};
    EXPECT_EQ(rates, expected);
}

TEST(HddErrorTest, TheEndShowsTheFinalRate)
{
    struct Case {
        const char* name;
        std::uint64_t msPerRead;
        std::uint64_t firstReadMs;  // more time after the first read
        std::uint64_t totalMs;
    };
    const Case cases[] = {
        {"a run under a second", 100, 0, 400},
        {"a slow first read: the rate shown after it is not the end's", 0, 1500, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HddRun run(4 * kMiB, 2048);  // 1 MiB reads
        run.disk.disk->AdvanceClockPerRead(run.disk.clock, c.msPerRead);
        run.sink.onProgress = [&](int calls) {
            if (calls == 1)
                run.disk.clock->Advance(c.firstReadMs);
        };
        ASSERT_EQ(run.Run(), HddTestEnd::Complete);
        EXPECT_EQ(run.sink.Field(IDC_AVERAGESPEED), FormatSize(4 * kMiB * 1000 / c.totalMs) + "/Sec");
    }
}

TEST(HddErrorTest, StopLeavesTheDisplayWhereTheTestGotTo)
{
    HddRun run(4 * kMiB);
    run.sink.onProgress = [&](int calls) {
        if (calls == 10)
            run.running = 0;
    };
    ASSERT_EQ(run.Run(), HddTestEnd::Stopped);
    EXPECT_EQ(run.result.bytesTested, 10 * 64 * 512u);
    EXPECT_EQ(run.sink.Field(IDC_TESTINGSECTOR), "640");
    EXPECT_EQ(run.sink.Field(IDC_SECTORSREMAINING), "7552");
    EXPECT_NE(run.sink.Field(IDC_AMOUNTREMAINING), "0 GB");
    EXPECT_EQ(run.map.CellCount(), 640);
    EXPECT_EQ(run.sink.Ended(), 1);
}

TEST(HddErrorTest, AFailureThatIsNotTheMediumsEndsTheTestWhereItGotTo)
{
    struct Case {
        const char* name;
        std::function<void(FakeDisk&)> fault;
        const char* says;
        int stoppedAt;  // the first sector of the read it ended in
    };
    // Reads of 64 sectors.
    // clang-format off
    const Case cases[] = {
        {"the device vanished", [](FakeDisk& d) { d.AddBadSectors(2048, 1, -1, ENODEV); }, "No such device", 2048},
        {"the device ends early", [](FakeDisk& d) { d.EndAt(2048 * 512 + 1024); }, "ended at sector 2050", 2050},
        {"every read fails from sector 2000 on", [](FakeDisk& d) { d.StopAnsweringAt(2000 * 512); },
         "the device stopped answering at sector 1984.", 1984},
        {"and its size drops to 0", [](FakeDisk& d) { d.StopAnsweringAt(2000 * 512, true); },
         "the device stopped answering at sector 1984.", 1984},
        {"every read fails from the start", [](FakeDisk& d) { d.StopAnsweringAt(0); },
         "the device stopped answering at sector 0.", 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HddRun run(4 * kMiB);
        c.fault(*run.disk.disk);
        ASSERT_EQ(run.Run(), HddTestEnd::Failed);
        const std::string messages = run.sink.MessageText();
        EXPECT_NE(messages.find("Fatal Error, ReadSectors returned error trying to read"), std::string::npos);
        EXPECT_NE(messages.find(c.says), std::string::npos) << messages;
        EXPECT_NE(run.sink.Field(IDC_AMOUNTREMAINING), "0 GB");
        EXPECT_NE(run.sink.ProgressText(), "100% Complete");
        // The map keeps what was found; nothing past the read it ended in was read.
        EXPECT_EQ(run.map.CellCount(), c.stoppedAt);
        const std::vector<int> failed = run.Sorted(run.map.FailedCells());
        EXPECT_TRUE(failed.empty() || failed.front() == c.stoppedAt);
        for (const FakeDisk::Read& read : run.disk.disk->Reads())
            EXPECT_LT(read.offset, (c.stoppedAt + 64) * 512u);
        EXPECT_EQ(run.sink.Ended(), 1);
    }
    // A live disk's unreadable area longer than a read is read on.
    HddRun live(4 * kMiB);
    live.disk.disk->AddBadSectors(1984, 200);
    ASSERT_EQ(live.Run(), HddTestEnd::Complete);
    EXPECT_EQ(live.result.badRuns, (std::vector<SectorRun>{{1984, 200}}));
}

TEST(HddErrorTest, ADiskThatMayNotBeOpenedSaysWhoMay)
{
    HddRun run(4 * kMiB);
    run.disk.disk->RefuseOpen(EACCES);
    ASSERT_EQ(run.Run(), HddTestEnd::Failed);
    const std::string messages = run.sink.MessageText();
    EXPECT_NE(messages.find("/dev/sdz"), std::string::npos) << messages;
    EXPECT_NE(messages.find("group \"disk\""), std::string::npos) << messages;
    EXPECT_EQ(messages.find("Fatal"), std::string::npos) << messages;
}

TEST(HddErrorTestControl, TheProbeSetsTheSliderAndTheSliderTheReadSize)
{
    struct Case {
        const char* name;
        std::function<void(FakeDisk&)> fault;
        int sliderMax;
    };
    const Case cases[] = {
        {"24 MB reads", [](FakeDisk&) {}, 8},
        {"21 MB at most", [](FakeDisk& d) { d.RefuseReadsLongerThan(21 * kMiB); }, 5},
        {"sector 0 unreadable", [](FakeDisk& d) { d.AddBadSectors(0, 1); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDiskHost disk(64 * kMiB);
        c.fault(*disk.disk);
        HddCellMap map;
        RecordingDiskSink sink;
        HddErrorTestControl control(disk.host, map, sink);
        std::vector<std::string> boxes;
        DiskListHooks waitBox{[&](const std::string& text) { boxes.push_back(text); }, [&] { boxes.push_back("-"); }};
        const DiskSelection selection = control.OnSelchangeDrive(0, waitBox);
        EXPECT_EQ(boxes, (std::vector<std::string>{"Testing buffer sizes...", "-"}));
        EXPECT_EQ(selection.sliderMax, c.sliderMax);
        EXPECT_EQ(selection.sliderPos, c.sliderMax);
        EXPECT_EQ(selection.bufferSizeText, "24MB");
        EXPECT_EQ(control.m_nBufferSectors, 49152u);  // until the slider moves
        EXPECT_EQ(control.OnHScroll(3), " 9MB");
        EXPECT_EQ(control.m_nBufferSectors, 18432u);
    }
}

TEST(HddErrorTestControl, StartRunsTheTestOnItsWorkerWithTheSliderSize)
{
    FakeDiskHost disk(8 * kMiB);
    disk.disk->AddBadSectors(7000, 1);
    HddCellMap map;
    RecordingDiskSink sink;
    HddErrorTestControl control(disk.host, map, sink);
    EXPECT_EQ(control.DriveComboItems(), (std::vector<std::string>{"(sdz) SanDisk Cruzer Blade "}));
    control.OnSelchangeDrive(0);
    control.OnHScroll(1);  // 3 MB
    ScriptedPrompt prompt;
    const std::size_t probeReads = disk.disk->Reads().size();
    ASSERT_TRUE(control.OnStartTest());
    EXPECT_EQ(sink.Enabled(IDC_STARTTEST), false);
    EXPECT_EQ(sink.Enabled(IDC_STOPTEST), true);
    control.JoinWorker();
    ASSERT_NE(control.LastResult(), nullptr);
    EXPECT_EQ(control.LastResult()->badRuns, (std::vector<SectorRun>{{7000, 1}}));
    EXPECT_EQ(sink.Ended(), 1);
    EXPECT_EQ(sink.Enabled(IDC_BUFFERSLIDER), false);  // the worker's start; the window enables it at the end
    int full = 0;
    const std::vector<FakeDisk::Read> reads = disk.disk->Reads();
    for (std::size_t i = probeReads; i < reads.size(); ++i)
        full += reads[i].length == 3 * kMiB;
    EXPECT_EQ(full, 2);  // 3 + 3 + 2 MiB
    // A second run starts with an empty map.
    ASSERT_TRUE(control.OnStartTest());
    control.JoinWorker();
    EXPECT_EQ(map.FailedCells().size(), 1u);
}

TEST(HddErrorTestControl, ADiskThatMayNotBeOpenedShowsTheSizeTheSystemLists)
{
    FakeDiskHost disk(256ull << 30);
    disk.disk->RefuseOpen(EACCES);
    HddCellMap map;
    RecordingDiskSink sink;
    ScriptedPrompt prompt;
    HddErrorTestControl control(disk.host, map, sink);
    const DiskSelection selection = control.OnSelchangeDrive(0);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].text.find("group \"disk\""), std::string::npos) << prompt.asked[0].text;
    EXPECT_EQ(selection.fields.maxSize, "274.88 GB");
    EXPECT_EQ(selection.fields.formatSize, "256.00 GB");
    EXPECT_EQ(selection.fields.sizePerPlot, FormatSize(HddCellBytes(256ull << 30)));
}

TEST(HddErrorTestControl, StopAndTheEndDoNotWaitForADeviceThatHangs)
{
    FakeDiskHost disk(8 * kMiB);
    HddCellMap map;
    RecordingDiskSink sink;
    {
        HddErrorTestControl control(disk.host, map, sink);
        control.OnSelchangeDrive(0);
        disk.disk->HoldReads();
        ASSERT_TRUE(control.OnStartTest());
        disk.disk->WaitForHeldReads(1);
        control.OnStopTest();
        control.JoinWorker();  // returns with the read still held
        EXPECT_EQ(sink.Ended(), 1);
        EXPECT_TRUE(sink.Messages().empty()) << sink.MessageText();
        EXPECT_EQ(control.LastResult()->bytesTested, 0u);

        // A new run on the hung device; the window goes while it waits.
        ASSERT_TRUE(control.OnStartTest());
        disk.disk->WaitForHeldReads(2);
    }
    EXPECT_EQ(sink.Ended(), 2);
    EXPECT_TRUE(sink.Messages().empty()) << sink.MessageText();
    // The reads end on their own; what they bring is dropped.
    disk.disk->ReleaseReads();
    disk.disk->WaitUntilNoReadHeld();
}

TEST(HddErrorTest, ReadsAFileAndALoopDeviceToTheirEnds)
{
    TempDir dir;
    const std::string image = dir.File("disk.img");
    WriteFileText(image, std::string(5 * kMiB + 77, 'd'));  // not a whole number of sectors
    HddCellMap map;
    RecordingDiskSink sink;
    std::atomic<int> running{1};
    SteppingClock clock;
    DiskAccess access;
    {
        HddErrorTest test(image, access, 6144, map, sink, clock, running);
        ASSERT_EQ(test.DoErrorTest(), HddTestEnd::Complete) << sink.MessageText();
        EXPECT_EQ(test.Result().bytesTested, 5 * kMiB + 77);
        EXPECT_EQ(map.CellCount(), HddCellCount(5 * kMiB + 77));
    }
    std::string whyNot;
    std::optional<LoopDevice> loop = LoopDevice::Attach(image, whyNot);
    if (!loop)
        GTEST_SKIP() << whyNot;
    HddErrorTest test(loop->Node(), access, 2048, map, sink, clock, running);
    ASSERT_EQ(test.DoErrorTest(), HddTestEnd::Complete) << sink.MessageText();
    EXPECT_EQ(test.Result().bytesTested, 5 * kMiB);  // the loop device holds whole sectors only
    EXPECT_EQ(test.Result().errors, 0u);
    EXPECT_EQ(sink.Field(IDC_AMOUNTTESTED), "5.00 MB");
}
