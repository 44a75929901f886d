#include "core/base/BusyFlags.h"
#include "core/app/MainDialogCore.h"
#include "core/app/MainWindowRules.h"
#include "core/base/MessageIds.h"
#include "core/app/TestPageControls.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/tools/errortest/ErrorTest.h"
#include "core/tools/testpage/ReadErrorList.h"
#include "core/tools/testpage/TestReads.h"
#include "emu/MediaPresets.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/RecordingEvents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace testpage;
using namespace errortest;

namespace {

// The read error test on an emulated drive, in virtual time.
struct ErrorRig : EmulatedDriveRig {
    ErrorRig(const char* drivePreset, const char* mediumPreset, std::uint64_t blocks) :
        EmulatedDriveRig(drivePreset, "none")
    {
        emu::MediumDescription disc = *emu::FindMediumPreset(mediumPreset);
        disc.capacityBlocks = blocks;
        EXPECT_TRUE(drive->InsertMedium(disc));
        drive->SetStrictCdbLength(true);
        MakeCurrent(core.m_Drives);
    }
    ~ErrorRig() { g_bErrorTestRunning = 0; }

    // One run as the page starts it: the body the profile picks.
    ErrorTestEnd Run()
    {
        std::optional<ChannelClaim> claim = core.m_Drives.coordinator.TryClaim(ChannelUse::ErrorTest);
        EXPECT_TRUE(claim);
        int profile = 0;
        core.m_Drives.media.GetDriveProfile(profile);
        drive->ClearJournal();
        ErrorTest test(core.m_Drives, core.m_Report, events, *claim);
        const ErrorTestEnd end = ErrorThreadFor(profile) == BDErrorThread ? test.DoBDErrorTest() : test.DoErrorTest();
        reach = test.Reach();
        return end;
    }
    void Bad(std::uint64_t first, std::uint64_t count = 1)
    {
        drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(first, count));
    }
    // Fails the first read that meets it, reads again after.
    void Transient(std::uint64_t first, std::uint64_t count = 1)
    {
        emu::ErrorRule rule = emu::ErrorRule::UnreadableBlocks(first, count);
        rule.remaining = 1;
        drive->AddErrorRule(rule);
    }

    ScopedProgramLog log;
    MainDialogCore core{Sources()};
    RecordingEvents events;
    ErrorTestReach reach;
};

std::vector<std::string> Cells(const RecordingEvents& events)
{
    std::vector<std::string> cells;
    std::copy_if(events.map.begin(), events.map.end(), std::back_inserter(cells),
                 [](const std::string& event) { return event == "good" || event == "bad" || event == "suspect"; });
    return cells;
}

TEST(ErrorTest, GroupShapesByProfile)
{
    struct Case {
        int profile;
        int layers;
        int reads;
        int blocks;
    };
    for (const Case& c : {Case{0x08, 1, 4, 20}, Case{0x0A, 1, 4, 20}, Case{0x20, 1, 8, 20}, Case{0x81, 1, 8, 20},
                          Case{0x1B, 1, 16, 25}, Case{0x2B, 2, 32, 25}, Case{0x41, 2, 75, 25}}) {
        const GroupShape shape = GroupShapeFor(c.profile, c.layers);
        EXPECT_EQ(shape.readsPerGroup, c.reads) << c.profile;
        EXPECT_EQ(shape.blocksPerRead, c.blocks) << c.profile;
    }
}

// Five cells of 400 blocks: a bad block, a block that reads on the retry,
// and a bad last block (the one READ CAPACITY names) in a short last group.
TEST(ErrorTest, BadAndTransientBlocksGiveTheListAndTheCells)
{
    ErrorRig rig("dvd-writer", "dvd+rw", 1950);
    rig.Bad(0x1C2);
    rig.Transient(1210, 3);
    rig.Bad(1949);
    EXPECT_EQ(rig.Run(), ErrorTestEnd::Complete);

    EXPECT_EQ(rig.events.list.front(), kReadErrorsHeading);
    EXPECT_EQ(rig.events.Lines(),
              (std::vector<std::string>{"1. Error - LBA = 000001c2h", "2. Error - LBA = 0000079dh"}));
    EXPECT_EQ(Cells(rig.events), (std::vector<std::string>{"good", "bad", "good", "suspect", "bad"}));
    EXPECT_EQ(rig.events.texts[kFieldBadSectors], "2");
    // 399 + 400 + 349 blocks read alone.
    EXPECT_EQ(rig.events.texts[kFieldSuspectSectors], "1148");
    EXPECT_EQ(rig.events.texts[kFieldBadShare], "58.9744%");
    EXPECT_EQ(rig.events.texts[kFieldSector], "640h");
    EXPECT_EQ(rig.events.texts[kFieldRemaining], "0");
    EXPECT_EQ(rig.events.progress.back(), 100);
    EXPECT_EQ(rig.events.enabled[kSave], true);
    EXPECT_EQ(rig.events.posted, (std::vector<UINT>{WM_ERRORTESTENDED}));
    EXPECT_EQ(rig.events.Status(), "Ready");
    EXPECT_EQ(rig.events.beeps, (std::vector<unsigned>{MB_ICONINFORMATION}));
    EXPECT_TRUE(rig.reach.StoppedLine().empty());

    // The short last group reads 350 blocks and tries exactly those alone.
    const auto reads = rig.CdbsOf(mmc::kRead10);
    const auto singles = std::count_if(reads.begin(), reads.end(), [](const auto& cdb) { return cdb[8] == 1; });
    EXPECT_EQ(singles, 400 + 400 + 350);
    const auto& lastRead = *std::find_if(reads.rbegin(), reads.rend(), [](const auto& cdb) { return cdb[8] != 1; });
    EXPECT_EQ(lastRead[5], 1925 & 0xFF);
    EXPECT_EQ(lastRead[8], 25);
    // The tray is locked for the test and given back.
    const auto locks = rig.CdbsOf(mmc::kPreventAllowMediumRemoval);
    ASSERT_FALSE(locks.empty());
    EXPECT_EQ(locks.back()[4] & 1, 0);
}

TEST(ErrorTest, CleanDiscListsNothing)
{
    ErrorRig rig("dvd-writer", "dvd+rw", 1200);
    EXPECT_EQ(rig.Run(), ErrorTestEnd::Complete);
    EXPECT_TRUE(rig.events.Lines().empty());
    EXPECT_EQ(Cells(rig.events), (std::vector<std::string>(3, "good")));
    EXPECT_EQ(rig.events.texts[kFieldBadSectors], "0");
    EXPECT_EQ(rig.events.texts[kFieldSuspectSectors], "0");
    EXPECT_EQ(rig.events.enabled[kSave], false);
}

// A CD groups 4 reads of 20 blocks a cell; a BD 75 reads of 25.
TEST(ErrorTest, CellsFollowTheDiscFamily)
{
    {
        ErrorRig rig("dvd-writer", "cd-r", 400);
        rig.Bad(170);
        EXPECT_EQ(rig.Run(), ErrorTestEnd::Complete);
        EXPECT_EQ(Cells(rig.events), (std::vector<std::string>{"good", "good", "bad", "good", "good"}));
        EXPECT_EQ(rig.events.Lines(), (std::vector<std::string>{"1. Error - LBA = 000000aah"}));
    }
    {
        ErrorRig rig("bd-writer", "bd-re", 4000);
        rig.Transient(3000);
        EXPECT_EQ(rig.Run(), ErrorTestEnd::Complete);
        EXPECT_EQ(Cells(rig.events), (std::vector<std::string>{"good", "suspect", "good"}));
        EXPECT_TRUE(std::count(rig.events.statuses.begin(), rig.events.statuses.end(), "Retrying sectors...."));
        EXPECT_EQ(rig.events.texts[kFieldSuspectSectors], "1875");
    }
}

// The scratched CD preset gives the map red cells where blocks never read
// and a white one where a block reads at the second try.
TEST(ErrorTest, TheScratchedPresetShowsBadAndSuspectCells)
{
    const emu::MediumDescription disc = *emu::FindMediumPreset("cd-r-scratched");
    ErrorRig rig("dvd-writer", "cd-r-scratched", 260000);
    EXPECT_EQ(rig.Run(), ErrorTestEnd::Complete);
    const std::vector<std::string> cells = Cells(rig.events);
    EXPECT_EQ(cells.size(), 260000u / 80);
    EXPECT_EQ(std::count(cells.begin(), cells.end(), "bad"), 3);
    EXPECT_EQ(std::count(cells.begin(), cells.end(), "suspect"), 1);
    // Every block of the lasting scratches listed, one of the spot that
    // fails twice (once in its group, once alone).
    std::uint64_t lasting = 0;
    for (const emu::UnreadableZone& zone : disc.unreadable)
        lasting += zone.failures < 0 ? zone.blockCount : 0;
    EXPECT_EQ(rig.events.Lines().size(), lasting + 1);
    EXPECT_EQ(rig.events.Lines().front(), "1. Error - LBA = 000186a0h");
}

// Stop during the single-block pass: the test ends there, is not taken for
// complete, and the list file says how far it got.
TEST(ErrorTest, StopDuringTheSingleBlockPass)
{
    ErrorRig rig("dvd-writer", "dvd+rw", 2000);
    rig.Bad(0x190);
    rig.Bad(0x1D0);
    rig.events.onStatus = [](const std::string& status) {
        if (status == "Testing individual blocks..")
            g_bErrorTestRunning = 0;
    };
    EXPECT_EQ(rig.Run(), ErrorTestEnd::Stopped);
    // One block of the failed group was read alone.
    const auto reads = rig.CdbsOf(mmc::kRead10);
    EXPECT_EQ(std::count_if(reads.begin(), reads.end(), [](const auto& cdb) { return cdb[8] == 1; }), 1);
    EXPECT_EQ(Cells(rig.events), (std::vector<std::string>{"good"}));
    // The block read when Stop came is listed; the next bad one was not reached.
    EXPECT_EQ(rig.events.Lines(), (std::vector<std::string>{"1. Error - LBA = 00000190h"}));
    EXPECT_EQ(rig.reach.bad, 1);
    EXPECT_TRUE(rig.events.posted.empty());
    EXPECT_TRUE(rig.events.beeps.empty());
    EXPECT_NE(rig.events.progress.back(), 100);
    EXPECT_EQ(rig.events.Status(), "Test stopped at LBA 191h");
    EXPECT_EQ(rig.reach.end, ErrorTestEnd::Stopped);
    EXPECT_EQ(rig.reach.StoppedLine(), "Test stopped at LBA = 00000191h: 401 of 2000 blocks tested (20.05%)");
    EXPECT_EQ(rig.CdbsOf(mmc::kPreventAllowMediumRemoval).back()[4] & 1, 0);
}

// The drive unplugged during the single-block pass: the test ends at the
// first lost read, keeps what it found, and says why it ended.
TEST(ErrorTest, ALostDriveEndsTheTestWhereItWent)
{
    ErrorRig rig("dvd-writer", "dvd+rw", 1950);
    rig.Bad(0x1C2);
    rig.events.onStatus = [&rig](const std::string& status) {
        if (status == "Testing individual blocks..")
            rig.drive->ScheduleFault(emu::MidRunFault::DriveGone, 100);
    };
    EXPECT_EQ(rig.Run(), ErrorTestEnd::Fault);
    const auto reads = rig.CdbsOf(mmc::kRead10);
    EXPECT_EQ(std::count_if(reads.begin(), reads.end(), [](const auto& cdb) { return cdb[8] == 1; }), 100);
    EXPECT_EQ(rig.events.Lines(), (std::vector<std::string>{"1. Error - LBA = 000001c2h"}));
    EXPECT_EQ(Cells(rig.events), (std::vector<std::string>{"good"}));
    EXPECT_EQ(rig.events.texts[kFieldBadSectors], "1");
    EXPECT_EQ(rig.events.texts[kFieldSuspectSectors], "99");
    EXPECT_EQ(rig.events.Status(), "Test ended at LBA 1F4h: the drive was lost");
    EXPECT_EQ(rig.events.posted, (std::vector<UINT>{WM_ERRORTESTENDED}));
    EXPECT_EQ(rig.events.enabled[kSave], true);
    EXPECT_NE(rig.events.progress.back(), 100);
    EXPECT_EQ(rig.reach.end, ErrorTestEnd::Fault);
    EXPECT_EQ(rig.reach.StoppedLine(),
              "Test ended at LBA = 000001f4h, the drive was lost: 500 of 1950 blocks tested (25.64%)");
}

// A read that is lost while the drive still answers (a read that timed out
// on a damaged disc) is a bad block, not the end.
TEST(ErrorTest, ALostReadOfAPresentDriveIsABadBlock)
{
    ErrorRig rig("dvd-writer", "dvd+rw", 1200);
    bool lost = false;
    rig.events.onStatus = [&rig, &lost](const std::string& status) {
        if (status == "Test Running" && !std::exchange(lost, true))
            rig.drive->AddErrorRule(
                emu::ErrorRule::Refusal(emu::ErrorRule::Kind::TransportFailure, mmc::kRead10, mmc::kRead10, 1));
    };
    EXPECT_EQ(rig.Run(), ErrorTestEnd::Complete);
    EXPECT_EQ(Cells(rig.events), (std::vector<std::string>{"suspect", "good", "good"}));
    EXPECT_EQ(rig.events.Status(), "Ready");
}

TEST(ErrorTest, LockedDiscEndsTheTest)
{
    ErrorRig rig("dvd-writer", "dvd+rw", 1200);
    emu::ErrorRule rule = emu::ErrorRule::UnreadableBlocks(500, 10);
    rule.sense = {0x05, 0x6F, 0x03};
    rig.drive->AddErrorRule(rule);
    EXPECT_EQ(rig.Run(), ErrorTestEnd::Encrypted);
    EXPECT_EQ(rig.events.BoxTexts(), (std::vector<std::string>{kLockedDiscText}));
    EXPECT_EQ(rig.events.map.back(), "clear");
    EXPECT_EQ(rig.events.Status(), "Media is encrypted & locked");
    EXPECT_EQ(rig.events.posted, (std::vector<UINT>{WM_ERRORTESTENDED}));
}

TEST(ErrorTest, ListFileMatchesItsGoldenCopy)
{
    ErrorRig rig("dvd-writer", "dvd+rw", 1950);
    rig.Bad(0x1C2);
    rig.Bad(1949);
    ASSERT_EQ(rig.Run(), ErrorTestEnd::Complete);
    TempDir dir;
    ReadErrorList list{"EMULATED DVD WRITER", "RICOHJPNW11", "DVD+RW", rig.events.Lines(), ""};
    std::string error;
    ASSERT_TRUE(SaveReadErrorList(dir.File("errors.txt"), list, error)) << error;
    const std::string golden = QUENZA_SOURCE_DIR "/tests/core/tools/errortest/data/";
    EXPECT_EQ(ReadFileText(dir.File("errors.txt")), ReadFileText(golden + "read-error-list.txt"));

    // A stopped test's file says how far the test got.
    list.stoppedAt = "Test stopped at LBA = 00000191h: 401 of 2000 blocks tested (20.05%)";
    ASSERT_TRUE(SaveReadErrorList(dir.File("stopped.txt"), list, error)) << error;
    EXPECT_EQ(ReadFileText(dir.File("stopped.txt")), ReadFileText(golden + "stopped-list.txt"));
}

// The map click names the blocks of the cell the test drew there.
TEST(ErrorTest, MapClickNamesTheCellsBlocks)
{
    struct Case {
        int profile;
        int layers;
        int x;
        int y;
        std::uint32_t first;
        std::uint32_t end;
    };
    for (const Case& c :
         {Case{0x1B, 1, 29, 70, 0, 400}, Case{0x09, 1, 34, 70, 80, 160}, Case{0x2B, 2, 29, 75, 90 * 800, 91 * 800},
          Case{0x43, 1, 478, 428, 6480 * 1875, 6481 * 1875}}) {
        const auto range = ErrorMapCellRange(c.x, c.y, GroupShapeFor(c.profile, c.layers).BlocksPerCell());
        ASSERT_TRUE(range) << c.profile;
        EXPECT_EQ(range->first, c.first) << c.profile;
        EXPECT_EQ(range->second, c.end) << c.profile;
    }
}

}  // namespace
