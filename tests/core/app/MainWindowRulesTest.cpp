#include "core/app/DeviceBroadcast.h"
#include "core/base/DriveJobRunner.h"
#include "core/app/MainWindowRules.h"
#include "platform/devices/DriveWatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

TEST(MainWindowRules, FixedSizeAndRestoredPosition)
{
    EXPECT_EQ(FixedWindowSize(40).width, 753);
    EXPECT_EQ(FixedWindowSize(40).height, 579);
    EXPECT_EQ(FixedWindowSize(20).height, 594);
    EXPECT_EQ(FixedWindowSize(0).height, 574);

    EXPECT_EQ(RestoredWindowPosition(100, 50, 1920, 1080), std::make_pair(100, 50));
    EXPECT_EQ(RestoredWindowPosition(-20, 100, 1920, 1080), std::make_pair(0, 0));
    EXPECT_EQ(RestoredWindowPosition(100, -1, 1920, 1080), std::make_pair(0, 0));
    EXPECT_EQ(RestoredWindowPosition(1921, 100, 1920, 1080), std::make_pair(0, 0));
    EXPECT_EQ(RestoredWindowPosition(100, 1081, 1920, 1080), std::make_pair(0, 0));
}

TEST(MainWindowRules, ErrorMapClickNamesTheBlocksOfItsCell)
{
    EXPECT_EQ(ErrorMapBlockRange(29, 70, 8), std::make_pair(0x0u, 0xC8u));
    EXPECT_EQ(ErrorMapBlockRange(478, 428, 8), std::make_pair(0x13C680u, 0x13C748u));
    EXPECT_FALSE(ErrorMapBlockRange(28, 70, 8));
    EXPECT_FALSE(ErrorMapBlockRange(479, 300, 8));
    EXPECT_FALSE(ErrorMapBlockRange(100, 429, 8));

    EXPECT_EQ(ErrorMapBlockFactor(0x1B, false, 1), 8);  // no structure read
    EXPECT_EQ(ErrorMapBlockFactor(0x09, true, 1), 4);
    EXPECT_EQ(ErrorMapBlockFactor(0x81, true, 1), 8);
    EXPECT_EQ(ErrorMapBlockFactor(0x1B, true, 1), 16);
    EXPECT_EQ(ErrorMapBlockFactor(0x2B, true, 2), 32);
}

TEST(DeviceBroadcast, ANoticeIsTakenOnceAndOldOnesMakeRoom)
{
    const DriveChange change{false, true, "emu1"};
    const LPARAM handle = KeepDeviceBroadcast(DeviceBroadcastOf(change));
    EXPECT_EQ(DeviceChangeEvent(change), DBT_DEVICEREMOVECOMPLETE);
    const auto notice = TakeDeviceBroadcast(handle);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->driveText, "emu1");
    EXPECT_EQ(notice->flags, DBTF_MEDIA);
    EXPECT_EQ(notice->deviceType, DBT_DEVTYP_VOLUME);
    EXPECT_FALSE(TakeDeviceBroadcast(handle));
    EXPECT_FALSE(TakeDeviceBroadcast(0));

    // Notices nobody takes do not pile up.
    const LPARAM first = KeepDeviceBroadcast({});
    for (int i = 0; i < 1000; ++i)
        KeepDeviceBroadcast({});
    EXPECT_FALSE(TakeDeviceBroadcast(first));
}

namespace {

struct CountingTarget : MessageTarget {
    std::atomic<int> posted{0};
    bool PostMessage(UINT, WPARAM, LPARAM) override
    {
        ++posted;
        return true;
    }
};

}  // namespace

TEST(DriveJobRunner, RunsWorkOffTheCallersThreadAndCompletionsInOrderWhenAsked)
{
    auto target = std::make_shared<CountingTarget>();
    DriveJobRunner runner;
    runner.SetTarget(target, WM_DRIVEWORKDONE);
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> offThread{false};
    std::vector<int> order;
    runner.Run([&] { offThread = std::this_thread::get_id() != caller; }, [&] { order.push_back(1); });
    runner.Run({}, [&] { order.push_back(2); });
    runner.Run([] {});  // work without a completion posts nothing
    runner.WaitForWork();
    EXPECT_TRUE(offThread);
    EXPECT_TRUE(order.empty());  // completions wait for the window
    EXPECT_TRUE(runner.Busy());
    EXPECT_FALSE(runner.Working());
    EXPECT_EQ(target->posted, 2);
    runner.RunCompletions();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_FALSE(runner.Busy());
}
