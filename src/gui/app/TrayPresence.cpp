#include "gui/app/TrayPresence.h"

#include "core/app/MainWindowIds.h"
#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/ui/Translucency.h"
#include "core/ui/WindowPlacement.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/Resources.h"
#include "gui/ui/TimerPort.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <vector>

namespace {

constexpr int kMinimizeTimerMs = 200;
constexpr int kBalloonTimeoutMs = 10000;
constexpr std::size_t kTipLimit = 127;
constexpr std::size_t kBalloonLimit = 255;
constexpr const char* kBalloonTitle = "Quenzario by Orvelsoft";

std::vector<UiRect> ScreenAreas()
{
    std::vector<UiRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas.push_back(ToUiRect(primary->availableGeometry()));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas.push_back(ToUiRect(screen->availableGeometry()));
    }
    return areas;
}

}  // namespace

TrayPresence::TrayPresence(QWidget& window, TrayService& tray, TimerPort& timers) :
    m_window(window), m_tray(tray), m_timers(timers)
{
}

TrayPresence::~TrayPresence()
{
    DeleteStatusAreaIcon();
}

void TrayPresence::InitDisplays()
{
    if (GetAppProfileInt("UseStatusAreaIcon", 1) == 1) {
        if (!InitStatusAreaIcon(false)) {
            LogEntry("InitStatusAreaIcon() function failed - returned FALSE");
            LogEntry("No system tray on this desktop: the program runs without its status area icon");
        }
    } else {
        m_bTrayIcon = 0;
    }
    CheckMinimize();
    ApplyTranslucency();
}

void TrayPresence::ApplyTranslucency()
{
    m_window.setWindowOpacity(ReadTranslucencyAlpha().value_or(kOpaqueAlpha) / 255.0);
}

bool TrayPresence::InitStatusAreaIcon(bool modify)
{
    LogEntry("InitStatusAreaIcon - Start");
    m_strTrayTip = Format("Quenzario Vantor V%.3f", GetProgramVersionNumber()).substr(0, kTipLimit);
    LogEntry("Status Area Icon Initialised");
    LogEntry("InitStatusAreaIcon - End");
    if (modify) {
        if (m_bTrayIcon)
            m_tray.SetTip(m_strTrayTip);
        return m_bTrayIcon == 1;
    }
    TrayIconSetup setup;
    setup.icon = LoadIconResource(IDR_MAINFRAME);
    setup.tip = m_strTrayTip;
    setup.menu = {{ID_SHOW_WINDOW, "&Show Window"},
                  {ID_SETTINGS_MENU, "&Settings"},
                  {ID_CHECK_UPDATE, "&Check for program update"},
                  {ID_EXIT_PROGRAM, "&Exit"}};
    setup.onEvent = [this](TrayEvent event) { OnTrayNotify(event); };
    setup.onCommand = [this](int command) {
        if (m_commandTarget)
            m_commandTarget(command);
    };
    if (!m_tray.AddIcon(setup))
        return false;
    m_bTrayIcon = 1;
    return true;
}

void TrayPresence::DeleteStatusAreaIcon()
{
    if (m_bTrayIcon != 1)
        return;
    m_tray.RemoveIcon();
    m_bTrayIcon = 0;
    LogEntry("Status Area Icon deleted");
}

void TrayPresence::ApplyIconSetting()
{
    const bool wanted = GetAppProfileInt("UseStatusAreaIcon", 1) == 1;
    if (wanted && m_bTrayIcon == 0) {
        if (!InitStatusAreaIcon(false))
            LogEntry("InitStatusAreaIcon() function failed - returned FALSE");
    } else if (!wanted && m_bTrayIcon == 1) {
        DeleteStatusAreaIcon();
        if (m_window.isHidden() && m_bHidden == 1)
            OnShowWindowCommand();
    }
}

void TrayPresence::ShowTrayBalloon(const std::string& text)
{
    if (m_bTrayIcon == 1)
        m_tray.ShowBalloon(kBalloonTitle, text.substr(0, kBalloonLimit), kBalloonTimeoutMs);
}

void TrayPresence::ClearTrayBalloon()
{
    if (m_bTrayIcon == 1)
        m_tray.ClearBalloon();
}

void TrayPresence::OnTrayNotify(TrayEvent event)
{
    switch (event) {
    case TrayEvent::LeftButtonDown:
        if (m_window.isMinimized())
            m_window.showNormal();
        else
            m_window.show();
        m_window.raise();
        m_window.activateWindow();
        m_bHidden = 0;
        break;
    case TrayEvent::RightButtonUp:
        LogEntry("WM_RBUTTONUP Message received");
        if (m_window.isVisible())
            m_window.raise();
        break;
    case TrayEvent::MouseMove: break;
    }
    WriteAppProfileInt("NewsItemShown", 1);
}

void TrayPresence::OnShowWindowCommand()
{
    LogEntry("ShowWindows command received");
    if (m_window.isMinimized())
        m_window.showNormal();
    else
        m_window.show();
    m_bHidden = 0;
}

void TrayPresence::PutAway()
{
    if (m_bTrayIcon == 1)
        m_window.hide();
    else
        m_window.showMinimized();
}

void TrayPresence::HideToStatusArea()
{
    LogEntry("Hide window command received");
    if (GetAppProfileInt("MinimizeToStatusArea", 1) == 1)
        PutAway();
    else
        m_window.showMinimized();
    m_bHidden = 1;
}

void TrayPresence::CheckMinimize()
{
    LogEntry("CheckMinimize() - Start");
    if (GetAppProfileInt("StartMinimized", 0) == 1) {
        LogEntry("CheckMinimize() - starting minimized");
        PutAway();
        if (m_bTrayIcon == 1)
            m_timers.SetTimer(MIMIMIZE_TIMER, kMinimizeTimerMs);
        m_bHidden = 1;
    } else {
        m_window.show();
        m_bHidden = 0;
    }
    LogEntry("CheckMinimize() - End");
}

bool TrayPresence::OnTimer(int id)
{
    if (id != MIMIMIZE_TIMER)
        return false;
    LogEntry("Killing timer MIMIMIZE_TIMER");
    m_timers.KillTimer(MIMIMIZE_TIMER);
    if (m_bTrayIcon == 1 && m_bHidden == 1)
        m_window.hide();
    return true;
}

UiPoint TrayPresence::SavedWindowPosition() const
{
    return PlaceOnScreens(GetAppProfileInt("VideoWindow Left", 0), GetAppProfileInt("VideoWindow Top", 0),
                          ScreenAreas());
}

void TrayPresence::InitWindowPos()
{
    LogEntry("InitWindowPos() - Start");
    const UiPoint at = SavedWindowPosition();
    LogEntryF("Setting window co-ordinates  X = %d Y = %d", at.x, at.y);
    LogEntry("InitWindowPos() - End");
    m_window.move(at.x, at.y);
}

void TrayPresence::SetAlwaysOnTop(bool on)
{
    LogEntry(on ? "Always on top selected" : "Always on top not selected");
    const bool shown = m_window.isVisible();
    m_window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        m_window.show();  // a change of flags hides a window
}
