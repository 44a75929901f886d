#include "core/base/AppProfile.h"
#include "core/pipo/ScanWindowSettings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(ScanWindowSettings, DefaultsAndTheProfileNames)
{
    ScopedProfile profile;
    const ScanWindowSettings defaults = LoadPIPOSettings();
    EXPECT_EQ(defaults, ScanWindowSettings{});
    EXPECT_EQ(defaults.speedNec, 3) << "\"SpeedNEC\" missing selects \"  4x \"";
    EXPECT_EQ(defaults.showSpeed, 1);

    ScanWindowSettings changed;
    changed.m_nPIRadio = 1;
    changed.m_nPORadio = 1;
    changed.speedNec = 5;
    changed.pifScale = 7;
    changed.showJitter = 0;
    SavePIPOSettings(changed);
    EXPECT_EQ(GetAppProfileInt("PIRadio", -1), 1);
    EXPECT_EQ(GetAppProfileInt("PORadio", -1), 1);
    EXPECT_EQ(GetAppProfileInt("SpeedNEC", -1), 5);
    EXPECT_EQ(GetAppProfileInt("PIPOScaleLower", -1), 7);
    EXPECT_EQ(GetAppProfileInt("stShowJitter", -1), 0);

    const ScanWindowSettings loaded = LoadPIPOSettings();
    EXPECT_EQ(loaded.m_nPORadio, 0) << "written only";
    changed.m_nPORadio = 0;
    EXPECT_EQ(loaded, changed);
}

TEST(ScanWindowSettings, GraphColoursFromTheProfile)
{
    ScopedProfile profile;
    ScanGraphColours colours = ReadScanGraphColours();
    EXPECT_EQ(colours.pi, 0x00FF00u);
    EXPECT_EQ(colours.jitter, 0xFF0AFFu);
    EXPECT_EQ(colours.halfGrid, 0x363636u);
    WriteAppProfileInt("GraphFGColorPick1", 0x808080);
    WriteAppProfileInt("GraphVERTColorPick", 0x0000FF);
    colours = ReadScanGraphColours();
    EXPECT_EQ(colours.halfGrid, 0x404040u);
    EXPECT_EQ(colours.marker, 0x0000FFu);
}
