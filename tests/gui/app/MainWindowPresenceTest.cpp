#include "MainWindowRig.h"
#include "core/app/TestPageControls.h"
#include "core/app/UpdateCheck.h"
#include "core/base/AppProfile.h"
#include "core/base/MessageIds.h"
#include "core/tools/settings/SettingsValues.h"
#include "core/ui/ColorSchemes.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/tools/settings/Settings.h"
#include "gui/ui/AboutDlg.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/ColourChooser.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/MessageClassDlg.h"
#include "support/gui/ScopedModalHook.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include <cmath>
#include <functional>

namespace {

// Answers the window's modal dialogs for one scope; records their titles.
struct ModalAnswers {
    explicit ModalAnswers(std::function<int(CDialog&)> answer) : m_answer(std::move(answer)) {}
    std::vector<std::string> titles;

private:
    std::function<int(CDialog&)> m_answer;
    ScopedModalHook m_hook{[this](CDialog& shown) {
        titles.push_back(shown.windowTitle().toStdString());
        return m_answer(shown);
    }};
};

void Click(CDialog& dialog, int id)
{
    dialog.Item<QAbstractButton>(id)->click();
}

double Opacity(int alpha)
{
    return alpha / 255.0;
}

bool OnTop(const QWidget& window)
{
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

std::string Messages(const ScriptedPrompt& prompt)
{
    std::string all;
    for (const auto& asked : prompt.asked)
        all += asked.text + "\n";
    return all;
}

}  // namespace

TEST(MainWindowPresence, StartUpAppliesTheProfileAndTheLook)
{
    MainWindowRig rig;
    WriteAppProfileInt("AlwaysOnTop", 1);
    WriteAppProfileInt("Translucency", 200);
    WriteAppProfileInt("VideoWindow Left", -5000);  // off every screen
    WriteAppProfileInt("VideoWindow Top", 100000);
    WriteAppProfileInt("Colors", 4);
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;

    EXPECT_TRUE(OnTop(dialog));
    EXPECT_NEAR(dialog.windowOpacity(), Opacity(200), 0.01);
    // Off every screen: brought to the first one's corner.
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    EXPECT_TRUE(dialog.isVisible());
    // The graph colours' defaults, written at this first start.
    EXPECT_EQ(GetAppProfileInt("DefColors", -1), 1);
    EXPECT_EQ(GetAppProfileInt("GraphFGColorPick1", -1), 0x787878);
    // The look: the status display's scheme, the skinned buttons, the LEDs.
    EXPECT_EQ(dialog.Item<CMatrixStatic>(IDC_STATUS)->Colors(), GetColorScheme(4));
    for (const SkinCell& cell : ButtonSkinCells()) {
        auto* button = dialog.Item<CButtonST>(cell.controlId);
        ASSERT_NE(button, nullptr) << cell.role;
        EXPECT_EQ(button->Bitmap(0).size(), QSize(cell.width, cell.height)) << cell.role;
    }
    EXPECT_TRUE(dialog.Item<CButtonST>(IDC_READ_BD_R)->HasBitmap());
    EXPECT_EQ(dialog.Look().m_bLedButtonsReady, 1);
    // The tray icon; no update server, so the news check fetched nothing.
    EXPECT_TRUE(rig.tray->shown);
    EXPECT_EQ(rig.tray->setup.tip, "Quenzario Vantor V1.000");
    EXPECT_TRUE(rig.fetcher->requests.empty());
    const std::string log = rig.log.Text();
    for (const char* line : {"Always on top selected", "Initialising DriveInfo LED buttons", "Start CheckForNews()",
                             "CheckForNews() - no update server configured, nothing fetched", "STARTUP THREAD END"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
}

TEST(MainWindowPresence, DefaultColoursAreWrittenOnlyOnceAndAPlaceOnScreenIsKept)
{
    MainWindowRig rig;
    WriteAppProfileInt("DefColors", 1);
    WriteAppProfileInt("GraphFGColorPick1", 0x123456);
    WriteAppProfileInt("VideoWindow Left", 40);
    WriteAppProfileInt("VideoWindow Top", 30);
    rig.Start();
    EXPECT_EQ(rig.dialog->frameGeometry().topLeft(), QPoint(40, 30));
    EXPECT_EQ(GetAppProfileInt("GraphFGColorPick1", -1), 0x123456);
    EXPECT_EQ(GetAppProfileInt("GraphBGColorPick1", -1), -1);
    EXPECT_FALSE(OnTop(*rig.dialog));
    EXPECT_NEAR(rig.dialog->windowOpacity(), 1.0, 0.001);
}

TEST(MainWindowPresence, StartedMinimisedTheWindowWaitsInTheTray)
{
    MainWindowRig rig;
    WriteAppProfileInt("StartMinimized", 1);
    WriteAppProfileInt("NotifyUpdates", 1);
    WriteAppProfileString(kUpdateServerEntry, "updates.invalid");
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    // Showing the window after its start does not keep it out of the tray.
    ASSERT_TRUE(rig.timers->Running(MIMIMIZE_TIMER));
    EXPECT_EQ(rig.timers->running[MIMIMIZE_TIMER], 200);
    dialog.FireTimer(MIMIMIZE_TIMER);
    EXPECT_FALSE(rig.timers->Running(MIMIMIZE_TIMER));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Presence().m_bHidden, 1);
    rig.tray->Touch(TrayEvent::LeftButtonDown);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(GetAppProfileInt("NewsItemShown", 0), 1);

    // The news check asked at the end of the start; the quiet check waits for its timer.
    ASSERT_EQ(rig.fetcher->requests.size(), 1u);
    EXPECT_EQ(rig.fetcher->requests[0], "http://updates.invalid/ftp/quenzarionews.ver");
    ASSERT_TRUE(rig.timers->Running(NOTIFY_UPDATES_TIMER));
    EXPECT_EQ(rig.timers->running[NOTIFY_UPDATES_TIMER], 10000);
    dialog.FireTimer(NOTIFY_UPDATES_TIMER);
    EXPECT_FALSE(rig.timers->Running(NOTIFY_UPDATES_TIMER));
    ASSERT_EQ(rig.fetcher->requests.size(), 2u);
    EXPECT_EQ(rig.fetcher->requests[1], "http://updates.invalid/ftp/quenzario3build.txt");
    rig.fetcher->Reply({true, "9000", ""});  // the news number ...
    rig.fetcher->Reply({true, "5010", ""});  // ... and a newer build
    ASSERT_EQ(rig.tray->balloons.size(), 1u);
    EXPECT_EQ(rig.tray->balloons[0].text.rfind("Quenzario Version 5.010 is available", 0), 0u);
    ASSERT_TRUE(rig.timers->Running(BALLOON_TIMER_UPDATE));
    dialog.FireTimer(BALLOON_TIMER_UPDATE);
    EXPECT_FALSE(rig.timers->Running(BALLOON_TIMER_UPDATE));
    EXPECT_FALSE(rig.tray->balloonShown);
    EXPECT_TRUE(rig.prompt.asked.empty()) << Messages(rig.prompt);
}

TEST(MainWindowPresence, TheTrayMenusCommandsReachTheWindow)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    ASSERT_TRUE(rig.tray->shown);

    // Minimising hides the window in the tray, from the menu and the title bar alike.
    dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_FALSE(dialog.isVisible());
    rig.tray->Choose(ID_SHOW_WINDOW);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Presence().m_bHidden, 0);
    dialog.showMinimized();
    PumpPostedMessages();
    EXPECT_FALSE(dialog.isVisible());
    rig.tray->Touch(TrayEvent::LeftButtonDown);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isMinimized());

    {
        ModalAnswers answers([](CDialog&) { return IDCANCEL; });
        rig.tray->Choose(ID_SETTINGS_MENU);
        EXPECT_EQ(answers.titles, std::vector<std::string>{"Settings"});
    }

    rig.tray->Choose(ID_CHECK_UPDATE);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, kNoUpdateServerMessage);
    EXPECT_TRUE(rig.fetcher->requests.empty());
    WriteAppProfileString(kUpdateServerEntry, "http://127.0.0.1:9");
    rig.tray->Choose(ID_CHECK_UPDATE);
    ASSERT_EQ(rig.fetcher->requests, std::vector<std::string>{"http://127.0.0.1:9/ftp/quenzario3build.txt"});
    rig.fetcher->Reply({true, "1000\r\n", ""});
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_EQ(rig.prompt.asked[1].text, kUpToDateMessage);

    rig.tray->Choose(ID_EXIT_PROGRAM);
    EXPECT_EQ(dialog.ModalResult(), 0);
    EXPECT_FALSE(rig.tray->shown) << "the icon goes with the window";
}

TEST(MainWindowPresence, SetupOpensTheSettingsAndOkAppliesWhatChanged)
{
    MainWindowRig rig;
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    ASSERT_NEAR(dialog.windowOpacity(), 1.0, 0.001);
    ASSERT_FALSE(OnTop(dialog));
    ASSERT_TRUE(rig.tray->shown);

    // Cancel after changing everything writes nothing and changes nothing.
    const std::string before = ReadFileText(rig.profile.Path());
    const auto change = [](CDialog& shown) {
        auto& settings = dynamic_cast<CSettings&>(shown);
        settings.Item<QSlider>(IDC_TRANSLUCENCY)->setValue(100);
        Click(settings, IDC_ALWAYSONTOP);
        Click(settings, IDC_USETRAYICON);
        auto* schemes = settings.Item<QComboBox>(IDC_COLORSCHEME);
        schemes->setCurrentIndex((schemes->currentIndex() + 3) % schemes->count());
        settings.SendNotify(IDC_COLORSCHEME, Notify::SelChange);
    };
    {
        ModalAnswers answers([&](CDialog& shown) {
            change(shown);
            Click(shown, IDC_SETTINGSCANCEL);
            return shown.ModalResult();
        });
        dialog.SendCommand(IDC_SETTINGS);
        EXPECT_EQ(answers.titles.size(), 1u);
    }
    EXPECT_EQ(ReadFileText(rig.profile.Path()), before);
    EXPECT_NEAR(dialog.windowOpacity(), 1.0, 0.001);
    EXPECT_FALSE(OnTop(dialog));
    EXPECT_TRUE(rig.tray->shown);

    // OK: the window takes what changed at once.
    {
        ModalAnswers answers([&](CDialog& shown) {
            change(shown);
            Click(shown, IDOK);
            return shown.ModalResult();
        });
        dialog.SendCommand(IDC_SETTINGS);
    }
    EXPECT_EQ(GetAppProfileInt("Translucency", -1), 155);
    EXPECT_NEAR(dialog.windowOpacity(), Opacity(155), 0.01);
    EXPECT_TRUE(OnTop(dialog));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(rig.tray->shown) << "Use Status Area Icon was cleared";
    EXPECT_EQ(dialog.Item<CMatrixStatic>(IDC_STATUS)->Colors(), GetColorScheme(GetAppProfileInt("Colors", -1)));
    EXPECT_NE(dialog.Item<CMatrixStatic>(IDC_STATUS)->Colors(), GetColorScheme(kDefaultColorScheme));
    EXPECT_NE(rig.log.Text().find("Returned from Settings, checking changes."), std::string::npos);

    // Back to opaque, the icon back.
    {
        ModalAnswers answers([&](CDialog& shown) {
            shown.Item<QSlider>(IDC_TRANSLUCENCY)->setValue(0);
            Click(shown, IDC_USETRAYICON);
            Click(shown, IDOK);
            return shown.ModalResult();
        });
        dialog.SendCommand(IDC_SETTINGS);
    }
    EXPECT_NEAR(dialog.windowOpacity(), 1.0, 0.001);
    EXPECT_TRUE(rig.tray->shown);

    // The graph the test pages share takes its new colours too.
    dialog.SendCommand(IDC_SPEEDTEST);
    rig.Settle();
    auto* graph = dialog.Item<CGraphStatic>(testpage::kGraph);
    ASSERT_NE(graph, nullptr);
    SetColourChooserHook([](COLORREF) { return std::optional<COLORREF>(0x123456); });
    {
        ModalAnswers answers([&](CDialog& shown) {
            Click(shown, IDC_GRAPHSPEED);
            Click(shown, IDC_GRAPHVERT);
            Click(shown, IDOK);
            return shown.ModalResult();
        });
        dialog.SendCommand(IDC_SETTINGS);
    }
    SetColourChooserHook(nullptr);
    const RateGraphState state = graph->Snapshot();
    EXPECT_EQ(state.speedColor, 0x123456u);
    EXPECT_EQ(state.layerBreakColor, 0x123456u);
}

TEST(MainWindowPresence, AboutOpensAndItsUpdateButtonChecks)
{
    MainWindowRig rig;
    rig.Start();
    int answer = 0;  // "&OK"
    ModalAnswers answers([&](CDialog& shown) {
        EXPECT_NE(dynamic_cast<CAboutDlg*>(&shown), nullptr);
        return answer;
    });
    rig.dialog->SendCommand(IDC_ABOUT);
    EXPECT_EQ(answers.titles, std::vector<std::string>{"About"});
    EXPECT_TRUE(rig.prompt.asked.empty());
    answer = CAboutDlg::kCheckForUpdate;
    rig.dialog->SendCommand(IDC_ABOUT);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, kNoUpdateServerMessage);
    const std::string log = rig.log.Text();
    EXPECT_NE(log.find("Open About dialog command received"), std::string::npos);
    EXPECT_NE(log.find("Check for program update command received"), std::string::npos);
}

TEST(MainWindowPresence, SnapshotSavesAPictureOfTheWindow)
{
    MainWindowRig rig;
    ScriptedFileDialogs files;
    rig.Start();
    TempDir dir;
    const std::string path = dir.File("window.png");
    files.Answer(FileDialogAnswer{path, 1});
    rig.dialog->SendCommand(IDC_SNAPSHOT);
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].title, "Choose a FileName & File Type to save snapshot");
    QImage back;
    ASSERT_TRUE(back.load(QString::fromStdString(path), "png"));
    EXPECT_EQ(back.size(), rig.dialog->size());
    EXPECT_EQ(GetAppProfileInt("SnapshotExt", -1), 1);
    EXPECT_TRUE(rig.prompt.asked.empty()) << Messages(rig.prompt);

    files.Answer(std::nullopt);  // cancelled: nothing
    rig.dialog->SendCommand(IDC_SNAPSHOT);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(MainWindowPresence, TheStartUpOffersTheFileAssociation)
{
    struct Case {
        const char* name;
        int ignore;  // "IgnoreAssocRequest" before the start, -1 absent
        int answer;
        bool dontShowAgain;
        bool asked;
        bool associated;
        int ignoreAfter;
    };
    const Case cases[] = {
        {"yes", -1, CMessageClassDlg::IDC_YES, false, true, true, -1},
        {"no", -1, CMessageClassDlg::IDC_NO, false, true, false, -1},
        {"no, not again", -1, CMessageClassDlg::IDC_NO, true, true, false, 1},
        {"ignored", 1, CMessageClassDlg::IDC_YES, false, false, false, 1},
    };
    for (const Case& c : cases) {
        MainWindowRig rig;
        XdgTree desktop;  // the program installed for this user
        if (c.ignore != -1)
            WriteAppProfileInt("IgnoreAssocRequest", c.ignore);
        ModalAnswers answers([&](CDialog& shown) {
            // Agreeing changes the desktop's file types: No is the default.
            EXPECT_TRUE(shown.Item<QPushButton>(CMessageClassDlg::IDC_NO)->isDefault()) << c.name;
            EXPECT_FALSE(shown.Item<QPushButton>(CMessageClassDlg::IDC_YES)->isDefault()) << c.name;
            if (c.dontShowAgain)
                Click(shown, CMessageClassDlg::IDC_NOSHOW);
            Click(shown, c.answer);
            return shown.ModalResult();
        });
        rig.Start();
        EXPECT_EQ(answers.titles.size(), c.asked ? 1u : 0u) << c.name;
        if (c.asked) {
            EXPECT_EQ(answers.titles[0], "File Association Repair") << c.name;
        }
        const std::string list = ReadFileText(desktop.List());
        EXPECT_EQ(list.find("application/x-quenzario-qnz=quenzario.desktop") != std::string::npos, c.associated)
            << c.name << "\n"
            << list;
        EXPECT_EQ(list.find("application/x-ibg-graph=quenzario.desktop") != std::string::npos, c.associated) << c.name;
        EXPECT_EQ(GetAppProfileInt("IgnoreAssocRequest", -1), c.ignoreAfter) << c.name;
        // The drive information page follows the question.
        EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageDriveInfo) << c.name;
    }
}
