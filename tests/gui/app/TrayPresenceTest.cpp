#include "core/app/MainWindowIds.h"
#include "core/base/AppProfile.h"
#include "gui/app/TrayPresence.h"
#include "support/TestSupport.h"
#include "support/gui/ScriptedTray.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TrayRig {
    ScopedProfile profile;
    ScopedProgramLog log;
    QWidget window;
    ScriptedTray tray;
    ManualTimers timers;
    std::vector<int> commands;
    TrayPresence presence{window, tray, timers};

    explicit TrayRig(bool trayAvailable = true) : tray(trayAvailable)
    {
        window.resize(300, 200);
        presence.SetCommandTarget([this](int command) { commands.push_back(command); });
    }
};

}  // namespace

TEST(TrayPresence, IconTipMenuBalloonsAndTheNewsMark)
{
    TrayRig rig;
    rig.presence.InitDisplays();
    ASSERT_TRUE(rig.tray.shown);
    EXPECT_EQ(rig.presence.m_bTrayIcon, 1);
    EXPECT_EQ(rig.tray.setup.tip, "Quenzario Vantor V1.000");
    EXPECT_FALSE(rig.tray.setup.icon.isNull());
    ASSERT_EQ(rig.tray.setup.menu.size(), 4u);
    const std::pair<int, const char*> menu[] = {{ID_SHOW_WINDOW, "&Show Window"},
                                                {ID_SETTINGS_MENU, "&Settings"},
                                                {ID_CHECK_UPDATE, "&Check for program update"},
                                                {ID_EXIT_PROGRAM, "&Exit"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rig.tray.setup.menu[i].command, menu[i].first);
        EXPECT_EQ(rig.tray.setup.menu[i].text, menu[i].second);
    }
    EXPECT_TRUE(rig.window.isVisible());
    EXPECT_EQ(rig.presence.m_bHidden, 0);

    rig.tray.Choose(ID_CHECK_UPDATE);
    EXPECT_EQ(rig.commands, std::vector<int>{ID_CHECK_UPDATE});

    rig.presence.ShowTrayBalloon(std::string(300, 'n'));
    ASSERT_EQ(rig.tray.balloons.size(), 1u);
    EXPECT_EQ(rig.tray.balloons[0].title, "Quenzario by Orvelsoft");
    EXPECT_EQ(rig.tray.balloons[0].text.size(), 255u);
    EXPECT_EQ(rig.tray.balloons[0].timeoutMs, 10000);
    rig.presence.ClearTrayBalloon();
    EXPECT_FALSE(rig.tray.balloonShown);
    EXPECT_TRUE(rig.tray.shown) << "the icon stays";

    EXPECT_EQ(GetAppProfileInt("NewsItemShown", 0), 0);
    rig.tray.Touch(TrayEvent::MouseMove);
    EXPECT_EQ(GetAppProfileInt("NewsItemShown", 0), 1);

    rig.presence.DeleteStatusAreaIcon();
    EXPECT_FALSE(rig.tray.shown);
    EXPECT_EQ(rig.presence.m_bTrayIcon, 0);
    rig.presence.DeleteStatusAreaIcon();  // none left: nothing happens
    EXPECT_NE(rig.log.Text().find("Status Area Icon deleted"), std::string::npos);
}

TEST(TrayPresence, MinimiseHidesIntoTheTrayOrMinimisesAndAClickRestores)
{
    TrayRig rig;
    rig.presence.InitDisplays();
    rig.presence.HideToStatusArea();
    EXPECT_TRUE(rig.window.isHidden());
    EXPECT_EQ(rig.presence.m_bHidden, 1);
    rig.tray.Touch(TrayEvent::LeftButtonDown);
    EXPECT_TRUE(rig.window.isVisible());
    EXPECT_EQ(rig.presence.m_bHidden, 0);

    WriteAppProfileInt("MinimizeToStatusArea", 0);
    rig.presence.HideToStatusArea();
    EXPECT_TRUE(rig.window.isMinimized());
    EXPECT_FALSE(rig.window.isHidden());
    EXPECT_TRUE(rig.tray.shown);
    rig.tray.Touch(TrayEvent::LeftButtonDown);
    EXPECT_FALSE(rig.window.isMinimized());

    // A cleared balloon leaves the icon, and a click still restores the window.
    WriteAppProfileInt("MinimizeToStatusArea", 1);
    rig.presence.ShowTrayBalloon("news");
    rig.presence.ClearTrayBalloon();
    rig.presence.HideToStatusArea();
    rig.tray.Touch(TrayEvent::LeftButtonDown);
    EXPECT_TRUE(rig.window.isVisible());
}

TEST(TrayPresence, StartsHiddenAndTheMinimiseTimerHidesAgain)
{
    TrayRig rig;
    WriteAppProfileInt("StartMinimized", 1);
    rig.presence.InitDisplays();
    EXPECT_TRUE(rig.window.isHidden());
    EXPECT_EQ(rig.presence.m_bHidden, 1);
    ASSERT_TRUE(rig.timers.Running(MIMIMIZE_TIMER));
    EXPECT_EQ(rig.timers.running[MIMIMIZE_TIMER], 200);

    rig.window.show();  // as the window's modal run does
    EXPECT_FALSE(rig.presence.OnTimer(NOTIFY_UPDATES_TIMER));
    EXPECT_TRUE(rig.presence.OnTimer(MIMIMIZE_TIMER));
    EXPECT_FALSE(rig.timers.Running(MIMIMIZE_TIMER));
    EXPECT_TRUE(rig.window.isHidden());
    EXPECT_NE(rig.log.Text().find("Killing timer MIMIMIZE_TIMER"), std::string::npos);

    rig.presence.OnShowWindowCommand();
    EXPECT_TRUE(rig.window.isVisible());
    EXPECT_EQ(rig.presence.m_bHidden, 0);
}

TEST(TrayPresence, WithoutATrayTheProgramRunsOnAndTheWindowIsNeverHidden)
{
    TrayRig rig(false);
    WriteAppProfileInt("StartMinimized", 1);
    rig.presence.InitDisplays();
    EXPECT_EQ(rig.presence.m_bTrayIcon, 0);
    EXPECT_FALSE(rig.window.isHidden());
    EXPECT_TRUE(rig.window.isMinimized());
    EXPECT_FALSE(rig.timers.Running(MIMIMIZE_TIMER));
    const std::string log = rig.log.Text();
    EXPECT_NE(log.find("InitStatusAreaIcon() function failed - returned FALSE"), std::string::npos);

    rig.window.showNormal();
    rig.presence.HideToStatusArea();
    EXPECT_FALSE(rig.window.isHidden());
    EXPECT_TRUE(rig.window.isMinimized());
    rig.presence.ShowTrayBalloon("update");
    EXPECT_TRUE(rig.tray.balloons.empty());
}

TEST(TrayPresence, SwitchedOffThereIsNoIconAndNoComplaint)
{
    TrayRig rig;
    WriteAppProfileInt("UseStatusAreaIcon", 0);
    rig.presence.InitDisplays();
    EXPECT_FALSE(rig.tray.shown);
    EXPECT_EQ(rig.presence.m_bTrayIcon, 0);
    EXPECT_EQ(rig.log.Text().find("InitStatusAreaIcon() function failed"), std::string::npos);

    // Switched on and off again from the settings while hidden in the tray.
    WriteAppProfileInt("UseStatusAreaIcon", 1);
    rig.presence.ApplyIconSetting();
    EXPECT_TRUE(rig.tray.shown);
    rig.presence.HideToStatusArea();
    ASSERT_TRUE(rig.window.isHidden());
    WriteAppProfileInt("UseStatusAreaIcon", 0);
    rig.presence.ApplyIconSetting();
    EXPECT_FALSE(rig.tray.shown);
    EXPECT_TRUE(rig.window.isVisible()) << "nothing else could bring it back";
}

TEST(TrayPresence, PositionOnAScreenTranslucencyAndAlwaysOnTop)
{
    TrayRig rig;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    WriteAppProfileInt("VideoWindow Left", screen.left() + 40);
    WriteAppProfileInt("VideoWindow Top", screen.top() + 30);
    rig.presence.InitWindowPos();
    EXPECT_EQ(rig.window.pos(), screen.topLeft() + QPoint(40, 30));

    for (const auto& [x, y] : {std::pair{-20, 100}, {screen.right() + 1, 100}, {100, screen.bottom() + 5}}) {
        WriteAppProfileInt("VideoWindow Left", x);
        WriteAppProfileInt("VideoWindow Top", y);
        rig.presence.InitWindowPos();
        EXPECT_EQ(rig.window.pos(), screen.topLeft()) << x << "," << y;
    }

    WriteAppProfileInt("Translucency", 200);
    rig.presence.InitDisplays();
    EXPECT_NEAR(rig.window.windowOpacity(), 200 / 255.0, 0.01);

    rig.presence.SetAlwaysOnTop(true);
    EXPECT_TRUE(rig.window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(rig.window.isVisible());
    rig.presence.SetAlwaysOnTop(false);
    EXPECT_FALSE(rig.window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(rig.window.isVisible());
}

TEST(TrayPresence, TheDesktopsTrayOffscreenHasNoIconAndTheWindowStays)
{
    ScopedProfile profile;
    QWidget window;
    ManualTimers timers;
    const std::unique_ptr<TrayService> tray = MakeSystemTray();
    ASSERT_FALSE(tray->IsAvailable()) << "the offscreen platform has no notification area";
    TrayPresence presence(window, *tray, timers);
    presence.InitDisplays();
    EXPECT_EQ(presence.m_bTrayIcon, 0);
    presence.HideToStatusArea();
    EXPECT_FALSE(window.isHidden());
    presence.ShowTrayBalloon("nothing to show it in");
    presence.DeleteStatusAreaIcon();
}
