#include "core/tools/disk/DiskTestWorker.h"
#include "core/tools/disk/StoppableDisk.h"
#include "support/DiskToolSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

TEST(StoppableDisk, ReadsIntoItsOwnBufferAndGivesUpAHungReadAtStop)
{
    FakeDiskHost host(1 << 20);
    std::atomic<int> running{1};
    StopNotice notice;
    {
        StoppableDisk disk(running, &notice);
        ASSERT_EQ(disk.Open(host.host.access, "/dev/sdz", BlockAccess::Read), "");
        EXPECT_EQ(disk.Geometry().sizeBytes, 1u << 20);
        ASSERT_TRUE(disk.Reserve(4096));
        const BlockIo io = disk.Read(512, 1024);
        ASSERT_TRUE(io.Ok());
        EXPECT_EQ(io.bytes, 1024u);
        EXPECT_EQ(disk.Data()[1], FakeDisk::PatternByte(513));
        EXPECT_EQ(disk.SizeNow(), 1u << 20);

        host.disk->HoldReads();
        std::thread stop([&] {
            host.disk->WaitForHeldReads(1);
            running = 0;
            notice.Notify();
        });
        EXPECT_EQ(disk.Read(0, 4096).error, ECANCELED);
        stop.join();
        EXPECT_TRUE(disk.Stopped());
        // Given up for good, even when the flag is set again.
        running = 1;
        EXPECT_EQ(disk.Read(0, 512).error, ECANCELED);
        EXPECT_EQ(disk.SizeNow(), 0u);
    }  // gone while the read is held
    host.disk->ReleaseReads();
    host.disk->WaitUntilNoReadHeld();

    host.disk->RefuseOpen(ENODEV);
    StoppableDisk refused(running, nullptr);
    EXPECT_NE(refused.Open(host.host.access, "/dev/sdz", BlockAccess::Read).find("/dev/sdz"), std::string::npos);
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_FALSE(refused.Stopped());
}
