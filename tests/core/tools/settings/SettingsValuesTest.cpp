#include "core/base/AppProfile.h"
#include "core/tools/settings/SettingsValues.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kButtonFace = 0xD4D0C8;

}  // namespace

TEST(SettingsValues, MissingValuesTakeTheirStartValues)
{
    ScopedProfile profile;
    const SettingsValues values = LoadSettingsValues(kButtonFace);
    EXPECT_EQ(values.colorScheme, 1);
    for (const SettingsCheckRow& row : SettingsChecks())
        EXPECT_EQ(values.checks.at(row.id), row.start) << row.entry;
    EXPECT_EQ(values.checks.at(IDC_ALLOWLOGGING), 1);
    EXPECT_EQ(values.checks.at(IDC_USETRAYICON), 1);
    EXPECT_EQ(values.checks.at(IDC_MINIMIZETOTRAY), 0);
    EXPECT_EQ(values.translucency, 255);
    EXPECT_EQ(values.colours.at(IDC_BACKCOLOR), kButtonFace);
    EXPECT_EQ(values.colours.at(IDC_TEXTCOLOR), 0u);
    EXPECT_EQ(values.colours.at(IDC_GRAPHFG), 0x6D6D6Du);
    EXPECT_EQ(values.colours.at(IDC_LEDGENERAL), 0xFF4B00u);
    EXPECT_TRUE(values.buttonsSkin.empty());
    EXPECT_TRUE(values.bannerSkin.empty());
    EXPECT_EQ(values.colours.size(), 14u);
    EXPECT_EQ(values.checks.size(), 7u);
}

TEST(SettingsValues, ValuesOutOfRangeAreHeldToWhatTheDialogOffers)
{
    ScopedProfile profile;
    struct Case {
        const char* entry;
        int stored;
        int shown;
    };
    const Case cases[] = {
        {"Colors", 9, 1},
        {"Colors", -1, 1},
        {"Colors", 8, 8},
        {"Translucency", 0, 127},
        {"Translucency", 300, 255},
        {"Translucency", 200, 200},
        {"AllowLogging", 2, 0},
        {"StartMinimized", -1, 0},
        {"GraphPIColorPick", -5, 0x00FF00},
        {"GraphPIColorPick", 0x1000000, 0x00FF00},
        {"GraphPIColorPick", 0xFFFFFF, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteAppProfileInt(c.entry, c.stored));
        const SettingsValues values = LoadSettingsValues(kButtonFace);
        const std::string entry = c.entry;
        const int shown = entry == "Colors" ? values.colorScheme
            : entry == "Translucency"       ? values.translucency
            : entry == "AllowLogging"       ? values.checks.at(IDC_ALLOWLOGGING)
            : entry == "StartMinimized"     ? values.checks.at(IDC_STARTMINIMIZED)
                                            : static_cast<int>(values.colours.at(IDC_GRAPHPI));
        EXPECT_EQ(shown, c.shown) << c.entry << "=" << c.stored;
    }
}

TEST(SettingsValues, SaveWritesEveryValueAndTheSkinsByTheirRule)
{
    ScopedProfile profile;
    WriteAppProfileString("ButtonsSkin", "/old/buttons.bmp");
    WriteAppProfileString("BannerSkin", "/old/banner.bmp");
    SettingsValues values = LoadSettingsValues(kButtonFace);
    values.colorScheme = 6;
    for (auto& [id, check] : values.checks)
        check = 1 - check;
    values.translucency = 300;  // held to opaque
    COLORREF next = 0x010203;
    for (auto& [id, colour] : values.colours)
        colour = next++;
    values.buttonsSkin = kClearSkin;  // the built-in buttons again
    values.bannerSkin.clear();  // untouched
    values.bmpFolder = "/home/u/skins";
    ASSERT_TRUE(SaveSettingsValues(values));

    EXPECT_EQ(GetAppProfileInt("Colors", -1), 6);
    for (const SettingsCheckRow& row : SettingsChecks())
        EXPECT_EQ(GetAppProfileInt(row.entry, -1), 1 - row.start) << row.entry;
    EXPECT_EQ(GetAppProfileInt("Translucency", -1), 255);
    for (const SettingsColourRow& row : SettingsColours())
        EXPECT_EQ(static_cast<COLORREF>(GetAppProfileInt(row.entry, -1)), values.colours.at(row.id)) << row.entry;
    EXPECT_EQ(GetAppProfileString("ButtonsSkin", "unset"), "");
    EXPECT_EQ(GetAppProfileString("BannerSkin", "unset"), "/old/banner.bmp");
    EXPECT_EQ(GetAppProfileString("Last BMP Directory", ""), "/home/u/skins");

    SettingsValues back = LoadSettingsValues(kButtonFace);
    EXPECT_EQ(back.checks, values.checks);
    EXPECT_EQ(back.colours, values.colours);
    EXPECT_EQ(back.colorScheme, 6);

    values.buttonsSkin = "/new/buttons.bmp";
    ASSERT_TRUE(SaveSettingsValues(values));
    EXPECT_EQ(GetAppProfileString("ButtonsSkin", ""), "/new/buttons.bmp");
}

TEST(SettingsValues, SliderColoursAndCouplings)
{
    EXPECT_EQ(TranslucencyOfSlider(0), 255);
    EXPECT_EQ(TranslucencyOfSlider(128), 127);
    EXPECT_EQ(TranslucencyOfSlider(500), 127);
    EXPECT_EQ(SliderOfTranslucency(127), 128);
    EXPECT_EQ(SliderOfTranslucency(20), 128);
    EXPECT_EQ(SliderOfTranslucency(255), 0);

    EXPECT_EQ(PickedColour(0xFF00FF), 0xFF01FFu);
    EXPECT_EQ(PickedColour(0xFF01FF), 0xFF01FFu);
    EXPECT_EQ(PickedColour(0x00FF00), 0x00FF00u);

    SettingsValues values;
    values.colours[IDC_TEXTCOLOR] = 0x123456;
    values.colours[IDC_GRAPHFG] = 0x111111;
    values.colours[IDC_LEDGENERAL] = 0x222222;
    SetAllColoursToDefault(values);
    EXPECT_EQ(values.colours[IDC_GRAPHFG], 0x787878u);
    EXPECT_EQ(values.colours[IDC_LEDGENERAL], 0xFF0000u);
    EXPECT_EQ(values.colours[IDC_GRAPHBG], 0u);
    EXPECT_EQ(values.colours[IDC_TEXTCOLOR], 0x123456u);  // the report's colours stay

    struct Case {
        int clicked;
        int startMinimized, minimizeToTray, useTrayIcon;  // after the click
        int expectedMinimize, expectedIcon;
    };
    const Case cases[] = {
        {IDC_STARTMINIMIZED, 1, 1, 0, 1, 1}, {IDC_STARTMINIMIZED, 1, 0, 0, 0, 0}, {IDC_MINIMIZETOTRAY, 0, 1, 0, 1, 1},
        {IDC_MINIMIZETOTRAY, 1, 0, 0, 0, 1}, {IDC_MINIMIZETOTRAY, 0, 0, 0, 0, 0}, {IDC_USETRAYICON, 0, 1, 0, 0, 0},
        {IDC_USETRAYICON, 0, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SettingsValues v;
        v.checks = {{IDC_STARTMINIMIZED, c.startMinimized},
                    {IDC_MINIMIZETOTRAY, c.minimizeToTray},
                    {IDC_USETRAYICON, c.useTrayIcon}};
        ApplyCheckCoupling(v, c.clicked);
        EXPECT_EQ(v.checks[IDC_MINIMIZETOTRAY], c.expectedMinimize) << c.clicked;
        EXPECT_EQ(v.checks[IDC_USETRAYICON], c.expectedIcon) << c.clicked;
    }
}
