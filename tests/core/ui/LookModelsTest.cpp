#include "core/base/AppProfile.h"
#include "core/ui/GraphColours.h"
#include "core/ui/LedIndicators.h"
#include "core/ui/Skins.h"
#include "core/ui/SnapshotFormat.h"
#include "core/ui/WindowPlacement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

TEST(ButtonSkin, SizeLimitsAndTheCellsExtent)
{
    EXPECT_TRUE(IsUsableButtonSkin(295, 125));
    EXPECT_FALSE(IsUsableButtonSkin(294, 125));
    EXPECT_FALSE(IsUsableButtonSkin(295, 124));
    EXPECT_FALSE(IsUsableButtonSkin(0, 0));  // a file that did not read
    // The cells reach past the smallest skin accepted: the built-in one holds them all.
    EXPECT_EQ(SkinExtent(), (UiSize{369, 125}));
    EXPECT_EQ(ButtonSkinCells().size(), 18u);
}

TEST(Banner, TilesFillTheBandAndTheLastRowIsCut)
{
    const std::vector<UiRect> tiles = BannerTiles(100, 40);
    ASSERT_EQ(tiles.size(), 16u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(tiles[static_cast<std::size_t>(i)], (UiRect{i * 100, 0, i * 100 + 100, 40}));
        EXPECT_EQ(tiles[static_cast<std::size_t>(i + 8)], (UiRect{i * 100, 40, i * 100 + 100, 67}));
    }
    EXPECT_EQ(BannerTiles(748, 67), (std::vector<UiRect>{{0, 0, 748, 67}}));
    EXPECT_EQ(BannerTiles(2000, 300), (std::vector<UiRect>{{0, 0, 748, 67}}));
    EXPECT_TRUE(BannerTiles(0, 67).empty());
    EXPECT_EQ(BannerTiles(1, 1).size(), 748u * 67u);
}

TEST(LedIndicators, ThreeGroupsTheirColoursAndNoIndicatorTwice)
{
    EXPECT_EQ(LedIndicatorsOf(LedGroup::Read).size(), 27u);
    EXPECT_EQ(LedIndicatorsOf(LedGroup::Write).size(), 25u);
    EXPECT_EQ(LedIndicatorsOf(LedGroup::Other).size(), 15u);
    std::set<int> seen;
    for (const LedGroupColour& colour : LedGroupColours())
        for (const int id : LedIndicatorsOf(colour.group))
            EXPECT_TRUE(seen.insert(id).second) << id;
    EXPECT_EQ(LedGroupOf(1140), LedGroup::Read);
    EXPECT_EQ(LedGroupOf(1194), LedGroup::Write);
    EXPECT_EQ(LedGroupOf(1161), LedGroup::Other);
    EXPECT_EQ(LedGroupOf(1000), std::nullopt);

    ScopedProfile profile;
    EXPECT_EQ(ReadLedGroupColour(LedGroup::Read), 0x00FF00u);
    EXPECT_EQ(ReadLedGroupColour(LedGroup::Write), 0x0000FFu);
    EXPECT_EQ(ReadLedGroupColour(LedGroup::Other), 0xFF4B00u);
    WriteAppProfileInt("DriveInfoWriteColor", 0x123456);
    EXPECT_EQ(ReadLedGroupColour(LedGroup::Write), 0x123456u);
}

TEST(GraphColours, DefaultsWrittenOnceAndTheGridAtHalfIntensity)
{
    ScopedProfile profile;
    // Missing values: each reader's own defaults.
    MainGraphColours colours = ReadMainGraphColours();
    EXPECT_EQ(colours.foreground, 0x6D6D6Du);
    EXPECT_EQ(colours.grid, 0x363636u);
    EXPECT_EQ(colours.vertical, 0xFFFFFFu);

    EXPECT_TRUE(WriteDefaultColours());
    EXPECT_EQ(GetAppProfileInt("DefColors", -1), 1);
    EXPECT_EQ(GetAppProfileInt("GraphJITTERColorPick", -1), 0xFF0AFF);
    EXPECT_EQ(GetAppProfileInt("GraphDRIVESPEEDColorPick", -1), 0x64FF);
    colours = ReadMainGraphColours();
    EXPECT_EQ(colours, (MainGraphColours{0x787878, 0x3C3C3C, 0, 0xFF, 0xFFFF, 0xFF00}));

    // The user's colours stay once the defaults were written.
    WriteAppProfileInt("GraphFGColorPick1", 0x202020);
    EXPECT_FALSE(WriteDefaultColours());
    EXPECT_EQ(ReadMainGraphColours().foreground, 0x202020u);
}

TEST(SnapshotFormat, TheWholeExtensionChoosesTheFormat)
{
    struct Case {
        const char* path;
        std::optional<SnapshotFormat> format;
    };
    const Case cases[] = {
        {"/tmp/shot.png", SnapshotFormat::Png},
        {"/tmp/shot.JPEG", SnapshotFormat::Jpeg},
        {"/tmp/shot.jpg", SnapshotFormat::Jpeg},
        {"/tmp/shot.Bmp", SnapshotFormat::Bmp},
        {"/tmp/shot.gif", SnapshotFormat::Gif},
        {"/tmp/shot.pdf", std::nullopt},
        {"/tmp/shot.bogus", std::nullopt},
        {"/tmp/shot.jp", std::nullopt},
        {"/tmp/shot.png.txt", std::nullopt},
        {"/tmp/dir.png/shot", std::nullopt},
        {"/tmp/shot", std::nullopt},
        {"/tmp/shot.", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SnapshotFormatForPath(c.path), c.format) << c.path;
}

TEST(WindowPlacement, ATitleBarOffEveryScreenComesBack)
{
    const std::vector<UiRect> one{{0, 0, 1920, 1080}};
    const std::vector<UiRect> two{{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}};
    struct Case {
        int x;
        int y;
        const std::vector<UiRect>* screens;
        UiPoint at;
    };
    const Case cases[] = {
        {100, 200, &one, {100, 200}},     {-20, 100, &one, {0, 0}},
        {100, -5, &one, {0, 0}},          {5000, 100, &one, {0, 0}},
        {1900, 100, &one, {0, 0}},  // only 20 pixels of the title bar would show
        {1856, 1064, &one, {1856, 1064}}, {-1000, 300, &two, {-1000, 300}},  // on the left screen
        {-2000, 300, &two, {0, 0}},       {2147483600, 2147483600, &one, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceOnScreens(c.x, c.y, *c.screens), c.at) << c.x << "," << c.y;
    EXPECT_EQ(PlaceOnScreens(100, 10, std::vector<UiRect>{{0, 30, 800, 600}}), (UiPoint{0, 30}));  // under a top panel
    EXPECT_EQ(PlaceOnScreens(100, 100, {}), (UiPoint{0, 0}));
}
