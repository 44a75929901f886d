#include "HashTestSupport.h"
#include "support/HashToolSupport.h"
#include "core/base/Format.h"
#include "core/app/MainDialogCore.h"
#include "core/tools/hash/MediaHash.h"
#include "emu/MediaPresets.h"
#include "platform/text/Trim.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

constexpr HashChoice kAllDigests{true, true};
constexpr std::size_t kBlock = 2048;

// The main window's core on one emulated drive, and a disc made of an image.
struct MediaHashRig : EmulatedDriveRig {
    explicit MediaHashRig(const char* medium = "dvd-rom", const char* drivePreset = "dvd-writer") :
        EmulatedDriveRig(drivePreset, medium), core(Sources())
    {
        MakeCurrent(core.m_Drives);
    }

    // A DVD-ROM of blocks of random bytes, block 16 an ISO 9660 volume
    // descriptor naming its application.
    void InsertImage(std::size_t blocks)
    {
        std::string bytes = PatternBytes(blocks * kBlock, 11);
        const std::string descriptor = std::string("\x01") + "CD001";
        bytes.replace(16 * kBlock, descriptor.size(), descriptor);
        bytes.replace(16 * kBlock + 574, 128, Format("%-128s", "  QUENZARIO TEST DISC"));
        image = dir.File("disc.iso");
        WriteFileText(image, bytes);
        auto disc = *emu::FindMediumPreset("dvd-rom");
        disc.imagePath = image;
        std::string error;
        ASSERT_TRUE(drive->InsertMedium(disc, &error)) << error;
    }

    HashOutcome Hash(
        std::int64_t start, std::int64_t end, HashChoice choice = kAllDigests,
        std::function<bool()> keepRunning = [] { return true; })
    {
        drive->ClearJournal();
        return MediaHash(core.m_Drives, core.m_Report, events, choice).HashMedia(start, end, keepRunning);
    }

    // What dd cuts from the image, through the coreutils tools.
    SixDigests DdDigests(std::int64_t start, std::int64_t count)
    {
        const std::string slice = dir.File("slice");
        const std::string command = Format("dd if='%s' of='%s' bs=2048 skip=%lld count=%lld status=none", image.c_str(),
                                           slice.c_str(), static_cast<long long>(start), static_cast<long long>(count));
        EXPECT_EQ(std::system(command.c_str()), 0);
        return CoreutilsDigests(slice);
    }

    std::vector<int> ReadCounts() const
    {
        std::vector<int> counts;
        for (const auto& cdb : CdbsOf(0x28))
            counts.push_back(cdb[7] << 8 | cdb[8]);
        return counts;
    }

    std::string Line(int index) { return WithoutTrailingBlanks(core.m_Report.GetLine(index)); }

    ScopedProgramLog log;
    ScriptedPrompt prompt;
    MainDialogCore core;
    RecordingHashEvents events;
    TempDir dir;
    std::string image;
};

}  // namespace

TEST(MediaHash, ARangeHashesAsDdCutsItFromTheImage)
{
    MediaHashRig rig;
    rig.InsertImage(300);
    const std::string entire = "  MD5 / SHA hash of entire media data area";
    const std::string range = "   MD5 / SHA hash of a media block range";
    struct Case {
        std::int64_t start, end;
        std::vector<int> reads;  // READ(10) block counts after the information block's one block
        std::string heading;
    };
    const Case cases[] = {
        {0, 299, {1, 32, 32, 32, 32, 32, 32, 32, 32, 32, 12}, entire},
        {5, 37, {1, 32, 1}, range},
        {7, 7, {1, 1}, range},
        {0, 298, {1, 32, 32, 32, 32, 32, 32, 32, 32, 32, 11}, range},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.start);
        ASSERT_EQ(rig.Hash(tested.start, tested.end), HashOutcome::Done);
        EXPECT_EQ(DigestsInReport(rig.core.m_Report), rig.DdDigests(tested.start, tested.end - tested.start + 1));
        EXPECT_EQ(rig.ReadCounts(), tested.reads);
        const int from = LineOf(rig.core.m_Report,
                                Format("Computing from Logical Block Addresses %X (%d) to %X (%d)",
                                       static_cast<unsigned>(tested.start), static_cast<int>(tested.start),
                                       static_cast<unsigned>(tested.end), static_cast<int>(tested.end)));
        ASSERT_GT(from, 0);
        EXPECT_EQ(rig.Line(from + 1),
                  Format("Total Number of sectors to be computed %d", static_cast<int>(tested.end - tested.start + 1)));
        EXPECT_EQ(rig.Line(from - 2), std::string(17, ' ') + tested.heading);
        EXPECT_EQ(rig.core.m_Report.GetStatusText(), "Ready");
        EXPECT_FALSE(rig.drive->RemovalPrevented());
        EXPECT_EQ(rig.events.overallProgress.front(), 0);
    }
    EXPECT_EQ(rig.Line(5), "Application id" + std::string(59 - 19, ' ') + "QUENZARIO TEST DISC");
}

TEST(MediaHash, TheInformationBlockTellsWhatTheDriveCouldRead)
{
    struct Case {
        const char* medium;
        std::vector<std::pair<int, std::string>> lines;
        const char* drive = "dvd-writer";
    };
    const std::vector<std::pair<int, std::string>> dvdPlusR = {
        {0, std::string(28, ' ') + std::string(7, ' ') + "Media Disc Information"},
        {2, "Media ID" + std::string(65 - 11, ' ') + "MCC     004"},
        {3, "Media Type" + std::string(63 - 5, ' ') + "DVD+R"},
        {4,
         Format("%-43s%30s", "Format Capacity",
                Format("%8.2fGB(%4.2fGB)", 2099999.0f * 2048 / 1073741824.0, 2099999.0f * 2048 / 1e9).c_str())}};
    const Case cases[] = {
        // The recording drive of the disc at line 2 (signs below "0" as blanks).
        {"dvd-r",
         {{0, std::string(13, ' ') + "Information on burner used to write this Media"},
          {2, "     PIONEER DVR 112D 1 21 QNZ0001234"},
          {4, std::string(28, ' ') + std::string(7, ' ') + "Media Disc Information"},
          {7, "Media Type" + std::string(63 - 5, ' ') + "DVD-R"}}},
        {"dvd+r", dvdPlusR},
        // Drives that refuse some valid requests read the same block.
        {"dvd+r", dvdPlusR, "dvd-reader-strict"},
        {"dvd+r", dvdPlusR, "usb-dvd-reader"},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(std::string(tested.drive) + " " + tested.medium);
        MediaHashRig rig(tested.medium, tested.drive);
        ASSERT_EQ(rig.Hash(0, 40, {}), HashOutcome::Done);
        for (const auto& [line, text] : tested.lines)
            EXPECT_EQ(rig.Line(line), text) << "line " << line;
        EXPECT_EQ(LineOf(rig.core.m_Report, "SHA-1 Hash Value"), -1);
        EXPECT_GT(LineOf(rig.core.m_Report, "MD5 Hash Value"), 0);
    }
}

TEST(MediaHash, AStopOrABlockThatCannotBeReadEndsWithoutDigests)
{
    struct Case {
        const char* name;
        const char* medium;
        std::function<void(emu::EmulatedDrive&)> prepare;
        bool stopAtThirdRead;
        HashOutcome outcome;
        const char* status;
        std::vector<std::string> notices;
    };
    const auto nothing = [](emu::EmulatedDrive&) {};
    const Case cases[] = {
        {"stopped", "dvd-rom", nothing, true, HashOutcome::Cancelled, "User aborted", {}},
        {"unreadable",
         "dvd-rom",
         [](emu::EmulatedDrive& drive) { drive.AddErrorRule(emu::ErrorRule::UnreadableBlocks(100, 3)); },
         false,
         HashOutcome::Failed,
         "Unrecoverable Media error",
         {"Unrecoverable Media error, MD5 calculation cannot continue"}},
        {"encrypted",
         "dvd-rom",
         [](emu::EmulatedDrive& drive) {
             drive.AddErrorRule(emu::ErrorRule::CheckCondition(0x28, {0x05, 0x6F, 0x03}));
         },
         false,
         HashOutcome::Failed,
         "Media is encrypted & locked",
         {"This Disc is encrypted and locked and cannot be read. Try playing in a player first to unlock it"}},
        {"no disc", "none", nothing, false, HashOutcome::Failed, "No Media is present", {}},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.name);
        MediaHashRig rig(tested.medium);
        tested.prepare(*rig.drive);
        int asked = 0;
        const HashOutcome outcome = rig.Hash(0, 1000, kAllDigests,
                                             [&] { return !tested.stopAtThirdRead || ++asked < 3; });
        EXPECT_EQ(outcome, tested.outcome);
        EXPECT_EQ(LineOf(rig.core.m_Report, "MD5 Hash Value"), -1);
        EXPECT_EQ(rig.core.m_Report.GetStatusText(), tested.status);
        EXPECT_EQ(rig.events.notices, tested.notices);
        EXPECT_FALSE(rig.drive->RemovalPrevented());
    }
}
