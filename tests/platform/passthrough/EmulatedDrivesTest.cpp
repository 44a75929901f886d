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
        {"dvd-writer:dvd+r, speedup=10", 10, 1, 0},
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
