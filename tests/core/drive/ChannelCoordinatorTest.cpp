#include "core/base/BusyFlags.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/drive/DriveContext.h"
#include "core/drive/DriveGuards.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct FlagsCleared {
    ~FlagsCleared() { g_bErrorTestRunning = g_bSpeedTestRunning = g_bCompareRunning = g_bCreateIsoRunning = 0; }
};

}  // namespace

TEST(ChannelCoordinator, OneOperationAtATimeUntilItsClaimIsGivenBack)
{
    FlagsCleared cleared;
    ChannelCoordinator coordinator;
    std::optional<ChannelClaim> speed = coordinator.TryClaim(ChannelUse::SpeedTest);
    ASSERT_TRUE(speed);
    EXPECT_EQ(coordinator.Holder(), ChannelUse::SpeedTest);
    // Claimed is not yet running: the busy flag is set when the test begins.
    EXPECT_EQ(g_bSpeedTestRunning, 0);
    EXPECT_FALSE(speed->StopRequested());
    ASSERT_TRUE(speed->Begin());
    EXPECT_EQ(g_bSpeedTestRunning, 1);

    for (ChannelUse other : {ChannelUse::SpeedTest, ChannelUse::ErrorTest, ChannelUse::Compare, ChannelUse::CreateIso})
        EXPECT_FALSE(coordinator.TryClaim(other));
    // Stop clears the flag as the window always did; the worker sees it, and
    // the channel stays taken while the worker ends.
    g_bSpeedTestRunning = 0;
    EXPECT_TRUE(speed->StopRequested());
    EXPECT_TRUE(coordinator.InUse());
    EXPECT_FALSE(coordinator.TryClaim(ChannelUse::ErrorTest));

    // Moving the claim (into a worker) keeps it; its end gives the channel back.
    {
        const ChannelClaim moved = std::move(*speed);
        EXPECT_TRUE(coordinator.InUse());
    }
    EXPECT_FALSE(coordinator.InUse());
    std::optional<ChannelClaim> iso = coordinator.TryClaim(ChannelUse::CreateIso);
    ASSERT_TRUE(iso);
    EXPECT_EQ(&iso->BusyFlag(), &g_bCreateIsoRunning);
    iso->Begin();
    iso->Release();
    EXPECT_EQ(g_bCreateIsoRunning, 0) << "a claim given back leaves its flag clear";
    EXPECT_FALSE(coordinator.InUse());
}

TEST(ChannelCoordinator, AStopBeforeTheTestBeganKeepsItFromBeginning)
{
    FlagsCleared cleared;
    ChannelCoordinator coordinator;
    std::optional<ChannelClaim> claim = coordinator.TryClaim(ChannelUse::ErrorTest);
    ASSERT_TRUE(claim);
    coordinator.RequestStop(ChannelUse::Compare);  // not the holder: nothing
    EXPECT_FALSE(claim->StopRequested());
    coordinator.RequestStop(ChannelUse::ErrorTest);
    EXPECT_TRUE(claim->StopRequested());
    EXPECT_FALSE(claim->Begin());
    EXPECT_EQ(g_bErrorTestRunning, 0);
    // The scan shares the error test's flag.
    EXPECT_EQ(&BusyFlagOf(ChannelUse::PiPoScan), &g_bErrorTestRunning);
}

// The guards on an emulated drive: each hold is given back however the
// scope ends.
TEST(DriveGuards, TheTrayIsUnlockedAndNotificationOnAgainOnEveryWayOut)
{
    ScopedProgramLog log;
    EmulatedDriveRig rig("dvd-writer", "dvd+r");
    DriveContext drives(rig.Sources());
    rig.MakeCurrent(drives);

    {
        const VolumeLock volume(drives.m_ScsiCommand);
        const MediaChangeNotificationOff quiet(drives.m_ScsiCommand);
        const TrayLock tray(drives.mmc);
        EXPECT_TRUE(tray.Locked());
        EXPECT_TRUE(rig.drive->RemovalPrevented());
        EXPECT_EQ(drives.mmc.m_bTrayLocked, 1);
        EXPECT_FALSE(rig.drive->EjectMedium());
    }
    EXPECT_FALSE(rig.drive->RemovalPrevented());
    EXPECT_EQ(drives.mmc.m_bTrayLocked, 0);
    EXPECT_NE(log.Text().find("DisableMCN - MCN disabled"), std::string::npos);
    EXPECT_NE(log.Text().find("DisableMCN - MCN enabled"), std::string::npos);

    // An exception leaves the scope: the tray is let go all the same.
    try {
        const TrayLock tray(drives.mmc);
        ASSERT_TRUE(rig.drive->RemovalPrevented());
        throw std::runtime_error("read failure");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(rig.drive->RemovalPrevented());

    // Released early, the guard sends ALLOW once.
    rig.drive->ClearJournal();
    {
        TrayLock tray(drives.mmc);
        tray.Release();
        EXPECT_FALSE(rig.drive->RemovalPrevented());
    }
    const auto cdbs = rig.Cdbs();
    ASSERT_EQ(cdbs.size(), 2u);
    EXPECT_EQ(cdbs[0], (std::vector<std::uint8_t>{mmc::kPreventAllowMediumRemoval, 0, 0, 0, 1, 0}));
    EXPECT_EQ(cdbs[1], (std::vector<std::uint8_t>{mmc::kPreventAllowMediumRemoval, 0, 0, 0, 0, 0}));
}
