#include "core/app/MainDialogCore.h"
#include "core/app/MainPages.h"
#include "core/drive/CommandBlock.h"
#include "emu/MediaPresets.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The main window's core over one emulated drive, its waits on the virtual clock.
struct CoreRig : EmulatedDriveRig {
    CoreRig(const char* drivePreset, const char* mediumPreset) :
        EmulatedDriveRig(drivePreset, mediumPreset), core(Sources())
    {
        MakeCurrent(core.m_Drives);
        core.m_Report.SetListener([this](ReportChange change) {
            if (change == ReportChange::Status)
                statuses.push_back(core.m_Report.GetStatusText());
        });
    }
    int Send(std::vector<std::uint8_t> cdb, DataDirection direction = DataDirection::In, std::uint32_t length = 0)
    {
        CommandBlock block(cdb[0], cdb.size());
        for (std::size_t i = 1; i < cdb.size(); ++i)
            block.Set(i, cdb[i]);
        buffer.assign(length, 0);
        return block.Execute(core.m_Drives.m_ScsiCommand, direction, length ? buffer.data() : nullptr, length);
    }

    ScopedProgramLog log;
    ScriptedPrompt prompt;
    MainDialogCore core;
    std::vector<std::string> statuses;
    std::vector<std::uint8_t> buffer;
};

// Waits for the drive as an erase does: up to four hours, the long
// operation's progress on the status line every 250 ms.
int PollShowingProgress(CoreRig& rig)
{
    MmcCommands& mmc = rig.core.m_Drives.mmc;
    return mmc.PollUntilReady(4 * 60 * 60, 250, [&] {
        rig.core.m_Report.ShowProgressStatus(mmc.GetProgress(), "  Erasing Disc please wait... ", 65536);
    });
}

}  // namespace

TEST(SenseReport, CommonRefusalsEndWithAStatusOthersWithAMessage)
{
    struct Case {
        const char* name;
        const char* medium;
        std::vector<std::uint8_t> cdb;
        std::function<void(emu::EmulatedDrive&)> prepare;
        const char* status;
        std::string message;
    };
    const auto nothing = [](emu::EmulatedDrive&) {};
    const Case cases[] = {
        {"READ(10) without a disc",
         "none",
         {0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0},
         nothing,
         "Error - No DVD media in drive",
         ""},
        {"READ(10) with the tray open",
         "dvd+r",
         {0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0},
         [](emu::EmulatedDrive& d) { d.EjectMedium(); },
         "Error - No DVD media in drive",
         ""},
        {"the disc was changed",
         "dvd+r",
         {0x00, 0, 0, 0, 0, 0},
         [](emu::EmulatedDrive& d) {
             d.AddErrorRule(emu::ErrorRule::CheckCondition(0x00, emu::sense::kMediumChanged));
         },
         "Error - No DVD media in drive",
         ""},
        {"an unsupported vendor command",
         "dvd+r",
         {0xE7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         nothing,
         "Command not supported by drive",
         ""},
        {"an invalid field",
         "dvd+r",
         {0x46, 0x03, 0, 0, 0, 0, 0, 0, 8, 0},
         nothing,
         "Sense error occurred",
         "Command 046h returned:          \r\n"
         "Sense 05h        Illegal Request\r\n"
         "ASC   24h                       \r\n"
         "ASCQ  00h   Invalid field in CDB"},
        {"a pair without a text",
         "dvd+r",
         {0x00, 0, 0, 0, 0, 0},
         [](emu::EmulatedDrive& d) {
             d.AddErrorRule(emu::ErrorRule::CheckCondition(0x00, emu::Sense{0x04, 0x44, 0x00}));
         },
         "Sense error occurred",
         "Command 000h returned:          \r\n"
         "Sense 04h         Hardware Error\r\n"
         "ASC   44h                       \r\n"
         "ASCQ  00h                       "},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        CoreRig rig("dvd-writer", test.medium);
        test.prepare(*rig.drive);
        rig.core.m_Report.m_bHexView = 1;
        rig.core.m_Report.SetLine(5, "an old report");
        ASSERT_EQ(rig.Send(test.cdb, DataDirection::In, test.cdb[0] == 0x46 ? 8 : 0), 1);
        rig.core.ReportSenseError(test.cdb[0]);

        EXPECT_EQ(rig.core.m_Report.GetStatusText(), test.status);
        EXPECT_EQ(rig.statuses.front(), "Sense error occurred");
        EXPECT_EQ(rig.core.m_Report.m_bHexView, 0);
        EXPECT_EQ(rig.core.m_Report.GetLine(5), std::string(73, ' '));  // the report was cleared
        EXPECT_EQ(rig.core.m_Report.GetDisplayText(), "");  // line 0 waits for the next refresh
        if (test.message.empty()) {
            EXPECT_TRUE(rig.prompt.asked.empty());
            continue;
        }
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text, test.message);
        EXPECT_EQ(rig.prompt.asked[0].caption, "");
        EXPECT_EQ(rig.core.m_Report.GetLine(0), test.message);
    }

    CoreRig logged("dvd-writer", "dvd+r");
    logged.Send({0x46, 0x03, 0, 0, 0, 0, 0, 0, 8, 0}, DataDirection::In, 8);
    logged.core.ReportSenseError(0x46);
    const std::string text = logged.log.Text();
    EXPECT_NE(text.find("Sense Error - COMMAND 70\n"), std::string::npos);
    EXPECT_NE(text.find("Sense Error - SENSE 5 ASC 36 ASCQ 0\n"), std::string::npos);
}

TEST(SenseReport, ACommandThatNeverReachedTheDriveIsNotDecodedAsSense)
{
    CoreRig rig("dvd-writer", "dvd+r");
    rig.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, 0xFD, 0xFD));
    ASSERT_EQ(rig.Send({0xFD, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 1);
    rig.core.ReportSenseError(0xFD);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text.rfind("Command 0fdh could not be sent:\r\n", 0), 0u);
    EXPECT_NE(rig.prompt.asked[0].text.find(kKernelRefusedReason), std::string::npos);
    EXPECT_EQ(rig.prompt.asked[0].text.find("No Sense"), std::string::npos);
    EXPECT_EQ(rig.core.m_Report.GetStatusText(), "Drive command failed");
}

TEST(PollUntilReady, WaitsOnTheVirtualClockUntilTheDriveIsReady)
{
    CoreRig loading("dvd-writer", "none");
    ASSERT_TRUE(loading.drive->LoadMedium(*emu::FindMediumPreset("dvd+r")));
    EXPECT_EQ(loading.core.m_Drives.mmc.PollUntilReady(), 0);
    EXPECT_GE(loading.waitClock->SleptMs(), loading.drive->Identity().spinUpMs);
    EXPECT_LT(loading.waitClock->SleptMs(), loading.drive->Identity().spinUpMs + 500);
    EXPECT_TRUE(loading.statuses.empty());  // no progress without the flag

    CoreRig ready("dvd-writer", "dvd+r");
    EXPECT_EQ(PollShowingProgress(ready), 0);
    EXPECT_EQ(ready.Cdbs(), (std::vector<std::vector<std::uint8_t>>{{0x00, 0, 0, 0, 0, 0}}));

    // Bounded: a drive that never becomes ready, and an empty one, end the wait.
    CoreRig stuck("dvd-writer", "dvd+r");
    stuck.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x00, emu::sense::kNotReadyBecomingReady));
    EXPECT_EQ(stuck.core.m_Drives.mmc.PollUntilReady(30), 1);
    EXPECT_EQ(stuck.waitClock->SleptMs(), 30000u);
    CoreRig empty("dvd-writer", "none");
    EXPECT_EQ(empty.core.m_Drives.mmc.PollUntilReady(), 1);
    EXPECT_EQ(empty.waitClock->SleptMs(), 0u);
}

TEST(PollUntilReady, ShowsTheProgressOfAFormatUntilItEnds)
{
    CoreRig rig("bd-writer", "bd-re");
    emu::MediumDescription disc = *emu::FindMediumPreset("bd-re");
    disc.formatted = false;
    ASSERT_TRUE(rig.drive->InsertMedium(disc));
    std::vector<std::uint8_t> parameters = {0x00, 0x02, 0x00, 0x08, 0x00, 0xB4, 0x74, 0x00, 0x00, 0x00, 0x00, 0x00};
    CommandBlock formatUnit(mmc::kFormatUnit);
    formatUnit.Set(1, 0x11);
    ASSERT_EQ(formatUnit.Execute(rig.core.m_Drives.m_ScsiCommand, DataDirection::Out, parameters.data(), 12), 0);

    EXPECT_EQ(PollShowingProgress(rig), 0);
    const std::uint32_t duration = rig.drive->Identity().formatMs;
    EXPECT_EQ(rig.waitClock->SleptMs(), duration);
    ASSERT_EQ(rig.statuses.size(), duration / 250);
    EXPECT_EQ(rig.statuses.front(), "     Amount completed    1%");
    EXPECT_EQ(rig.statuses[rig.statuses.size() / 2], "     Amount completed   51%");
    EXPECT_EQ(rig.statuses.back(), "     Amount completed  100%");
    std::uint8_t capacities[12] = {};
    ASSERT_EQ(
        CommandBlock(0x23).SetBe16(7, 12).Execute(rig.core.m_Drives.m_ScsiCommand, DataDirection::In, capacities, 12),
        0);
    EXPECT_EQ(capacities[8], 0x02);  // formatted
}

TEST(ClipboardText, PlainLinesEndedByLineFeedsAndTheMediaCodeWithoutItsOffsets)
{
    CoreRig rig("dvd-writer", "dvd+r");
    const std::string line = "00000010 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 ABCDEFGHIJKLMNOP";
    rig.core.m_Report.SetLine(0, line);
    EXPECT_EQ(rig.core.ClipboardText(kPageMediaCode), line.substr(9) + "\n");
    // The display's padding stays behind; empty lines between stay.
    rig.core.m_Report.SetLine(2, std::string(17, ' ') + "MD5 Hash Value" + std::string(42, ' '));
    rig.core.m_Report.SetLine(3, std::string(73, ' '));
    EXPECT_EQ(rig.core.ClipboardText(kPageInfoDisplay), line + "\n\n" + std::string(17, ' ') + "MD5 Hash Value\n");
}
