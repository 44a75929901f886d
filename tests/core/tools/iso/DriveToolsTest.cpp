#include "IsoTestSupport.h"

#include "core/app/MainDialogCore.h"
#include "core/tools/iso/DiscCompare.h"
#include "core/tools/iso/DriveBlockReader.h"
#include "core/tools/iso/IsoCreation.h"
#include "emu/MediaPresets.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The ISO page's tools on an emulated drive whose disc is an image file,
// through the main window's command channel.
struct DriveTools : EmulatedDriveRig {
    DriveTools(const char* drivePreset, const char* mediumPreset, const std::string& image) :
        EmulatedDriveRig(drivePreset, "none")
    {
        emu::MediumDescription disc = *emu::FindMediumPreset(mediumPreset);
        disc.imagePath = image;
        EXPECT_TRUE(drive->InsertMedium(disc));
        MakeCurrent(core.m_Drives);
        core.m_Drives.mmc.SetWaitClock(waitClock);
    }
    IsoCreationEnd Create(const std::string& path)
    {
        IsoCreation creation(reader, events, running);
        return creation.DoCreateISO({path, [](const std::string&) { return UINT64_MAX / 2; }});
    }
    CompareEnd Compare(const std::string& image)
    {
        DiscCompare compare(reader, events, running);
        return compare.DoISOCompare(image);
    }

    ScopedProgramLog log;
    ScriptedPrompt prompt;
    MainDialogCore core{Sources()};
    DriveBlockReader reader{core.m_Drives, core.m_Report};
    RecordingEvents events;
    std::atomic<int> running{0};
};

class DriveToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSampleTree(m_dir.File("tree"));
        ASSERT_TRUE(MakeIsoImage("xorriso", m_dir.File("tree"), Source()));
    }
    std::string Source() const { return m_dir.File("source.iso"); }
    bool SameFiles(const std::string& a, const std::string& b) const
    {
        return RunCommand("cmp -s '" + a + "' '" + b + "'") == 0;
    }

    TempDir m_dir;
};

}  // namespace

// The drives that refuse some valid requests copy and compare as the others do.
TEST_F(DriveToolsTest, AnImageOfTheEmulatedDiscEqualsItsSource)
{
    for (const char* preset : {"dvd-writer", "dvd-reader-strict", "usb-dvd-reader"}) {
        SCOPED_TRACE(preset);
        DriveTools tools(preset, "dvd+r", Source());
        const std::string copy = m_dir.File(std::string(preset) + ".iso");
        ASSERT_EQ(tools.Create(copy), IsoCreationEnd::Complete);
        EXPECT_TRUE(SameFiles(Source(), copy));
        // The trial read asks the medium itself; the tray was locked and let go.
        const auto reads = tools.CdbsOf(mmc::kRead10);
        ASSERT_FALSE(reads.empty());
        EXPECT_EQ(reads.front()[1], 0x08);
        EXPECT_EQ(reads[1][1], 0x00);
        EXPECT_EQ(tools.CdbsOf(mmc::kPreventAllowMediumRemoval).size(), 2u);
        EXPECT_FALSE(tools.drive->RemovalPrevented());
        const auto speed = tools.CdbsOf(mmc::kSetCdSpeed);
        ASSERT_EQ(speed.size(), 1u);
        EXPECT_EQ(std::vector<std::uint8_t>(speed[0].begin() + 2, speed[0].begin() + 6),
                  std::vector<std::uint8_t>(4, 0xFF));

        tools.events = RecordingEvents();
        EXPECT_EQ(tools.Compare(copy), CompareEnd::Identical);
    }
}

TEST_F(DriveToolsTest, TheDrivesUnreadableBlockIsNamedByItsSense)
{
    DriveTools tools("dvd-writer", "dvd+r", Source());
    tools.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(133, 2));
    EXPECT_EQ(tools.Create(m_dir.File("copy.iso")), IsoCreationEnd::ReadError);
    EXPECT_EQ(tools.events.Lines(), std::vector<std::string>{"LBA=85h"});
    EXPECT_FALSE(fs::exists(m_dir.File("copy.iso")));

    tools.events = RecordingEvents();
    EXPECT_EQ(tools.Compare(Source()), CompareEnd::Different);
    EXPECT_EQ(tools.events.Lines(), std::vector<std::string>{"LBA=85h Blocks=17 Disc=unreadable"});
}

TEST_F(DriveToolsTest, ADataCdReadOnlyByReadCdGivesTheSameImage)
{
    DriveTools tools("cd-reader", "cd-rom", Source());
    // A drive that will not take READ(10) on this disc.
    tools.drive->AddErrorRule(emu::ErrorRule::CheckCondition(mmc::kRead10, emu::sense::kIllegalModeForTrack));
    ASSERT_EQ(tools.Create(m_dir.File("copy.iso")), IsoCreationEnd::Complete);
    EXPECT_TRUE(SameFiles(Source(), m_dir.File("copy.iso")));
    const auto raw = tools.CdbsOf(mmc::kReadCd);
    ASSERT_GT(raw.size(), 1u);
    EXPECT_EQ(raw[0][8], 10);  // the trial: half a read of 20 sectors
    EXPECT_EQ(raw[1][8], 20);
    EXPECT_EQ(raw[1][9], 0xF8);
}

TEST_F(DriveToolsTest, AnAudioCdIsNeitherCopiedNorCompared)
{
    DriveTools tools("cd-reader", "cd-rom", Source());
    emu::MediumDescription audio = *emu::FindMediumPreset("cd-rom");
    audio.tracks[0].control = 0;  // two-channel audio
    audio.capacityBlocks = 3000;
    audio.tracks[0].blocks = 3000;
    ASSERT_TRUE(tools.drive->InsertMedium(audio));
    tools.core.m_Drives.mmc.PollUntilReady();
    EXPECT_EQ(tools.Create(m_dir.File("audio.iso")), IsoCreationEnd::ReadError);
    EXPECT_FALSE(fs::exists(m_dir.File("audio.iso")));
    tools.events = RecordingEvents();
    EXPECT_EQ(tools.Compare(Source()), CompareEnd::Failed);
    EXPECT_EQ(tools.events.BoxTexts(), std::vector<std::string>{"AudioCD Compare not supported"});
}
