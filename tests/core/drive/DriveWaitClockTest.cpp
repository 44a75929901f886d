#include "SysBlockTree.h"
#include "core/drive/DriveContext.h"
#include "emu/EmulatedDrive.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::shared_ptr<emu::EmulatedDrive> Emulated(std::shared_ptr<emu::Clock> clock)
{
    std::string error;
    auto made = emu::MakeEmulatedDrive("dvd-writer", "dvd+r", std::move(clock), &error);
    EXPECT_TRUE(made) << error;
    return made;
}

// A time from the system clock: read between two readings of it.
void ExpectSystemTime(WaitClock& clock)
{
    const std::uint64_t before = SystemWaitClock()->NowMs();
    const std::uint64_t now = clock.NowMs();
    EXPECT_GE(now, before);
    EXPECT_LE(now, SystemWaitClock()->NowMs());
}

}  // namespace

// The drive context's waits and times follow the current drive: a paced
// emulated drive's own time (a wait spends it, shortened in wall time), the
// system clock for a drive that answers at once, for the machine's drives
// and when no drive is current.
TEST(DriveWaitClock, TheContextsClockFollowsTheCurrentDrive)
{
    FixtureTree tree;
    std::uint64_t wallUs = 0;
    std::vector<std::uint64_t> sleeps;
    auto paced = std::make_shared<emu::PacedClock>(
        10, [&] { return wallUs; },
        [&](std::uint64_t us) {
            sleeps.push_back(us);
            wallUs += us;
        });
    ScopedProgramLog log;
    DriveContext drives(
        Sources(tree, {{"emu0", Emulated(paced)}, {"emu1", Emulated(std::make_shared<emu::SteadyClock>())}}));
    WaitClock& clock = drives.mmc.GetWaitClock();
    EXPECT_EQ(&clock, &drives.DriveClock());
    EXPECT_TRUE(drives.DriveClock().FollowsSystemClock());
    ExpectSystemTime(clock);

    ASSERT_TRUE(drives.list.FillDeviceComboList());
    ASSERT_EQ(drives.list.DeviceComboEntries().size(), 2u);
    EXPECT_TRUE(drives.DriveClock().FollowsSystemClock());  // no drive current after the probes

    drives.list.SetDeviceComboSel(0);
    ASSERT_EQ(drives.list.OnSelchangeDevicescombo().outcome, SelectionOutcome::Selected);
    EXPECT_FALSE(drives.DriveClock().FollowsSystemClock());
    const std::uint64_t before = clock.NowMs();
    EXPECT_EQ(before, paced->NowMs());
    sleeps.clear();
    clock.SleepMs(3000);
    EXPECT_EQ(clock.NowMs(), before + 3000);
    EXPECT_EQ(sleeps, std::vector<std::uint64_t>{300000});

    drives.list.SetDeviceComboSel(1);
    ASSERT_EQ(drives.list.OnSelchangeDevicescombo().outcome, SelectionOutcome::Selected);
    EXPECT_TRUE(drives.DriveClock().FollowsSystemClock());
    ExpectSystemTime(clock);

    drives.list.SetDeviceComboSel(0);
    ASSERT_EQ(drives.list.OnSelchangeDevicescombo().outcome, SelectionOutcome::Selected);
    EXPECT_FALSE(drives.DriveClock().FollowsSystemClock());
    drives.list.ReleaseDevices();
    EXPECT_TRUE(drives.DriveClock().FollowsSystemClock());

    // A drive of the machine keeps the system clock; an emulated drive that
    // stands in for its node has its own time.
    DriveWaitClock machine({{"emu0", Emulated(paced)}});
    machine.Follow("sr0");
    EXPECT_TRUE(machine.FollowsSystemClock());
    ExpectSystemTime(machine);
    DriveWaitClock standIn({{"sr0", Emulated(paced)}});
    standIn.Follow("sr0");
    EXPECT_FALSE(standIn.FollowsSystemClock());
    EXPECT_EQ(standIn.NowMs(), paced->NowMs());
}
