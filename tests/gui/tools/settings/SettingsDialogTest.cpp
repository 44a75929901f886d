#include "core/base/AppProfile.h"
#include "core/base/MessageIds.h"
#include "core/tools/settings/SettingsValues.h"
#include "gui/tools/settings/AssociationPrompt.h"
#include "gui/tools/settings/Settings.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/ColourChooser.h"
#include "gui/ui/MessageClassDlg.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/UiTestHelpers.h"
#include "support/TestSupport.h"
#include "support/XdgTree.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QSlider>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

void Click(CDialog& dlg, int id)
{
    dlg.Item<QAbstractButton>(id)->click();
}

COLORREF ShownColour(CDialog& dlg, int id)
{
    const QImage& swatch = dlg.Item<CButtonST>(id)->Icon(0);
    return ToColorRef(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2));
}

COLORREF ButtonFace()
{
    return ToColorRef(QApplication::palette().color(QPalette::Button));
}

// Answers every colour chooser with the next colour of the list.
class ScriptedColours {
public:
    explicit ScriptedColours(std::vector<std::optional<COLORREF>> answers) : m_answers(std::move(answers))
    {
        SetColourChooserHook([this](COLORREF current) {
            offered.push_back(current);
            const auto answer = m_answers.at(m_next % m_answers.size());
            ++m_next;
            return answer;
        });
    }
    ~ScriptedColours() { SetColourChooserHook(nullptr); }
    std::vector<COLORREF> offered;

private:
    std::vector<std::optional<COLORREF>> m_answers;
    std::size_t m_next = 0;
};

// Everything the dialog shows, as the profile would hold it.
struct Shown {
    int scheme;
    std::map<int, int> checks;
    std::map<int, COLORREF> colours;
    int translucency;
};
Shown ShownValues(CSettings& dlg)
{
    Shown shown;
    shown.scheme = dlg.Item<QComboBox>(IDC_COLORSCHEME)->currentIndex();
    for (const SettingsCheckRow& row : SettingsChecks())
        shown.checks[row.id] = dlg.IsDlgButtonChecked(row.id);
    for (const SettingsColourRow& row : SettingsColours())
        shown.colours[row.id] = ShownColour(dlg, row.id);
    shown.translucency = TranslucencyOfSlider(dlg.Item<QSlider>(IDC_TRANSLUCENCY)->value());
    return shown;
}

}  // namespace

TEST(Settings, EveryValueIsShownWrittenOnOkAndReadBack)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedFileDialogs files;
    WriteAppProfileInt("Colors", 4);
    WriteAppProfileInt("AlwaysOnTop", 1);
    WriteAppProfileInt("AllowLogging", 0);
    WriteAppProfileInt("Translucency", 200);
    WriteAppProfileInt("GraphPIColorPick", 0x123456);

    Shown before{};
    Shown changed{};
    {
        ScopedModalHook hook([&](CDialog& shown) {
            auto& dlg = static_cast<CSettings&>(shown);
            before = ShownValues(dlg);
            // Change every value through the controls.
            auto* schemes = dlg.Item<QComboBox>(IDC_COLORSCHEME);
            schemes->setCurrentIndex(7);
            dlg.SendNotify(IDC_COLORSCHEME, Notify::SelChange);
            for (const SettingsCheckRow& row : SettingsChecks())
                if (row.id != IDC_USETRAYICON && row.id != IDC_MINIMIZETOTRAY)
                    Click(dlg, row.id);
            dlg.Item<QSlider>(IDC_TRANSLUCENCY)->setValue(100);
            COLORREF next = 0x0A0B0C;
            for (const SettingsColourRow& row : SettingsColours()) {
                ScriptedColours colours({next++});
                Click(dlg, row.id);
            }
            files.Answer(FileDialogAnswer{"/home/u/skins/buttons.bmp", 1});
            Click(dlg, IDC_LOADBUTTONS);
            Click(dlg, IDC_DEFAULTBANNER);
            changed = ShownValues(dlg);
            Click(dlg, IDOK);
            return dlg.ModalResult();
        });
        CSettings dlg;
        ASSERT_EQ(dlg.DoModal(), IDOK);
    }
    EXPECT_EQ(before.scheme, 4);
    EXPECT_EQ(before.checks[IDC_ALWAYSONTOP], 1);
    EXPECT_EQ(before.checks[IDC_ALLOWLOGGING], 0);
    EXPECT_EQ(before.checks[IDC_REMEMBERDEVICE], 1);
    EXPECT_EQ(before.translucency, 200);
    EXPECT_EQ(before.colours[IDC_GRAPHPI], 0x123456u);
    EXPECT_EQ(before.colours[IDC_BACKCOLOR], ButtonFace());
    EXPECT_EQ(before.colours[IDC_GRAPHVERT], 0x0000FFu);

    EXPECT_EQ(changed.scheme, 7);
    EXPECT_EQ(changed.translucency, 155);
    EXPECT_EQ(changed.colours[IDC_TEXTCOLOR], 0x0A0B0Cu);
    // Profile after OK: what the dialog showed.
    EXPECT_EQ(GetAppProfileInt("Colors", -1), 7);
    for (const SettingsCheckRow& row : SettingsChecks())
        EXPECT_EQ(GetAppProfileInt(row.entry, -1), changed.checks[row.id]) << row.entry;
    EXPECT_EQ(GetAppProfileInt("AllowLogging", -1), 1);
    EXPECT_EQ(GetAppProfileInt("Translucency", -1), 155);
    for (const SettingsColourRow& row : SettingsColours())
        EXPECT_EQ(static_cast<COLORREF>(GetAppProfileInt(row.entry, -1)), changed.colours[row.id]) << row.entry;
    EXPECT_EQ(GetAppProfileString("ButtonsSkin", ""), "/home/u/skins/buttons.bmp");
    EXPECT_EQ(GetAppProfileString("BannerSkin", "unset"), "");
    EXPECT_EQ(GetAppProfileString("Last BMP Directory", ""), "/home/u/skins");
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].title, "Select a button template bmp file");
    // Every picture type that can be read is listed, the built-in skins' PNG too.
    for (const char* pattern : {"*.bmp", "*.png", "*.jpg", "*.gif"})
        EXPECT_NE(files.requests[0].filter.find(pattern), std::string::npos) << files.requests[0].filter;
    // The logging box's notice, and the PI/PIF colour notices.
    ASSERT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(prompt.asked[0].text, "Please restart Quenza for this to have effect.");
    EXPECT_EQ(prompt.asked[1].text,
              "Please remember if 'Progressive Colored Scanning' is turned on, it will override this color setting");

    // Opened again, it shows what was written.
    Shown reopened{};
    ScopedModalHook hook([&](CDialog& shown) {
        reopened = ShownValues(static_cast<CSettings&>(shown));
        return IDCANCEL;
    });
    CSettings again;
    again.DoModal();
    EXPECT_EQ(reopened.scheme, changed.scheme);
    EXPECT_EQ(reopened.checks, changed.checks);
    EXPECT_EQ(reopened.colours, changed.colours);
    EXPECT_EQ(reopened.translucency, changed.translucency);
}

TEST(Settings, CancelWritesNothing)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedFileDialogs files;
    WriteAppProfileInt("Translucency", 240);
    const std::string before = ReadFileText(profile.Path());
    for (const int end : {static_cast<int>(IDC_SETTINGSCANCEL), 0}) {
        ScopedModalHook hook([&](CDialog& shown) {
            auto& dlg = static_cast<CSettings&>(shown);
            for (const SettingsCheckRow& row : SettingsChecks())
                Click(dlg, row.id);
            dlg.Item<QSlider>(IDC_TRANSLUCENCY)->setValue(kTranslucencySliderMax);
            EXPECT_NEAR(dlg.windowOpacity(), 127 / 255.0, 0.01);  // previewed on the dialog
            ScriptedColours colours({0xFF00FF});
            Click(dlg, IDC_ALLDEFAULT);
            Click(dlg, IDC_GRAPHBG);
            files.Answer(FileDialogAnswer{"/home/u/skins/banner.bmp", 1});
            Click(dlg, IDC_LOADBANNER);
            Click(dlg, IDC_DEFAULTBUTTONS);
            if (end == 0)
                PressKey(dlg, Qt::Key_Escape);
            else
                Click(dlg, end);
            return dlg.ModalResult();
        });
        CSettings dlg;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(dlg.Changed());
    }
    EXPECT_EQ(ReadFileText(profile.Path()), before);
}

TEST(Settings, EdgeValuesOfTheDialog)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    WriteAppProfileString("BannerSkin", "/old/banner.bmp");
    WriteAppProfileInt("Translucency", 3);  // edited by hand: held to the slider's end
    int shownTranslucency = 0;
    ScopedModalHook hook([&](CDialog& shown) {
        auto& dlg = static_cast<CSettings&>(shown);
        shownTranslucency = TranslucencyOfSlider(dlg.Item<QSlider>(IDC_TRANSLUCENCY)->value());
        dlg.Item<QSlider>(IDC_TRANSLUCENCY)->setValue(kTranslucencySliderMax);
        ScriptedColours colours({0xFF00FF, std::nullopt});
        Click(dlg, IDC_LEDREAD);  // magenta
        Click(dlg, IDC_LEDWRITE);  // cancelled: stays
        Click(dlg, IDC_DEFAULTTEXT);
        Click(dlg, IDC_DEFAULTBACK);
        Click(dlg, IDC_DEFAULTBUTTONS);
        EXPECT_EQ(colours.offered, (std::vector<COLORREF>{0x00FF00, 0x0000FF}));
        Click(dlg, IDOK);
        return dlg.ModalResult();
    });
    CSettings dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shownTranslucency, 127);
    EXPECT_EQ(GetAppProfileInt("Translucency", -1), 127);
    EXPECT_EQ(GetAppProfileInt("DriveInfoReadColor", -1), 0xFF01FF);
    EXPECT_EQ(GetAppProfileInt("DriveInfoWriteColor", -1), 0x0000FF);
    EXPECT_EQ(GetAppProfileInt("EditTextColour", -1), 0);
    EXPECT_EQ(static_cast<COLORREF>(GetAppProfileInt("EditBackColour", -1)), ButtonFace());
    EXPECT_EQ(GetAppProfileInt("MinimizeToStatusArea", -1), 0);
    EXPECT_EQ(GetAppProfileString("ButtonsSkin", "unset"), "");
    EXPECT_EQ(GetAppProfileString("BannerSkin", ""), "/old/banner.bmp");
}

TEST(Settings, TheTrayBoxesFollowEachOther)
{
    ScopedProfile profile;
    ScopedModalHook hook([&](CDialog& shown) {
        auto& dlg = static_cast<CSettings&>(shown);
        Click(dlg, IDC_USETRAYICON);  // cleared
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_USETRAYICON), 0);
        Click(dlg, IDC_MINIMIZETOTRAY);  // ticks the icon again
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_USETRAYICON), 1);
        Click(dlg, IDC_USETRAYICON);  // clearing the icon clears minimising to it
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MINIMIZETOTRAY), 0);
        return IDCANCEL;
    });
    CSettings dlg;
    dlg.DoModal();
}

TEST(Settings, RepairAndHelpButtons)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    XdgTree tree;
    WriteAppProfileInt("IgnoreAssocRequest", 1);
    std::vector<std::string> opened;
    SetShellOpenHook([&](const std::string& target) {
        opened.push_back(target);
        return false;
    });
    ScopedModalHook hook([&](CDialog& shown) {
        auto& dlg = static_cast<CSettings&>(shown);
        Click(dlg, IDC_REPAIRASSOC);
        std::filesystem::remove(tree.List());
        std::filesystem::create_directory(tree.List());
        Click(dlg, IDC_REPAIRASSOC);
        Click(dlg, IDC_SETTINGSHELP);
        return IDCANCEL;
    });
    CSettings dlg;
    dlg.DoModal();
    SetShellOpenHook(nullptr);
    ASSERT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(prompt.asked[0].text, "Quenzario Associations set successfully");
    EXPECT_EQ(prompt.asked[1].text, "Quenzario Associations failed.");
    EXPECT_EQ(prompt.asked[2].text, "The help page " + HelpFolder() + "settings.htm cannot be opened.");
    EXPECT_EQ(opened, std::vector<std::string>{HelpFolder() + "settings.htm"});
    EXPECT_EQ(GetAppProfileInt("IgnoreAssocRequest", -1), 0);
    EXPECT_TRUE(std::filesystem::exists(std::string(QUENZA_SOURCE_DIR) + "/resources/help/settings.htm"));
}

TEST(Settings, TheStartUpQuestionIsTheMessageDialog)
{
    ScopedProfile profile;
    XdgTree tree;
    for (const int answer : {CMessageClassDlg::IDC_NO, CMessageClassDlg::IDC_YES}) {
        std::string title;
        ScopedModalHook hook([&](CDialog& shown) {
            auto& dlg = static_cast<CMessageClassDlg&>(shown);
            title = dlg.windowTitle().toStdString();
            EXPECT_TRUE(dlg.GetDlgItem(CMessageClassDlg::IDC_NOSHOW)->isVisibleTo(&dlg));
            Click(dlg, answer);
            return dlg.ModalResult();
        });
        OfferFileAssociationRepair(nullptr);
        EXPECT_EQ(title, "File Association Repair");
        EXPECT_EQ(CAssociation().IsAssociated(".qnzx"), answer == CMessageClassDlg::IDC_YES);
    }
}
