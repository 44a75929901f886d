#include "EraseRig.h"

#include "core/drive/MediaType.h"
#include "core/tools/erase/EraseControl.h"
#include "core/tools/erase/EraseMedia.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "scsi/Profiles.h"
#include "scsi/Bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

namespace {

using namespace erasing;

// Runs "&Go" of the erase dialog's logic to its end on the kind of the
// loaded disc, after `choose` set the check boxes; every question answered yes.
struct GoRun {
    bool started = false;
    EraseResult result;
};

GoRun RunGo(EraseRig& rig, const std::function<void(EraseControl&)>& choose,
            const std::function<void(emu::EmulatedDrive&)>& inject = {})
{
    EraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
    control.SetMediaKind(EraseKindFor(rig.context.media.GetMediaType()));
    control.InitDialog();
    if (choose)
        choose(control);
    if (inject)
        inject(*rig.drive);
    for (int answer = 0; answer < 3; ++answer)
        rig.prompt.Answer(IDYES);
    rig.drive->ClearJournal();
    GoRun run;
    run.started = control.Go();
    control.Join();
    if (run.started) {
        EXPECT_TRUE(rig.sink.Result().has_value());
        run.result = rig.sink.Result().value_or(EraseResult{});
    }
    return run;
}

// "&Go" whose checks ended it: the worker took the drive and ended before anything was written.
EraseEnd GoEndedByItsChecks(EraseControl& control, EraseRig& rig)
{
    EXPECT_TRUE(control.Go());
    control.Join();
    EXPECT_TRUE(rig.sink.Result());
    return rig.sink.Result().value_or(EraseResult{EraseEnd::Completed, {}}).end;
}

// Adds the rule once a command with the opcode went out (seen at the run's next status).
void AddRuleAfter(EraseRig& rig, std::uint8_t opcode, const emu::ErrorRule& rule)
{
    auto armed = std::make_shared<bool>(false);
    rig.sink.onStatus = [&rig, opcode, rule, armed](const std::string&) {
        if (!*armed && !rig.CdbsOf(opcode).empty()) {
            *armed = true;
            rig.drive->AddErrorRule(rule);
        }
    };
}

void FullFormat(EraseControl& control)
{
    control.OnFullFormat();
}

void FastFormat(EraseControl& control)
{
    control.OnFastFormat();
}

void Restart(EraseControl& control)
{
    control.OnFullFormat();
    control.State().checks.restart = 1;  // the click checks the box, then its handler runs
    control.OnRestart();
}

void FullBlank(EraseControl& control)
{
    control.OnEraseOption();
    control.State().checks.quick = 0;
}

struct Case {
    const char* golden;
    const char* drive;
    const char* medium;
    void (*choose)(EraseControl&);
    const char* status;
    std::function<void(const emu::EmulatedDrive&)> check;
};

TEST(EraseFormat, EachMediumAndOptionSendsItsSequenceAndLeavesTheDiscAsItSays)
{
    using emu::DiscStatus;
    const auto blankDisc = [](bool zeros) {
        return [zeros](const emu::EmulatedDrive& drive) {
            const emu::MediumDescription disc = *drive.CurrentMedium();
            EXPECT_EQ(disc.status, DiscStatus::Blank);
            EXPECT_EQ(disc.capacityBlocks, 0u);
            EXPECT_EQ(drive.ReadsAsZeros(0, 32), zeros);
        };
    };
    const auto restrictedOverwrite = [](const emu::EmulatedDrive& drive) {
        EXPECT_EQ(drive.CurrentMedium()->profile, profile::kDvdRwRestricted);
        EXPECT_TRUE(drive.CurrentMedium()->formatted);
        EXPECT_TRUE(drive.ReadsAsZeros(0, 32));
    };
    const auto plusRw = [](bool stopped) {
        return [stopped](const emu::EmulatedDrive& drive) {
            EXPECT_TRUE(drive.CurrentMedium()->formatted);
            EXPECT_EQ(drive.CurrentMedium()->formatStopped, stopped);
        };
    };
    const auto fileSystemArea = [](std::uint32_t blocks) {
        return [blocks](const emu::EmulatedDrive& drive) {
            EXPECT_TRUE(drive.ReadsAsZeros(0, blocks));
            EXPECT_FALSE(drive.ReadsAsZeros(blocks, 1));  // the rest of the disc as it was
        };
    };
    const Case cases[] = {
        {"dvd+rw-full-format", "dvd-writer", "dvd+rw-blank", FullFormat, "Background format completed.    ",
         plusRw(false)},
        {"dvd+rw-fast-format", "dvd-writer", "dvd+rw-blank", nullptr, "Format disc completed no error", plusRw(true)},
        {"dvd+rw-restart", "dvd-writer", "dvd+rw-partial", Restart, "Background format completed.    ", plusRw(false)},
        {"dvd-rw-full-format", "dvd-writer", "dvd-rw", FullFormat, "Format disc completed no error",
         restrictedOverwrite},
        {"dvd-rw-quick-format", "dvd-writer", "dvd-rw", FastFormat, "Format disc completed no error",
         restrictedOverwrite},
        {"dvd-rw-full-blank", "dvd-writer", "dvd-rw-restricted", FullBlank, "Erase disc completed no error",
         blankDisc(true)},
        {"dvd-rw-quick-blank", "dvd-writer", "dvd-rw", nullptr, "Erase disc completed no error", blankDisc(false)},
        {"cd-rw-full-blank", "dvd-writer", "cd-rw", FullBlank, "Erase disc completed no error", blankDisc(true)},
        {"cd-rw-quick-blank", "dvd-writer", "cd-rw", nullptr, "Erase disc completed no error", blankDisc(false)},
        {"bd-re-quick-erase", "bd-writer", "bd-re", nullptr,
         "Quick erase completed: only the file-system area (first 6.5 MB) was cleared, not the whole disc",
         fileSystemArea(3200)},
        {"dvd-ram-erase", "dvd-writer", "dvd-ram", nullptr,
         "Erase completed: only the file-system area (first 1.1 MB) was cleared, not the whole disc",
         fileSystemArea(544)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        EraseRig rig(c.drive, c.medium);
        const GoRun run = RunGo(rig, c.choose);
        ASSERT_TRUE(run.started) << (rig.sink.Statuses().empty() ? "" : rig.sink.Statuses().back());
        EXPECT_EQ(run.result.end, EraseEnd::Completed);
        EXPECT_EQ(run.result.status, c.status);
        EXPECT_EQ(rig.sink.Progress().back(), 100);
        ExpectGoldenTrace(c.golden, rig.Trace());
        c.check(*rig.drive);
        EXPECT_FALSE(rig.drive->RemovalPrevented());
        EXPECT_TRUE(rig.drive->TrayOpen());  // "Eject Disc" is on by default
    }
}

TEST(EraseFormat, TheBdQuickEraseWritesExactlyTheFileSystemAreaAndSendsNoClose)
{
    EraseRig rig("bd-writer", "bd-re");
    const GoRun run = RunGo(rig, nullptr);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.result.end, EraseEnd::Completed);
    const auto writes = rig.CdbsOf(0x2A);
    ASSERT_EQ(writes.size(), 100u);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(scsi::GetBe32(&writes[i][2]), i * 32);
        EXPECT_EQ(writes[i][8], 0x20);
    }
    const auto trace = rig.Trace();
    EXPECT_EQ(trace.back().substr(0, 2), "1B");  // ejected
    EXPECT_TRUE(rig.CdbsOf(0x5B).empty());  // BD drives refuse CLOSE TRACK/SESSION on BD-RE
    EXPECT_TRUE(rig.drive->TrayOpen());
    // The confirmation said so before anything was written.
    ASSERT_FALSE(rig.prompt.asked.empty());
    EXPECT_NE(rig.prompt.asked.back().text.find("file-system area"), std::string::npos);
    EXPECT_NE(rig.prompt.asked.back().text.find("not overwritten"), std::string::npos);
}

TEST(EraseFormat, AFailureAtTheEndOfEachKindIsReportedAsAFailureWithItsSense)
{
    using emu::ErrorRule;
    struct Failure {
        const char* name;
        const char* drive;
        const char* medium;
        void (*choose)(EraseControl&);
        std::function<void(emu::EmulatedDrive&)> inject;
        const char* says;
    };
    const Failure failures[] = {
        {"DVD+RW foreground", "dvd-writer", "dvd+rw-blank", nullptr,
         [](emu::EmulatedDrive& d) { d.FailNextLongOperation(emu::sense::kFormatCorrupted); },
         "Unable to FORMAT UNIT - TEST UNIT READY (00h) failed: Medium Error"},
        {"DVD+RW close", "dvd-writer", "dvd+rw-blank", nullptr,
         [](emu::EmulatedDrive& d) { d.AddErrorRule(ErrorRule::CheckCondition(0x5B, emu::sense::kWriteError)); },
         "Error closing session - CLOSE TRACK/SESSION (5Bh) failed"},
        {"DVD-RW format", "dvd-writer", "dvd-rw", FullFormat,
         [](emu::EmulatedDrive& d) { d.AddErrorRule(ErrorRule::CheckCondition(0x04, emu::sense::kFormatCorrupted)); },
         "Unable to FORMAT UNIT - FORMAT UNIT (04h) failed"},
        {"CD-RW blank", "dvd-writer", "cd-rw", FullBlank,
         [](emu::EmulatedDrive& d) { d.FailNextLongOperation(emu::sense::kWriteError); },
         "Error trying to erase media - TEST UNIT READY (00h) failed"},
        {"BD-RE last write", "bd-writer", "bd-re", nullptr,
         [](emu::EmulatedDrive& d) {
             d.AddErrorRule({ErrorRule::Kind::Sense, 0x2A, 0x2A, 3190, 1, emu::sense::kWriteError, -1});
         },
         "Error trying to erase media - WRITE(10) (2Ah) failed"},
        {"BD-RE end", "bd-writer", "bd-re", nullptr,
         [](emu::EmulatedDrive& d) { d.AddErrorRule(ErrorRule::CheckCondition(0x1B, emu::sense::kWriteError, 1)); },
         "The drive did not finish - START STOP UNIT (1Bh) failed"},
        {"DVD-RAM rezero", "dvd-writer", "dvd-ram", nullptr,
         [](emu::EmulatedDrive& d) { d.AddErrorRule(ErrorRule::CheckCondition(0x01, emu::sense::kWriteError)); },
         "Error trying to erase media - REZERO UNIT (01h) failed"},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        EraseRig rig(f.drive, f.medium);
        const GoRun run = RunGo(rig, f.choose, f.inject);
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.result.end, EraseEnd::Failed);
        EXPECT_EQ(run.result.status.rfind(f.says, 0), 0u) << run.result.status;
        EXPECT_EQ(run.result.status.find("completed"), std::string::npos);
        EXPECT_FALSE(rig.drive->RemovalPrevented());
        EXPECT_FALSE(rig.drive->TrayOpen());  // a failed disc is not ejected
    }
    // A drive that no longer knows REZERO UNIT has still erased.
    EraseRig old("dvd-writer", "dvd-ram");
    const GoRun run = RunGo(old, nullptr, [](emu::EmulatedDrive& d) {
        d.AddErrorRule(emu::ErrorRule::CheckCondition(0x01, emu::sense::kInvalidOpcode));
    });
    EXPECT_EQ(run.result.end, EraseEnd::Completed);
}

TEST(EraseFormat, TheConfirmationNamesTheDriveAndDiscAndNothingIsWrittenWithoutAYes)
{
    EraseRig rig("dvd-writer", "dvd-ram");
    EraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
    control.SetMediaKind(kKindDvdRam);
    control.InitDialog();
    rig.prompt.Answer(IDNO);
    rig.drive->ClearJournal();
    const std::thread::id window = std::this_thread::get_id();
    std::thread::id asking;
    rig.prompt.onAsk = [&](const ScriptedPrompt::Asked&) { asking = std::this_thread::get_id(); };
    EXPECT_EQ(GoEndedByItsChecks(control, rig), EraseEnd::NotStarted);
    EXPECT_NE(asking, window) << "the checks ran on the window's thread";
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    const std::string& question = rig.prompt.asked[0].text;
    for (const char* part : {"Device: emu0", "Drive: QNZEMU DVD-RW QDW-2040S", "Medium: DVD-RAM", "file system"})
        EXPECT_NE(question.find(part), std::string::npos) << part << "\n" << question;
    EXPECT_TRUE(rig.CdbsOf(0x2A).empty());
    EXPECT_TRUE(rig.CdbsOf(0x1E).empty());
    EXPECT_FALSE(rig.context.coordinator.InUse());  // the channel given back
}

TEST(EraseFormat, AMountedDiscIsRefusedBeforeAnythingIsWritten)
{
    EraseRig rig("dvd-writer", "cd-rw");
    std::thread::id probing;
    EraseControl control(rig.context, rig.sink, &rig.prompt, [&](const std::string& node) {
        probing = std::this_thread::get_id();
        DeviceUse use;
        use.mounts = {node + " on /media/disc"};
        return use;
    });
    control.SetMediaKind(kKindCdRw);
    control.InitDialog();
    rig.prompt.Answer(IDYES);
    rig.drive->ClearJournal();
    EXPECT_EQ(GoEndedByItsChecks(control, rig), EraseEnd::NotStarted);
    EXPECT_NE(probing, std::this_thread::get_id()) << "the mounts were read on the window's thread";
    EXPECT_NE(rig.sink.Statuses().back().find("emu0 is mounted (emu0 on /media/disc)"), std::string::npos);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);  // the refusal shown, no question asked
    EXPECT_EQ(rig.prompt.asked[0].type & MB_BUTTON_MASK, unsigned{MB_OK});
    EXPECT_TRUE(rig.Cdbs().empty());  // nothing sent at all
    EXPECT_FALSE(rig.context.coordinator.InUse());
}

TEST(EraseFormat, AWaitWhoseProgressStandsStillFailsAfterTheDiscsLongestTime)
{
    EraseRig rig("dvd-writer", "cd-rw");
    const GoRun run = RunGo(rig, FullBlank, [&](emu::EmulatedDrive&) {  // busy for ever, telling no progress
        AddRuleAfter(rig, 0xA1, emu::ErrorRule::CheckCondition(0x00, emu::sense::kLongOperationInProgress));
    });
    EXPECT_EQ(run.result.end, EraseEnd::Failed);
    EXPECT_NE(run.result.status.find("made no progress for 90 minutes"), std::string::npos) << run.result.status;
    EXPECT_GE(rig.waitClock->SleptMs(), LongestOperationMs(kKindCdRw));
    EXPECT_LT(rig.waitClock->SleptMs(), 2 * LongestOperationMs(kKindCdRw));
    EXPECT_FALSE(rig.drive->RemovalPrevented());
}

TEST(EraseFormat, StopEndsTheRunAtItsNextCheckAndGivesTheTrayBack)
{
    EraseRig rig("bd-writer", "bd-re");
    EraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
    control.SetMediaKind(kKindBdRe);
    control.InitDialog();
    rig.sink.onStatus = [&](const std::string& status) {
        if (status == "Erasing Media")
            control.Stop();
    };
    rig.prompt.Answer(IDYES);
    rig.prompt.Answer(IDYES);
    rig.drive->ClearJournal();
    ASSERT_TRUE(control.Go());
    control.Join();
    ASSERT_TRUE(rig.sink.Result());
    EXPECT_EQ(rig.sink.Result()->end, EraseEnd::Stopped);
    EXPECT_LT(rig.CdbsOf(0x2A).size(), 100u);
    EXPECT_TRUE(rig.CdbsOf(0x5B).empty());
    EXPECT_FALSE(rig.drive->RemovalPrevented());
    EXPECT_FALSE(rig.context.coordinator.InUse());
}

TEST(EraseFormat, TheChecksRefuseTheWrongDiscWithTheirTexts)
{
    struct Refusal {
        const char* drive;
        const char* medium;
        int kind;
        void (*choose)(EraseControl&);
        const char* status;
    };
    const Refusal refusals[] = {
        {"dvd-writer", "dvd-rw", kKindDvdPlusRw, nullptr, "Error - Media is not DVD+RW"},
        {"dvd-writer", "dvd+r", kKindDvdMinusRw, nullptr, "Media is not DVD -/+ RW"},
        {"dvd-writer", "dvd-r", kKindDvdMinusRw, FullFormat, "Media is not DVD-RW"},
        {"dvd-writer", "cd-rw", kKindCdRw, FastFormat, "Error locating descriptor"},  // no quick format on CD-RW
        {"dvd-writer", "dvd+rw", kKindBdRe, nullptr, "Error - Media is not BD-RE/W"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.status);
        EraseRig rig(r.drive, r.medium);
        EraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
        control.SetMediaKind(r.kind);
        control.InitDialog();
        if (r.choose)
            r.choose(control);
        EXPECT_EQ(GoEndedByItsChecks(control, rig), EraseEnd::NotStarted);
        ASSERT_FALSE(rig.sink.Statuses().empty());
        EXPECT_EQ(rig.sink.Statuses().back(), r.status);
        EXPECT_TRUE(rig.prompt.asked.empty());
    }
}

TEST(EraseFormat, BlankOnADvdPlusRwFormatsItClosingAfterTheForegroundWhenQuick)
{
    EraseRig rig("dvd-writer", "dvd+rw-blank");
    EraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
    control.SetMediaKind(kKindDvdMinusRw);  // as if taken for a DVD-RW
    control.InitDialog();
    rig.prompt.Answer(IDYES);
    ASSERT_TRUE(control.Go());
    control.Join();
    const auto formats = rig.CdbsOf(0x04);
    ASSERT_EQ(formats.size(), 1u);
    // Quick was on: the background format stopped, then the session closed for DVD-ROM players.
    const auto closes = rig.CdbsOf(0x5B);
    ASSERT_EQ(closes.size(), 2u);
    EXPECT_EQ(closes[0], (std::vector<std::uint8_t>{0x5B, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(closes[1], (std::vector<std::uint8_t>{0x5B, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(rig.CdbsOf(0xA1).empty());
}

TEST(EraseFormat, TheWaitsGoOnThroughEveryNotReadyButAMissingDisc)
{
    struct Wait {
        const char* name;
        emu::Sense answer;  // of the first TEST UNIT READYs after the blank
        int times;
        EraseEnd end;
        const char* says;
    };
    const Wait cases[] = {
        {"cause not reportable", {0x02, 0x04, 0x00}, 5, EraseEnd::Completed, "Erase disc completed no error"},
        {"long write in progress", {0x02, 0x04, 0x08}, 5, EraseEnd::Completed, "Erase disc completed no error"},
        {"manual intervention", {0x02, 0x04, 0x03}, 5, EraseEnd::Completed, "Erase disc completed no error"},
        {"unit attention", {0x06, 0x29, 0x00}, 1, EraseEnd::Completed, "Erase disc completed no error"},
        {"disc removed", {0x02, 0x3A, 0x00}, 1, EraseEnd::Failed, "Error trying to erase media - TEST UNIT READY"},
        {"hardware error", {0x04, 0x44, 0x00}, 1, EraseEnd::Failed, "Error trying to erase media - TEST UNIT READY"},
    };
    for (const Wait& c : cases) {
        SCOPED_TRACE(c.name);
        EraseRig rig("dvd-writer", "cd-rw");
        AddRuleAfter(rig, 0xA1, emu::ErrorRule::CheckCondition(0x00, c.answer, c.times));
        const GoRun run = RunGo(rig, FullBlank);
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.result.end, c.end);
        EXPECT_EQ(run.result.status.rfind(c.says, 0), 0u) << run.result.status;
    }
}

TEST(EraseFormat, SuccessIsToldOnceADriveThatAnswersReadyWhileClosingHasEnded)
{
    emu::DriveIdentity identity = *emu::FindDrivePreset("dvd-writer");
    identity.readyWhileClosing = true;
    EraseRig rig(identity, "dvd+rw-blank");
    const GoRun run = RunGo(rig, FastFormat);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.result.end, EraseEnd::Completed);
    EXPECT_EQ(run.result.status, "Format disc completed no error");
    // START STOP UNIT (stop) asked again while each close ran (a drive that reports its closes is asked
    // once after each and once at the end); then the eject went through.
    const auto startStops = rig.CdbsOf(0x1B);
    ASSERT_FALSE(startStops.empty());
    EXPECT_EQ(startStops.back(), (std::vector<std::uint8_t>{0x1B, 0x01, 0, 0, 0x02, 0}));
    const std::vector<std::uint8_t> stopUnit = {0x1B, 0x01, 0, 0, 0x00, 0};
    EXPECT_GT(std::count(startStops.begin(), startStops.end(), stopUnit), 3);
    EXPECT_TRUE(rig.drive->TrayOpen());
    EXPECT_FALSE(rig.drive->RemovalPrevented());
}

TEST(EraseFormat, ADiscSwappedWhileTheTrayWasOpenIsTheOneCheckedAndNamed)
{
    struct Swap {
        const char* dialogMedium;  // the disc the window was opened for
        const char* swapped;  // the disc on the open tray when Go is pressed
        const char* refusal;  // empty: the question names the swapped disc
        const char* medium;
    };
    const Swap cases[] = {
        {"cd-rw", "dvd-rw", "", "Medium: DVD-RW"},
        {"dvd-ram", "dvd-rw-restricted", "The disc in the drive (DVD-RW) is not the one this window was opened for",
         nullptr},
        {"cd-rw", "dvd-rom", "The disc in the drive (DVD-ROM) cannot be erased or formatted", nullptr},
        {"cd-rw", "none", "No media present in drive", nullptr},
    };
    for (const Swap& c : cases) {
        SCOPED_TRACE(std::string(c.dialogMedium) + " -> " + c.swapped);
        EraseRig rig("dvd-writer", c.dialogMedium);
        EraseControl control(rig.context, rig.sink, &rig.prompt, EraseRig::Free);
        control.SetMediaKind(EraseKindFor(rig.context.media.GetMediaType()));
        control.InitDialog();
        if (const auto disc = emu::FindMediumPreset(c.swapped))
            ASSERT_TRUE(rig.drive->LoadMedium(*disc));
        else
            rig.drive->RemoveMedium();
        ASSERT_TRUE(rig.drive->EjectMedium());
        rig.prompt.Answer(IDNO);
        rig.drive->ClearJournal();
        EXPECT_EQ(GoEndedByItsChecks(control, rig), EraseEnd::NotStarted);
        EXPECT_FALSE(rig.drive->TrayOpen());  // Go closed it before reading the disc
        if (*c.refusal) {
            ASSERT_FALSE(rig.sink.Statuses().empty());
            EXPECT_EQ(rig.sink.Statuses().back().rfind(c.refusal, 0), 0u) << rig.sink.Statuses().back();
            EXPECT_TRUE(rig.prompt.asked.empty());
        } else {
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            EXPECT_NE(rig.prompt.asked[0].text.find(c.medium), std::string::npos) << rig.prompt.asked[0].text;
        }
        EXPECT_TRUE(rig.CdbsOf(0x2A).empty());
        EXPECT_TRUE(rig.CdbsOf(0xA1).empty());
    }
}

TEST(EraseMedia, KindsByMediaType)
{
    struct Kinds {
        int mediaType;
        int erase;
        int dcErase;
    };
    const Kinds cases[] = {
        {kMediaDvdMinusRw, 0, 0}, {kMediaDvdRam, 2, 2},    {kMediaBdRe, 5, 1}, {kMediaBdRRandom, 5, 1},
        {kMediaCdRw, 4, 4},       {kMediaDvdPlusRw, 1, 1}, {kMediaCd, 1, 1},   {0, 1, 1}};
    for (const Kinds& c : cases) {
        EXPECT_EQ(EraseKindFor(c.mediaType), c.erase) << c.mediaType;
        EXPECT_EQ(DcEraseKindFor(c.mediaType), c.dcErase) << c.mediaType;
    }
}

}  // namespace
