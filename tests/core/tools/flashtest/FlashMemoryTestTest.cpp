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

using namespace disktool;

namespace {

constexpr std::uint64_t kNonce = 0x5EED5EED12345678ull;

struct FlashRun {
    explicit FlashRun(std::uint64_t sectors) : disk(sectors * 512) {}

    FlashTestEnd Run(std::uint64_t nonce = kNonce)
    {
        FlashMemoryTest test("/dev/sdz", disk.host.access, sink, running, nonce);
        const FlashTestEnd end = test.DoSizeTest();
        result = test.Result();
        return end;
    }
    // The sectors the test wrote its blocks at.
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

std::vector<std::uint64_t> Positions(std::uint64_t stride, int count)
{
    std::vector<std::uint64_t> positions = {4};
    for (int i = 1; i < count; ++i)
        positions.push_back(stride * static_cast<std::uint64_t>(i));
    return positions;
}

}  // namespace

TEST(FlashMemoryTest, AnHonestDrivePassesWithBlocksSpreadOverItsSize)
{
    struct Case {
        std::uint64_t sectors;
        std::uint64_t stride;
        int blocks;
    };
    const Case cases[] = {{1000000, 65536, 15}, {100000, 4096, 24}, {2097152, 262144, 8}, {5000, 4096, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sectors);
        FlashRun run(c.sectors);
        ASSERT_EQ(run.Run(), FlashTestEnd::Passed) << run.sink.MessageText();
        EXPECT_EQ(run.result.stride, c.stride);
        EXPECT_EQ(run.WrittenSectors(), Positions(c.stride, c.blocks));
        EXPECT_EQ(run.result.blocksVerified, c.blocks);
        EXPECT_EQ(run.disk.disk->Flushes(), 1);
        // Sector 0 is never written; each block is read back twice.
        EXPECT_EQ(run.disk.disk->Bytes(0, 2048), FakeDisk(c.sectors * 512).Bytes(0, 2048));
        EXPECT_EQ(run.disk.disk->Reads().size(), 2u * c.blocks);
        EXPECT_EQ(run.sink.MessageText(),
                  "Test complete, no errors were found.  The drive will now need to be re-formatted.\n");
        EXPECT_EQ(run.sink.ProgressText(), "100% Complete");
        EXPECT_EQ(run.sink.Field(IDC_AMOUNTREMAINING), "0 GB");
        EXPECT_EQ(run.sink.Ended(), 1);
    }
}

TEST(FlashMemoryTest, AFakeCapacityFailsAtItsFirstBlockWrittenOver)
{
    // Reports 2 GB, holds 512 MB: sector N lands on N mod 1,048,576.
    FlashRun run(4000000);
    run.disk.disk->WrapAt(1048576);
    ASSERT_EQ(run.Run(), FlashTestEnd::VerifyFailed);
    // Every block read back as written at once; block 262,144 was written
    // over by the one at 1,310,720 later.
    EXPECT_EQ(run.result.blocksWritten, 15);
    EXPECT_EQ(run.result.blocksVerified, 1);
    EXPECT_EQ(run.result.failedBlock, 262144u);
    EXPECT_EQ(run.sink.MessageText(), "Verify Failure at " + FormatSize(262144ull * 512) + "\n");
}

TEST(FlashMemoryTest, TheReadBackOfEveryWriteIsChecked)
{
    // Writes past 256 MB vanish: the block at sector 524,288 reads back what was there.
    FlashRun run(4000000);
    run.disk.disk->FailWritesFrom(524288, 0);
    ASSERT_EQ(run.Run(), FlashTestEnd::VerifyFailed);
    EXPECT_EQ(run.result.failedBlock, 524288u);
    EXPECT_EQ(run.sink.MessageText(), "Verify failure while writing sector 524288 at 256.00 MB\n");
    EXPECT_EQ(run.result.blocksVerified, 0);  // no verify pass after a failure

    FlashRun failing(4000000);
    failing.disk.disk->FailWritesFrom(786432, EIO);
    ASSERT_EQ(failing.Run(), FlashTestEnd::WriteFailed);
    EXPECT_EQ(failing.sink.MessageText().rfind("Write Failure at 384.00 MB", 0), 0u) << failing.sink.MessageText();
    EXPECT_EQ(failing.sink.Ended(), 1);
}

TEST(FlashMemoryTest, ABlockLeftByAnotherRunDoesNotPass)
{
    // A drive that ignores writes and still holds an earlier run's blocks.
    FlashRun run(100000);
    for (std::uint64_t position : Positions(4096, 24)) {
        std::vector<std::uint8_t> block(2048);
        FlashMemoryTest::FillBlock(block.data(), block.size(), position, kNonce + 1);
        run.disk.disk->Fill(position * 512, block);
    }
    run.disk.disk->FailWritesFrom(0, 0);
    ASSERT_EQ(run.Run(), FlashTestEnd::VerifyFailed);
    EXPECT_EQ(run.result.failedBlock, 4u);
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
}

TEST(FlashMemoryTest, StopDuringTheWritePassSkipsTheVerifyPass)
{
    FlashRun run(1000000);
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
    EXPECT_EQ(rig.control.LastResult()->blocksVerified, 15);
    EXPECT_EQ(rig.sink.Ended(), 1);
}

TEST(FlashMemoryTestControl, RefusesWhatMustNotBeWrittenWithoutWritingAByte)
{
    struct Case {
        const char* name;
        bool removable;
        std::function<void(DeviceUse&)> use;
        int answer;
        const char* says;
    };
    const Case cases[] = {
        {"a fixed disk", false, [](DeviceUse&) {}, IDYES, "is not a removable drive"},
        {"a mounted drive", true, [](DeviceUse& u) { u.mounts = {"/dev/sdz1 on /media/stick"}; }, IDYES, "is mounted"},
        {"the root file system's drive", true,
         [](DeviceUse& u) {
             u.mounts = {"the root file system"};
             u.holdsSystem = true;
         },
         IDYES, "holds this system's files"},
        {"No at the question", true, [](DeviceUse&) {}, IDNO, "Flash memory test"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlashControlRig rig(1000000, c.removable);
        c.use(rig.disk.use);
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

TEST(FlashMemoryTestControl, ADriveWithoutSectorsStartsNothing)
{
    FlashControlRig rig(0);
    EXPECT_FALSE(rig.control.OnStartTest());
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text,
              "Drive report zero sectors.  No media detected in drive, or drive not formatted");
}

TEST(FlashMemoryTest, AnHonestLoopDevicePassesAndHoldsTheTaggedBlocks)
{
    TempDir dir;
    const std::string image = dir.File("stick.img");
    WriteFileText(image, std::string(64 << 20, '\0'));  // 131,072 sectors: a block every 16,384
    std::string whyNot;
    std::optional<LoopDevice> loop = LoopDevice::Attach(image, whyNot);
    if (!loop)
        GTEST_SKIP() << whyNot;
    RecordingDiskSink sink;
    std::atomic<int> running{1};
    DiskAccess access;
    FlashMemoryTest test(loop->Node(), access, sink, running, kNonce);
    ASSERT_EQ(test.DoSizeTest(), FlashTestEnd::Passed) << sink.MessageText();
    EXPECT_EQ(test.Result().blocksVerified, 8);
    const std::string bytes = ReadFileText(image);
    for (std::uint64_t position : Positions(16384, 8)) {
        std::vector<std::uint8_t> block(2048);
        FlashMemoryTest::FillBlock(block.data(), block.size(), position, kNonce);
        EXPECT_EQ(bytes.substr(position * 512, 2048), std::string(block.begin(), block.end())) << position;
    }
    EXPECT_EQ(bytes.substr(0, 2048), std::string(2048, '\0'));
}
