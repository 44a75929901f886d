#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskSizeText.h"
#include "core/tools/disk/DiskToolIds.h"
#include "core/tools/flashtest/FlashMemoryTest.h"
#include "core/tools/flashtest/FlashMemoryTestControl.h"
#include "support/DiskToolSupport.h"
#include "support/LoopDevice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

using namespace disktool;

namespace {

constexpr std::uint64_t kNonce = 0x5EED5EED12345678ull;
constexpr std::uint64_t kMiB = 1 << 20;

struct FlashRun {
    explicit FlashRun(std::uint64_t sectors) : disk(sectors * 512) {}

    FlashTestEnd Run(std::uint64_t nonce = kNonce)
    {
        const ChosenDisk chosen = ChooseDisk(disk.host.access, *disk.record,
                                             OpenDisk(disk.host.access, "/dev/sdz", BlockAccess::Read));
        FlashMemoryTest test(chosen, disk.host.access, sink, running, nonce);
        const FlashTestEnd end = test.DoSizeTest();
        result = test.Result();
        return end;
    }
    // The sectors the test began its writes at.
    std::vector<std::uint64_t> WrittenSectors() const
    {
        std::vector<std::uint64_t> sectors;
        for (std::uint64_t offset : disk.disk->WriteOffsets())
            sectors.push_back(offset / 512);
        return sectors;
    }

    FakeDiskHost disk;
    RecordingDiskSink sink;
    std::atomic<int> running{1};
    FlashTestResult result;
};

// The sectors a run writes: the blocks, then the fill in chunks of 1 MB
// (2048 sectors) of the drive.
std::vector<std::uint64_t> PlannedWrites(const FlashTestPlan& plan)
{
    std::vector<std::uint64_t> writes = plan.blocks;
    for (std::uint64_t at = 4; at < 4 + plan.fillSectors; at = (at / 2048 + 1) * 2048)
        writes.push_back(at);
    return writes;
}

}  // namespace

TEST(FlashMemoryTest, ThePlanFillsTheStartAndSpreadsBlocksToTheEnd)
{
    struct Case {
        std::uint64_t sectors;
        std::uint32_t sectorBytes;
        std::uint64_t fill;
        std::uint64_t stride;
    };
    // clang-format off
    const Case cases[] = {
        {5000,          512,  2498,    4},        // a block every 4 sectors past the fill
        {131072,        512,  65534,   64},
        {4194304,       512,  2097150, 2048},     // 2 GB: a fill of 1 GB less 1 KB
        {62914560,      512,  2097152, 59392},    // 30 GB: the fill is 1 GB at most
        {4294967296ull, 512,  2097152, 2097152},  // 2 TB: the blocks a fill apart
        {1048576,       4096, 262144,  768},
        {12,            512,  4,       4},
        {9,             512,  5,       0},        // no room for a block
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sectors);
        const FlashTestPlan plan = FlashMemoryTest::PlanFor(c.sectors, c.sectorBytes);
        EXPECT_EQ(plan.fillSectors, c.fill);
        EXPECT_EQ(plan.stride, c.stride);
        if (c.stride == 0) {
            EXPECT_TRUE(plan.blocks.empty());
            continue;
        }
        ASSERT_FALSE(plan.blocks.empty());
        EXPECT_EQ(plan.blocks.front(), 4 + c.fill);
        EXPECT_EQ(plan.blocks.back(), c.sectors - 4);  // the drive's last sectors
        for (std::size_t i = 1; i < plan.blocks.size(); ++i) {
            EXPECT_GE(plan.blocks[i] - plan.blocks[i - 1], 4u);  // never overlapping
            EXPECT_LE(plan.blocks[i] - plan.blocks[i - 1], c.fill + 3) << i;  // a fill's window holds one
        }
        EXPECT_LE(plan.blocks.size(), 2050u);
    }
}

TEST(FlashMemoryTest, AnHonestDrivePassesWritingThePlanOnce)
{
    for (const std::uint64_t sectors : {std::uint64_t{131072}, std::uint64_t{100000}, std::uint64_t{5000}}) {
        SCOPED_TRACE(sectors);
        FlashRun run(sectors);
        ASSERT_EQ(run.Run(), FlashTestEnd::Passed) << run.sink.MessageText();
        const FlashTestPlan plan = FlashMemoryTest::PlanFor(sectors, 512);
        EXPECT_EQ(run.result.fillSectors, plan.fillSectors);
        EXPECT_EQ(run.WrittenSectors(), PlannedWrites(plan));
        EXPECT_EQ(run.result.blocksWritten, static_cast<int>(plan.blocks.size()));
        EXPECT_EQ(run.result.blocksVerified, static_cast<int>(plan.blocks.size()));
        EXPECT_EQ(run.disk.disk->Flushes(), 1);
        // Sectors 0 to 3 are never written; every sector written carries its own tag.
        EXPECT_EQ(run.disk.disk->Bytes(0, 2048), FakeDisk(sectors * 512).Bytes(0, 2048));
        std::vector<std::uint8_t> tagged(512);
        for (std::uint64_t sector : {std::uint64_t{4}, plan.fillSectors + 3, plan.blocks[1] + 3, sectors - 1}) {
            FlashMemoryTest::FillBlock(tagged.data(), tagged.size(), sector, kNonce);
            EXPECT_EQ(run.disk.disk->Bytes(sector * 512, 512), tagged) << sector;
        }
        EXPECT_EQ(run.sink.MessageText(),
                  "Test complete, no errors were found.  The drive will now need to be re-formatted.\n");
        EXPECT_EQ(run.sink.ProgressText(), "100% Complete");
        EXPECT_EQ(run.sink.Field(IDC_AMOUNTREMAINING), "0 GB");
        EXPECT_EQ(run.sink.Ended(), 1);
    }
}

TEST(FlashMemoryTest, EveryWrapPeriodIsCaughtAndMeasured)
{
    // A 64 MB drive: a fill of 65,534 sectors from sector 4, then blocks
    // every 64 sectors from 65,538 to 131,068. Its writes land on sector N mod
    // the period, whatever the period: a multiple of the block stride or not,
    // a power of two or not, shorter than the fill or past it.
    const std::uint64_t periods[] = {1,     3,     4,     5,      8,      4095,   4096,  32768, 65533,
                                     65534, 65535, 65536, 65537,  65538,  65541,  65600, 65601, 65666,
                                     80000, 98304, 99999, 131000, 131063, 131066, 131067};
    for (const std::uint64_t period : periods) {
        SCOPED_TRACE(period);
        FlashRun run(131072);
        run.disk.disk->WrapAt(period);
        ASSERT_EQ(run.Run(), FlashTestEnd::VerifyFailed) << run.sink.MessageText();
        EXPECT_EQ(run.result.heldSectors, period);
        ASSERT_TRUE(run.result.foundSector.has_value());
        const std::uint64_t found = *run.result.foundSector;
        EXPECT_EQ(found > run.result.foundAt ? found - run.result.foundAt : run.result.foundAt - found, period);
        EXPECT_NE(run.sink.MessageText().find(Format("Sector %llu was found at %llu: the device holds about %s",
                                                     static_cast<unsigned long long>(found),
                                                     static_cast<unsigned long long>(run.result.foundAt),
                                                     FormatSize(period * 512).c_str())),
                  std::string::npos)
            << run.sink.MessageText();
        EXPECT_EQ(run.sink.Ended(), 1);
    }
}

TEST(FlashMemoryTest, ADriveThatWrapsAt1000MBIsCaught)
{
    // Reports 2 GB: blocks at multiples of 128 MB would all land on places of their own.
    FlashRun run(4194304);
    run.disk.disk->WrapAt(1000 * kMiB / 512);
    ASSERT_EQ(run.Run(), FlashTestEnd::VerifyFailed);
    EXPECT_EQ(run.sink.MessageText(),
              "Verify Failure at 2.00 KB\n\nSector 2048004 was found at 4: the device holds "
              "about 1000.00 MB\n");
}

TEST(FlashMemoryTest, WritesLostPastWhatTheDriveHoldsAreCaughtBehindACache)
{
    // Reports 2 GB, keeps 1 GB; the latest 1 MB written still reads back.
    FlashRun run(4194304);
    run.disk.disk->FailWritesFrom(2097152, 0);
    run.disk.disk->CacheLatestWrites(kMiB);
    ASSERT_EQ(run.Run(), FlashTestEnd::VerifyFailed) << run.sink.MessageText();
    EXPECT_EQ(run.result.blocksWritten, 1025);  // each read back at once from the cache
    EXPECT_EQ(run.result.blocksVerified, 0);
    EXPECT_EQ(run.sink.MessageText(),
              "Verify Failure at 1.00 GB\n\nSector 2097154 did not keep what was written to "
              "it: the device holds about 1.00 GB\n");

    // On a 64 MB drive, whatever keeps up to the fill's length less a sector.
    struct Case {
        std::uint64_t keeps;  // sectors
        std::uint64_t cache;  // bytes
        std::uint64_t held;  // what the tags show
    };
    // clang-format off
    const Case cases[] = {
        {1000,   0,            1000},    // the first block lost at once, then halving below it
        {1000,   kMiB,         1000},    // the fill's first sector lost
        {65540,  0,            65540},   // in the first block
        {100000, 0,            100000},
        {100000, 16 * kMiB,    100034},  // the first block past it
        {100000, 65533 * 512,  100034},
        {131070, 65533 * 512,  131070},  // the last block's last sectors
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keeps);
        SCOPED_TRACE(c.cache);
        FlashRun small(131072);
        small.disk.disk->FailWritesFrom(c.keeps, 0);
        small.disk.disk->CacheLatestWrites(c.cache);
        ASSERT_EQ(small.Run(), FlashTestEnd::VerifyFailed) << small.sink.MessageText();
        EXPECT_EQ(small.result.heldSectors, c.held);
        EXPECT_FALSE(small.result.foundSector.has_value());
    }
}

TEST(FlashMemoryTest, AnUnreadableSectorIsToldFromOneReadBackWrong)
{
    struct Case {
        const char* name;
        std::function<void(FakeDisk&)> fault;
        FlashTestEnd end;
        const char* says;
    };
    const Case cases[] = {
        {"a fill sector that cannot be read", [](FakeDisk& d) { d.AddBadSectors(3000, 1); }, FlashTestEnd::ReadFailed,
         "Read Failure at 1.46 MB\n\n/dev/sdz: Input/output error\n"},
        {"a block that fails as it is read back at once", [](FakeDisk& d) { d.AddBadSectors(100035, 1, -1, EILSEQ); },
         FlashTestEnd::ReadFailed,
         "Read Failure at 48.85 MB\n\n/dev/sdz: Invalid or incomplete multibyte or wide character\n"},
        {"a drive that ends early", [](FakeDisk& d) { d.EndAt(131000 * 512); }, FlashTestEnd::ReadFailed,
         "/dev/sdz: sector 131010 could not be read, though it lies within the reported size"},
        {"a sector that keeps another value", [](FakeDisk& d) { d.FailWritesFrom(131071, 0); },
         FlashTestEnd::VerifyFailed,
         "Verify failure while writing sector 131068 at 64.00 MB\n\nSector 131071 did not keep what was written to "
         "it: the device holds about 64.00 MB\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlashRun run(131072);
        c.fault(*run.disk.disk);
        EXPECT_EQ(run.Run(), c.end);
        EXPECT_NE(run.sink.MessageText().find(c.says), std::string::npos) << run.sink.MessageText();
        EXPECT_EQ(run.sink.Ended(), 1);
    }
}

TEST(FlashMemoryTest, AWriteThatFailsEndsTheTestAtOnce)
{
    FlashRun run(131072);
    run.disk.disk->FailWritesFrom(100000, EIO);
    ASSERT_EQ(run.Run(), FlashTestEnd::WriteFailed);
    EXPECT_EQ(run.sink.MessageText(), "Write Failure at 48.84 MB\n\n/dev/sdz: Input/output error\n");
    EXPECT_EQ(run.sink.Ended(), 1);
    EXPECT_EQ(run.result.blocksVerified, 0);
}

TEST(FlashMemoryTest, ABlockLeftByAnotherRunDoesNotPass)
{
    // A drive that ignores writes and still holds an earlier run's sectors.
    FlashRun run(100000);
    const FlashTestPlan plan = FlashMemoryTest::PlanFor(100000, 512);
    std::vector<std::uint8_t> block(2048);
    for (std::uint64_t position : plan.blocks) {
        FlashMemoryTest::FillSectors(block.data(), position, 4, 512, kNonce + 1);
        run.disk.disk->Fill(position * 512, block);
    }
    run.disk.disk->FailWritesFrom(0, 0);
    ASSERT_EQ(run.Run(), FlashTestEnd::VerifyFailed);
    EXPECT_EQ(run.result.failedSector, plan.blocks.front());
    EXPECT_FALSE(run.result.foundSector.has_value());
}

TEST(FlashMemoryTest, TheTagHoldsTheWholePositionAndTheNonce)
{
    std::vector<std::uint8_t> block(40, 0xEE);
    FlashMemoryTest::FillBlock(block.data(), block.size(), 0x0102030405060708ull, 0xA1A2A3A4A5A6A7A8ull);
    const std::vector<std::uint8_t> tag = {1, 2, 3, 4, 5, 6, 7, 8, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8};
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 16), tag);
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 16, block.begin() + 32), tag);
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 32, block.end()),
              std::vector<std::uint8_t>(tag.begin(), tag.begin() + 8));
    EXPECT_NE(NewFlashTestNonce(), NewFlashTestNonce());
    // Each sector its own.
    std::vector<std::uint8_t> sectors(1024);
    FlashMemoryTest::FillSectors(sectors.data(), 7, 2, 512, 1);
    EXPECT_EQ(sectors[7], 7);
    EXPECT_EQ(sectors[512 + 7], 8);
    EXPECT_EQ(sectors[1023], 1);
}

TEST(FlashMemoryTest, StopDuringTheWritePassSkipsTheVerifyPass)
{
    FlashRun run(131072);
    run.sink.onProgress = [&](int calls) {
        if (calls == 3)
            run.running = 0;
    };
    ASSERT_EQ(run.Run(), FlashTestEnd::Stopped);
    EXPECT_EQ(run.result.blocksWritten, 3);
    EXPECT_EQ(run.result.blocksVerified, 0);
    EXPECT_EQ(run.disk.disk->Reads().size(), 3u);
    EXPECT_EQ(run.sink.MessageText(), "Aborted as user request.  The drive will now need to be re-formatted.\n");
}

namespace {

struct FlashControlRig {
    explicit FlashControlRig(std::uint64_t sectors, bool removable = true) : disk(sectors * 512, removable)
    {
        control.SetNonceSource([] { return kNonce; });
        int shown = -1;
        fields = control.OnSelchangeDrive(0, shown);
    }

    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk;
    HddCellMap map;
    RecordingDiskSink sink;
    FlashMemoryTestControl control{disk.host, map, sink};
    DiskDriveFields fields;
};

}  // namespace

TEST(FlashMemoryTestControl, StartAsksNamingTheDeviceModelAndSizeThenRuns)
{
    FlashControlRig rig(1000000);
    EXPECT_EQ(rig.fields.driveType, "Removable");
    EXPECT_EQ(rig.control.m_nBytesPerSector, 512u);
    EXPECT_EQ(rig.control.m_nBufferSectors, 49152u);
    rig.prompt.Answer(IDYES);
    ASSERT_TRUE(rig.control.OnStartTest());
    rig.control.JoinWorker();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    const std::string& question = rig.prompt.asked[0].text;
    for (const char* part : {"/dev/sdz", "SanDisk Cruzer Blade", "488.28 MB", "destroy or corrupt data"})
        EXPECT_NE(question.find(part), std::string::npos) << part << " in " << question;
    EXPECT_EQ(rig.prompt.asked[0].type & MB_DEFBUTTON_MASK, unsigned{MB_DEFBUTTON2});
    ASSERT_NE(rig.control.LastResult(), nullptr);
    EXPECT_EQ(rig.control.LastResult()->blocksVerified,
              static_cast<int>(FlashMemoryTest::PlanFor(1000000, 512).blocks.size()));
    EXPECT_EQ(rig.sink.Ended(), 1);
}

TEST(FlashMemoryTestControl, RefusesWhatMustNotBeWrittenWithoutWritingAByte)
{
    struct Case {
        const char* name;
        bool removable;
        std::function<void(FakeDiskHost&)> change;
        int answer;
        const char* says;
    };
    const Case cases[] = {
        {"a fixed disk", false, [](FakeDiskHost&) {}, IDYES, "is not a removable drive"},
        {"a mounted drive", true, [](FakeDiskHost& d) { d.use.mounts = {"/dev/sdz1 on /media/stick"}; }, IDYES,
         "is mounted"},
        {"the root file system's drive", true,
         [](FakeDiskHost& d) {
             d.use.mounts = {"the root file system"};
             d.use.holdsSystem = true;
         },
         IDYES, "holds this system's files"},
        {"No at the question", true, [](FakeDiskHost&) {}, IDNO, "Flash memory test"},
        // Told before anything is asked.
        {"a drive this user may read but not write", true, [](FakeDiskHost& d) { d.disk->RefuseOpen(EACCES, true); },
         IDYES, "Cannot open /dev/sdz for writing: Permission denied"},
        {"another drive attached at the node since it was chosen", true,
         [](FakeDiskHost& d) { d.disk->Reattach(256 * kMiB); }, IDYES,
         "/dev/sdz no longer holds the drive that was chosen.\n\nChosen: SanDisk Cruzer Blade, Fake Disk, 488.28 MB, "
         "device 8:240, disk sequence 1\nThere now: Fake Disk, 256.00 MB, device 8:240, disk sequence 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlashControlRig rig(1000000, c.removable);
        c.change(rig.disk);
        rig.prompt.Answer(c.answer);
        EXPECT_FALSE(rig.control.OnStartTest());
        rig.control.JoinWorker();
        EXPECT_EQ(rig.disk.disk->Writes(), 0);
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        const std::string asked = rig.prompt.asked[0].caption + "\n" + rig.prompt.asked[0].text;
        EXPECT_NE(asked.find(c.says), std::string::npos) << asked;
        EXPECT_EQ(rig.sink.Ended(), 0);
    }
}

TEST(FlashMemoryTestControl, TheWorkerWritesOnlyToTheDriveThatWasChosen)
{
    // The drive changes while the question is open.
    FlashControlRig rig(1000000);
    struct ReattachingPrompt : ScriptedPrompt {
        int MessageBox(const std::string& text, const std::string& caption, unsigned type) override
        {
            disk->Reattach(256 * kMiB);
            return ScriptedPrompt::MessageBox(text, caption, type);
        }
        FakeDisk* disk = nullptr;
    } prompt;
    prompt.disk = rig.disk.disk.get();
    prompt.Answer(IDYES);
    ASSERT_TRUE(rig.control.OnStartTest());
    rig.control.JoinWorker();
    EXPECT_EQ(rig.disk.disk->Writes(), 0);
    EXPECT_NE(rig.sink.MessageText().find("no longer holds the drive that was chosen"), std::string::npos)
        << rig.sink.MessageText();
    EXPECT_EQ(rig.sink.Ended(), 1);
}

TEST(FlashMemoryTestControl, ADriveWithoutSectorsStartsNothing)
{
    FlashControlRig rig(0);
    EXPECT_FALSE(rig.control.OnStartTest());
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text,
              "Drive report zero sectors.  No media detected in drive, or drive not formatted");
}

TEST(FlashMemoryTestControl, ADriveThatMayNotBeOpenedShowsTheSizeTheSystemLists)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk(256ull << 30);
    disk.disk->RefuseOpen(EACCES);
    HddCellMap map;
    RecordingDiskSink sink;
    FlashMemoryTestControl control(disk.host, map, sink);
    int shown = -1;
    const DiskDriveFields fields = control.OnSelchangeDrive(0, shown);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].text.find("group \"disk\""), std::string::npos) << prompt.asked[0].text;
    EXPECT_EQ(fields.formatSize, "256.00 GB");
}

TEST(FlashMemoryTestControl, StopAndTheEndDoNotWaitForADriveThatHangs)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk(32 * kMiB);
    HddCellMap map;
    RecordingDiskSink sink;
    {
        FlashMemoryTestControl control(disk.host, map, sink);
        int shown = -1;
        control.OnSelchangeDrive(0, shown);
        disk.disk->HoldReads();  // the first block's read back hangs
        prompt.Answer(IDYES);
        ASSERT_TRUE(control.OnStartTest());
        disk.disk->WaitForHeldReads(1);
        control.OnStopTest();
        control.JoinWorker();  // returns with the read still held
        EXPECT_EQ(sink.Ended(), 1);
        ASSERT_NE(control.LastResult(), nullptr);
        EXPECT_EQ(control.LastResult()->blocksWritten, 0);

        // A new run on the hung drive; the window goes while it waits.
        prompt.Answer(IDYES);
        ASSERT_TRUE(control.OnStartTest());
        disk.disk->WaitForHeldReads(2);
    }
    EXPECT_EQ(sink.Ended(), 2);
    EXPECT_EQ(sink.MessageText().find("Failure"), std::string::npos) << sink.MessageText();
    // The reads end on their own; what they bring is dropped.
    disk.disk->ReleaseReads();
    disk.disk->WaitUntilNoReadHeld();
}

namespace {

// The flash test's control over a loop device the test attached (as root).
struct LoopRig {
    explicit LoopRig(const std::string& image, std::string& whyNot) : loop(LoopDevice::Attach(image, whyNot))
    {
        if (!loop)
            return;
        record = MakeDiskRecord(loop->Name(), "TestCorp", "Stick", "1.0", true, 15);
        host.drives = {record.get()};
        control = std::make_unique<FlashMemoryTestControl>(host, map, sink);
        control->SetNonceSource([] { return kNonce; });
        int shown = -1;
        control->OnSelchangeDrive(0, shown);
    }

    ScopedProfile profile;
    ScriptedPrompt prompt;
    std::optional<LoopDevice> loop;
    std::unique_ptr<CDevice> record;
    DiskToolHost host;
    HddCellMap map;
    RecordingDiskSink sink;
    std::unique_ptr<FlashMemoryTestControl> control;
};

}  // namespace

TEST(FlashMemoryTest, AnHonestLoopDevicePassesAndHoldsTheTaggedSectors)
{
    TempDir dir;
    const std::string image = dir.File("stick.img");
    WriteFileText(image, std::string(64 << 20, '\0'));
    std::string whyNot;
    LoopRig rig(image, whyNot);
    if (!rig.loop)
        GTEST_SKIP() << whyNot;
    rig.prompt.Answer(IDYES);
    ASSERT_TRUE(rig.control->OnStartTest()) << rig.prompt.asked.back().text;
    rig.control->JoinWorker();
    EXPECT_EQ(rig.sink.MessageText(),
              "Test complete, no errors were found.  The drive will now need to be re-formatted.\n");
    const FlashTestPlan plan = FlashMemoryTest::PlanFor(131072, 512);
    EXPECT_EQ(rig.control->LastResult()->blocksVerified, static_cast<int>(plan.blocks.size()));
    const std::string bytes = ReadFileText(image);
    std::vector<std::uint8_t> sector(512);
    for (std::uint64_t at : {std::uint64_t{4}, plan.fillSectors + 3, plan.blocks[7] + 2, std::uint64_t{131071}}) {
        FlashMemoryTest::FillBlock(sector.data(), sector.size(), at, kNonce);
        EXPECT_EQ(bytes.substr(at * 512, 512), std::string(sector.begin(), sector.end())) << at;
    }
    EXPECT_EQ(bytes.substr(0, 2048), std::string(2048, '\0'));
}

TEST(FlashMemoryTest, ALoopDeviceAttachedAnewAtTheNodeIsNotWritten)
{
    TempDir dir;
    const std::string first = dir.File("first.img");
    const std::string second = dir.File("second.img");
    WriteFileText(first, std::string(4 << 20, '\0'));
    WriteFileText(second, std::string(16 << 20, '\0'));
    std::string whyNot;
    LoopRig rig(first, whyNot);
    if (!rig.loop)
        GTEST_SKIP() << whyNot;
    if (!rig.loop->Reattach(second, whyNot))
        GTEST_SKIP() << whyNot;
    rig.prompt.Answer(IDYES);
    EXPECT_FALSE(rig.control->OnStartTest());
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    const std::string& refusal = rig.prompt.asked[0].text;
    EXPECT_NE(refusal.find(rig.loop->Node() + " no longer holds the drive that was chosen"), std::string::npos)
        << refusal;
    EXPECT_NE(refusal.find("Chosen: TestCorp Stick, " + first + ", 4.00 MB"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("There now: " + second + ", 16.00 MB"), std::string::npos) << refusal;
    EXPECT_EQ(ReadFileText(first), std::string(4 << 20, '\0'));
    EXPECT_EQ(ReadFileText(second), std::string(16 << 20, '\0'));
}
