#include "emu/DrivePresets.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "platform/passthrough/EmulatedDrives.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(EmulateSetting, ParsesDriveMediumPairsAndReportsWhatItLeavesOut)
{
    struct Case {
        const char* setting;
        std::vector<std::string> drives;  // "drive:medium"
        std::size_t problems;
    };
    const Case cases[] = {
        {"default", {"dvd-writer:dvd+r", "bd-writer:bd-r", "cd-reader:cd-rom"}, 0},
        {" dvd-writer : dvd-ram ,, plextor:none ", {"dvd-writer:dvd-ram", "plextor:none"}, 0},
        {"bd-writer:bd-re,DEFAULT", {"bd-writer:bd-re", "dvd-writer:dvd+r", "bd-writer:bd-r", "cd-reader:cd-rom"}, 0},
        {"dvd-writer", {}, 1},
        {"a:b:c,:dvd+r,cd-reader:", {}, 3},
        {"", {}, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.setting);
        std::vector<std::string> problems;
        std::vector<std::string> drives;
        for (const auto& request : ParseEmulateSetting(test.setting, problems))
            drives.push_back(request.drivePreset + ":" + request.mediumPreset);
        EXPECT_EQ(drives, test.drives);
        EXPECT_EQ(problems.size(), test.problems);
    }

    std::vector<std::string> problems;
    const auto made = MakeEmulatedDrives("dvd-writer:dvd+r-dl,zip:none,cd-reader:floppy,bd-writer:hddvd-rom", problems);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].first, "emu0");
    EXPECT_EQ(made[1].first, "emu1");
    EXPECT_EQ(made[1].second->Identity().presetName, "bd-writer");
    EXPECT_EQ(problems, (std::vector<std::string>{"unknown drive preset \"zip\"", "unknown medium preset \"floppy\""}));
}

// "speedup=N" paces the emulated drives and asks for no drive; a bad value
// is left out with a line and the default kept.
TEST(EmulateSetting, SpeedupItemsPaceTheDrivesAndAskForNone)
{
    struct Case {
        const char* setting;
        double speedup;
        std::size_t requests;
        std::size_t problems;
    };
    const Case cases[] = {
        {"default", kDefaultEmulatedSpeedup, 3, 0},
        {"dvd-writer:dvd+r, speedup=25", 25, 1, 0},
        {"SPEEDUP=0,cd-reader:cd-rom", 0, 1, 0},
        {"speedup=1,speedup=4", 4, 0, 0},
        {"speedup=fast,dvd-writer:dvd+r", kDefaultEmulatedSpeedup, 1, 1},
        {"speedup=-2", kDefaultEmulatedSpeedup, 0, 1},
        {"speedup=2.5", kDefaultEmulatedSpeedup, 0, 1},
        {"speedup=", kDefaultEmulatedSpeedup, 0, 1},
        {"speedup=5000", kDefaultEmulatedSpeedup, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        std::vector<std::string> problems;
        EXPECT_EQ(ParseEmulatedSpeedup(c.setting, problems), c.speedup);
        EXPECT_EQ(ParseEmulateSetting(c.setting, problems).size(), c.requests);
        EXPECT_EQ(problems.size(), c.problems);
    }
    std::vector<std::string> problems;
    EXPECT_EQ(MakeEmulatedDrives("speedup=0,dvd-writer:dvd+r", problems).size(), 1u);
    EXPECT_TRUE(problems.empty());
}

// A paced drive's time is the program's to time and wait by: a wait spends
// the drive's time in wall time shortened by the speedup. A drive that
// answers at once (speedup=0) has no time to wait by.
TEST(EmulateSetting, APacedDrivesTimeCanBeWaitedOn)
{
    std::vector<std::string> problems;
    const auto steady = MakeEmulatedDrives("speedup=0,dvd-writer:dvd+r", problems);
    ASSERT_EQ(steady.size(), 1u);
    EXPECT_EQ(EmulatedDriveTimeOf(*steady[0].second), nullptr);

    const auto paced = MakeEmulatedDrives("speedup=100,dvd-writer:dvd+r,cd-reader:cd-rom", problems);
    ASSERT_EQ(paced.size(), 2u);
    const auto time = EmulatedDriveTimeOf(*paced[0].second);
    ASSERT_NE(time, nullptr);
    // Both drives are on one clock.
    EXPECT_EQ(paced[0].second->GetClock(), paced[1].second->GetClock());
    const std::uint64_t before = time->NowMs();
    time->Wait(2000);  // 20 ms of wall time
    EXPECT_GE(time->NowMs() - before, 2000u);
    EXPECT_TRUE(problems.empty());
}

// The default speedup reads a whole single-layer DVD (4.7 GB) on the
// default DVD writer, as fast as it reads, in about half a minute.
TEST(EmulateSetting, TheDefaultSpeedupReadsAWholeDvdInHalfAMinute)
{
    std::vector<std::string> problems;
    const auto drives = MakeEmulatedDrives("default", problems);
    ASSERT_FALSE(drives.empty());
    const emu::SpinPlan plan = drives[0].second->ReadPlan();
    ASSERT_EQ(drives[0].second->Identity().presetName, "dvd-writer");
    constexpr std::uint64_t kSingleLayerBlocks = 2295104;
    double modelUs = 0;
    for (std::uint64_t lba = 0; lba < kSingleLayerBlocks; lba += 32)
        modelUs += static_cast<double>(plan.TransferMicroseconds(lba, 32));
    const double wallSeconds = modelUs / 1e6 / kDefaultEmulatedSpeedup;
    EXPECT_GT(wallSeconds, 25.0);
    EXPECT_LT(wallSeconds, 35.0);
}

TEST(EmulateSetting, TheReadmeListsEveryPreset)
{
    const std::string readme = ReadFileText(std::string(QUENZA_SOURCE_DIR) + "/README.md");
    ASSERT_FALSE(readme.empty());
    std::vector<std::string> names = emu::DrivePresetNames();
    const std::vector<std::string> media = emu::MediumPresetNames();
    names.insert(names.end(), media.begin(), media.end());
    for (const std::string& name : names)
        EXPECT_NE(readme.find("`" + name + "`"), std::string::npos) << name;
}
