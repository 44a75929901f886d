#include "EraseRig.h"

#include "core/drive/MediaType.h"
#include "core/tools/erase/DcEraseControl.h"
#include "emu/DrivePresets.h"
#include "scsi/Bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

namespace {

using namespace erasing;

// The DC erase commands sent (F3h 0Ch), as sub-command and CDB.
std::vector<std::vector<std::uint8_t>> DcCommands(const EraseRig& rig)
{
    std::vector<std::vector<std::uint8_t>> commands;
    for (const auto& cdb : rig.CdbsOf(0xF3))
        if (cdb[1] == 0x0C && cdb[11] != 0xAA)
            commands.push_back(cdb);
    return commands;
}

std::vector<DcEraseStep> Ranges(const EraseRig& rig)
{
    std::vector<DcEraseStep> ranges;
    for (const auto& cdb : DcCommands(rig))
        if (cdb[2] == 0x05)
            ranges.push_back({scsi::GetBe24(&cdb[3]), scsi::GetBe24(&cdb[6])});
    return ranges;
}

// Runs a DC erase from the dialog's logic to its end, every question answered yes.
std::optional<EraseResult> RunDc(EraseRig& rig, bool quick, std::function<void(DcEraseControl&)> during = {},
                                 std::function<void()> afterInit = {})
{
    DcEraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
    EXPECT_TRUE(control.InitDialog());
    if (afterInit)
        afterInit();
    if (during)
        rig.sink.onStatus = [&](const std::string&) { during(control); };
    for (int answer = 0; answer < 3; ++answer)
        rig.prompt.Answer(IDYES);
    rig.drive->ClearJournal();
    if (quick)
        control.OnQuickErase();
    else
        control.OnFullErase();
    control.Join();
    return rig.sink.Result();
}

// The checks ended the run: its worker took the drive and ended before
// anything was written, the status line left as the check that ended it set it.
bool EndedByItsChecks(const std::optional<EraseResult>& result)
{
    return result && result->end == EraseEnd::NotStarted && result->status.empty();
}

// Every way out: the erase mode left, removal allowed, the disc ejected.
void ExpectLeftClean(const EraseRig& rig)
{
    const auto commands = DcCommands(rig);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back()[2], 0x01);  // leave the erase mode
    EXPECT_FALSE(rig.drive->VendorState().nuQsi.dcErase.eraseMode);
    EXPECT_FALSE(rig.drive->RemovalPrevented());
    EXPECT_TRUE(rig.drive->TrayOpen());
    EXPECT_EQ(rig.Cdbs().back(), (std::vector<std::uint8_t>{0x1B, 0x01, 0, 0, 0x02, 0}));
}

TEST(DcErase, DataStepsOfTheQuickRanges)
{
    const std::vector<DcEraseStep> minus = DcEraseDataSteps(kMediaDvdMinusRw, kDcDvdStart, kDcDvdQuickEnd);
    ASSERT_EQ(minus.size(), 20u);
    for (std::size_t i = 0; i + 1 < minus.size(); ++i) {
        EXPECT_EQ(minus[i].first, 0x2FE00u + 26 * i);  // steps of 25 from the start, the next one block later
        EXPECT_EQ(minus[i].last, minus[i].first + 25);
    }
    EXPECT_EQ(minus.back(), (DcEraseStep{0x2FFEE, 0x30000}));

    const std::vector<DcEraseStep> plus = DcEraseDataSteps(kMediaDvdPlusRw, kDcDvdStart, kDcDvdQuickEnd);
    ASSERT_EQ(plus.size(), 20u);
    EXPECT_EQ(plus.front(), (DcEraseStep{0x2D000, 0x2D000 + 614}));
    EXPECT_EQ(plus.back().last, 0x30000u);
    for (std::size_t i = 1; i < plus.size(); ++i)
        EXPECT_EQ(plus[i].first, plus[i - 1].last + 1);
}

TEST(DcErase, AQuickEraseOfADvdRwErasesTheLeadInThenTwentyStepsAndLeavesABlankDisc)
{
    EraseRig rig("nu", "dvd-rw");
    const auto result = RunDc(rig, true);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->end, EraseEnd::Completed);
    EXPECT_EQ(result->status, "DC Erase completed");
    const std::vector<DcEraseStep> ranges = Ranges(rig);
    ASSERT_EQ(ranges.size(), 22u);
    EXPECT_EQ(ranges[0], (DcEraseStep{0x20360, 0x22FA0}));
    EXPECT_EQ(ranges[1], (DcEraseStep{0x2E200, 0x2F1F0}));
    EXPECT_EQ(ranges[2], (DcEraseStep{0x2FE00, 0x2FE19}));
    EXPECT_EQ(ranges.back(), (DcEraseStep{0x2FFEE, 0x30000}));
    // The set-up: the access sequence, range type 2 with the flag at the drive's speed, writes until the word is 22.
    const auto commands = DcCommands(rig);
    EXPECT_EQ(commands[0], (std::vector<std::uint8_t>{0xF3, 0x0C, 0x00, 'Q', 'N', 'Z', 'D', 'C', 0, 0, 0, 0}));
    EXPECT_EQ(commands[1][3], 0x0A);
    EXPECT_EQ(rig.drive->CurrentMedium()->status, emu::DiscStatus::Blank);
    EXPECT_EQ(rig.sink.Progress().back(), 100);
    ExpectLeftClean(rig);
}

TEST(DcErase, ADvdPlusRwHasNoLeadInPartAndACdUsesTheCdForm)
{
    EraseRig plus("nu", "dvd+rw");
    ASSERT_EQ(RunDc(plus, true)->end, EraseEnd::Completed);
    const std::vector<DcEraseStep> ranges = Ranges(plus);
    ASSERT_EQ(ranges.size(), 20u);
    EXPECT_EQ(ranges.front().first, 0x2D000u);
    EXPECT_EQ(ranges.back().last, 0x30000u);
    EXPECT_FALSE(plus.drive->CurrentMedium()->formatted);
    ExpectLeftClean(plus);

    for (const bool quick : {true, false}) {
        SCOPED_TRACE(quick);
        EraseRig cd("nu", "cd-rw");
        ASSERT_EQ(RunDc(cd, quick)->status, "DC Erase completed");
        const auto commands = DcCommands(cd);
        const auto erase = *std::find_if(commands.begin(), commands.end(), [](const auto& c) { return c[2] == 0x05; });
        const std::vector<std::uint8_t> range = quick ? std::vector<std::uint8_t>{0x03, 0x00, 0x00}
                                                      : std::vector<std::uint8_t>{0x64, 0x01, 0x4A};
        const std::vector<std::uint8_t> expected = {0xF3,     0x0C,     0x05,     0x00, 0x0D, 0x19,
                                                    range[0], range[1], range[2], 0,    0,    0x01};
        EXPECT_EQ(erase, expected);
        EXPECT_EQ(cd.drive->CurrentMedium()->status, emu::DiscStatus::Blank);
        EXPECT_EQ(cd.drive->ReadsAsZeros(0, 16), !quick);
        ExpectLeftClean(cd);
    }
}

TEST(DcErase, EveryWayOutLeavesTheEraseModeAllowsRemovalAndEjects)
{
    struct Way {
        const char* name;
        std::function<void(emu::DriveIdentity&)> identity;
        std::function<void(emu::EmulatedDrive&)> inject;
        bool stop;
        EraseEnd end;
        const char* status;
    };
    const Way ways[] = {
        {"stopped", {}, {}, true, EraseEnd::Stopped, "DC Erase Aborted"},
        {"erase mode refused",
         {},
         [](emu::EmulatedDrive& d) {
             d.AddErrorRule(emu::ErrorRule::CheckCondition(0xF3, emu::sense::kInvalidFieldInCdb, 1));
         },
         false,
         EraseEnd::Failed,
         "DC Erase failed - DC erase 00h (F3h) failed"},
        {"write failure",
         [](emu::DriveIdentity& i) { i.vendorSettings.nuQsi.dcErase.abortAtSector = 0x2FF00; },
         {},
         false,
         EraseEnd::Failed,
         "DC Erase aborted. Write failure or end of formatted area"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        emu::DriveIdentity identity = *emu::FindDrivePreset("nu");
        if (way.identity)
            way.identity(identity);
        EraseRig rig(identity, "dvd-rw");
        bool stopped = false;
        const auto result = RunDc(
            rig, true,
            [&](DcEraseControl& control) {
                if (way.stop && !stopped && rig.sink.Statuses().back().rfind("DC Erasing blocks", 0) == 0) {
                    stopped = true;
                    control.OnStop();
                }
            },
            [&] {
                if (way.inject)
                    way.inject(*rig.drive);
            });
        ASSERT_TRUE(result);
        EXPECT_EQ(result->end, way.end);
        EXPECT_EQ(result->status.rfind(way.status, 0), 0u) << result->status;
        ExpectLeftClean(rig);
        if (way.stop) {  // the step under way was polled to its end first
            const auto statuses = rig.sink.Statuses();
            EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Trying to stop please be patient..."),
                      statuses.end());
            EXPECT_EQ(Ranges(rig).size(), 3u);
        }
    }
}

TEST(DcErase, ADiscRemovedInTheMiddleEndsTheEraseAsAFailureNamingIt)
{
    struct Case {
        const char* medium;
        const char* erasing;  // the status while the drive erases
    };
    for (const Case c : {Case{"cd-rw", "Quick DC Erasing CDRW"}, Case{"dvd-rw", "DC Erasing blocks"}}) {
        SCOPED_TRACE(c.medium);
        EraseRig rig("nu", c.medium);
        bool scheduled = false;
        const auto result = RunDc(rig, true, [&](DcEraseControl&) {
            if (!scheduled && rig.sink.Statuses().back().rfind(c.erasing, 0) == 0) {
                scheduled = true;
                rig.drive->ScheduleFault(emu::MidRunFault::DiscRemoved, 3);  // the erase under way, being polled
            }
        });
        ASSERT_TRUE(scheduled);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->end, EraseEnd::Failed);
        EXPECT_EQ(result->status, "DC Erase failed - the disc was removed");
        ExpectLeftClean(rig);
    }
}

TEST(DcErase, AFullEraseOfAClosedDiscCoversItsRecordedBlocks)
{
    for (const char* medium : {"dvd-rw", "dvd+rw"}) {
        SCOPED_TRACE(medium);
        EraseRig rig("nu", medium);
        const std::uint32_t recorded = rig.drive->CurrentMedium()->capacityBlocks;
        std::set<std::thread::id> asking;
        rig.prompt.onAsk = [&](const ScriptedPrompt::Asked&) { asking.insert(std::this_thread::get_id()); };
        const auto result = RunDc(rig, false);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, "DC Erase completed");
        const std::vector<DcEraseStep> ranges = Ranges(rig);
        ASSERT_FALSE(ranges.empty());
        EXPECT_EQ(ranges.back().last, 0x30000u + recorded);
        EXPECT_TRUE(rig.drive->ReadsAsZeros(0, 16));  // the data is gone, not only the lead-in
        // The questions said which erase this is, and defaulted to No.
        ASSERT_EQ(rig.prompt.asked.size(), 3u);
        EXPECT_EQ(rig.prompt.asked[0].caption, "Continue?");
        EXPECT_EQ(rig.prompt.asked[1].caption, "ARE YOU SURE?");
        EXPECT_NE(rig.prompt.asked[2].text.find("DC erase of the disc (full)"), std::string::npos);
        for (const auto& asked : rig.prompt.asked)
            EXPECT_EQ(asked.type & MB_DEFBUTTON_MASK, unsigned{MB_DEFBUTTON2}) << asked.caption;
        EXPECT_EQ(asking.count(std::this_thread::get_id()), 0u) << "a question was asked on the window's thread";
    }
}

// Without READ CAPACITY the last track's end bounds the erase; when that
// cannot be read either, nothing is erased.
TEST(DcErase, AFullEraseWithoutTheCapacityCoversTheLastTrackOrNothing)
{
    using emu::ErrorRule;
    const ErrorRule noCapacity = ErrorRule::CheckCondition(0x25, emu::sense::kInvalidFieldInCdb, 1);
    struct Case {
        const char* name;
        std::vector<ErrorRule> rules;
        const char* failure;  // null: erased to the last track's end
    };
    const Case cases[] = {
        {"the last track's end", {noCapacity}, nullptr},
        {"no disc information",
         {noCapacity, ErrorRule::CheckCondition(0x51, emu::sense::kInvalidFieldInCdb, 1)},
         "DC Erase failed - the end of the recorded data is not known: READ CAPACITY (25h) failed, then READ DISC "
         "INFORMATION (51h) failed"},
        {"no information of the last track",
         {noCapacity, ErrorRule::CheckCondition(0x52, emu::sense::kInvalidFieldInCdb, 1, 1)},
         "DC Erase failed - the end of the recorded data is not known: READ CAPACITY (25h) failed, then READ TRACK "
         "INFORMATION (52h) failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EraseRig rig("nu", "dvd-rw");
        const std::uint32_t recorded = rig.drive->CurrentMedium()->capacityBlocks;
        const auto result = RunDc(rig, false, {}, [&] {
            for (const ErrorRule& rule : c.rules)
                rig.drive->AddErrorRule(rule);
        });
        if (!c.failure) {
            ASSERT_TRUE(result);
            EXPECT_EQ(result->status, "DC Erase completed");
            ASSERT_FALSE(Ranges(rig).empty());
            EXPECT_EQ(Ranges(rig).back().last, 0x30000u + recorded);
            EXPECT_TRUE(rig.drive->ReadsAsZeros(0, 16));
            continue;
        }
        EXPECT_TRUE(EndedByItsChecks(result));
        EXPECT_TRUE(DcCommands(rig).empty());
        EXPECT_FALSE(rig.drive->ReadsAsZeros(0, 16));
        EXPECT_EQ(rig.sink.Statuses().back().rfind(c.failure, 0), 0u) << rig.sink.Statuses().back();
    }
}

TEST(DcErase, StopOnlyAsksToStop)
{
    EraseRig rig("nu", "dvd-rw");
    DcEraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
    ASSERT_TRUE(control.InitDialog());
    rig.drive->ClearJournal();
    control.OnStop();
    EXPECT_TRUE(rig.Cdbs().empty());
    EXPECT_FALSE(rig.drive->TrayOpen());
}

TEST(DcErase, ASpeedOfZeroErasesAtTheDefaultSpeed)
{
    EraseRig rig("nu", "cd-rw");
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xBB, emu::sense::kInvalidFieldInCdb));
    ASSERT_EQ(RunDc(rig, true)->end, EraseEnd::Completed);
    EXPECT_EQ(DcCommands(rig)[1][5], kDcDefaultSpeed);
    const auto statuses = rig.sink.Statuses();
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Quick DC Erasing CDRW @ 4x. Please wait..."),
              statuses.end());
}

TEST(DcErase, AFailedTrackInformationAbortsBeforeAnythingIsErased)
{
    EraseRig rig("nu", "dvd-rw");
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x52, emu::sense::kInvalidFieldInCdb));
    const auto result = RunDc(rig, false);
    EXPECT_TRUE(EndedByItsChecks(result));
    EXPECT_TRUE(DcCommands(rig).empty());
    EXPECT_EQ(rig.sink.Statuses().back().rfind("DC Erase failed - READ TRACK INFORMATION (52h) failed", 0), 0u);
}

TEST(DcErase, OnlyRewritableDiscsOnANuQsiBurnerAreErased)
{
    // A pressed CD reads as media type 100 like a CD-RW, but its disc information says it is not erasable.
    for (const char* medium : {"cd-rom", "dvd-r"}) {
        SCOPED_TRACE(medium);
        EraseRig rig("nu", medium);
        EXPECT_TRUE(EndedByItsChecks(RunDc(rig, true)));
        EXPECT_TRUE(DcCommands(rig).empty());
        ASSERT_FALSE(rig.prompt.asked.empty());
        const std::string told = rig.prompt.asked.back().text;
        EXPECT_TRUE(told == "Incorrect media type.  Only RW media can be DC Erased"
                    || told == "Wrong media type for drive")
            << told;
    }
    struct Drive {
        const char* name;
        std::function<emu::DriveIdentity()> identity;
        const char* medium;
        const char* message;
    };
    const Drive drives[] = {
        {"not Nu/QSI", [] { return *emu::FindDrivePreset("dvd-writer"); }, "dvd-rw",
         "This function is only supported by Nu/QSI manufactured burners"},
        {"NEC (its own F3h session)", [] { return *emu::FindDrivePreset("nec"); }, "dvd-rw",
         "This function is only supported by Nu/QSI manufactured burners"},
        {"Pioneer",
         [] {
             emu::DriveIdentity pioneer = *emu::FindDrivePreset("nu");
             pioneer.vendor = "PIONEER";
             pioneer.product = "DVD-RW  DVR-K16";
             return pioneer;
         },
         "dvd-rw", "This function is only supported by Nu/QSI manufactured burners"},
        {"empty", [] { return *emu::FindDrivePreset("nu"); }, "none", "No media present in the drive"},
    };
    for (const Drive& d : drives) {
        SCOPED_TRACE(d.name);
        EraseRig rig(d.identity(), d.medium);
        DcEraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
        EXPECT_FALSE(control.InitDialog());
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text, d.message);
    }
}

TEST(DcErase, AMountedDiscIsRefusedBeforeAnythingIsErased)
{
    EraseRig rig("nu", "cd-rw");
    std::thread::id probing;
    DcEraseControl control(rig.context, rig.sink, &rig.prompt, [&](const std::string& node) {
        probing = std::this_thread::get_id();
        DeviceUse use;
        use.mounts = {node + " on /media/cdrom"};
        return use;
    });
    ASSERT_TRUE(control.InitDialog());
    rig.drive->ClearJournal();
    EXPECT_TRUE(control.OnQuickErase());
    control.Join();
    EXPECT_TRUE(EndedByItsChecks(rig.sink.Result()));
    EXPECT_NE(probing, std::this_thread::get_id()) << "the mounts were read on the window's thread";
    EXPECT_TRUE(DcCommands(rig).empty());
    EXPECT_TRUE(rig.CdbsOf(0x1E).empty());
    EXPECT_NE(rig.sink.Statuses().back().find("emu0 is mounted"), std::string::npos);
}

// Stop is there while the checks run on the worker: asked then, nothing is
// confirmed or sent, and the disc stays in.
TEST(DcErase, AStopDuringTheChecksEndsBeforeTheConfirmation)
{
    EraseRig rig("nu", "dvd-rw");
    DcEraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
    ASSERT_TRUE(control.InitDialog());
    rig.prompt.Answer(IDYES);  // data on the disc
    rig.prompt.Answer(IDYES);  // the confirmation, were it asked
    rig.prompt.onAsk = [&](const ScriptedPrompt::Asked&) { control.OnStop(); };
    rig.drive->ClearJournal();
    EXPECT_TRUE(control.OnQuickErase());
    control.Join();
    ASSERT_TRUE(rig.sink.Result());
    EXPECT_EQ(rig.sink.Result()->end, EraseEnd::NotStarted);
    EXPECT_EQ(rig.sink.Result()->status, "Stopped");
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].caption, "ARE YOU SURE?");
    EXPECT_TRUE(DcCommands(rig).empty());
    EXPECT_FALSE(rig.drive->TrayOpen());
    EXPECT_FALSE(rig.context.coordinator.InUse());
}

}  // namespace
