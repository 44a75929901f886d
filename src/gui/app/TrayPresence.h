#pragma once

#include "core/ui/UiGeometry.h"
#include "gui/ui/TrayService.h"

#include <functional>
#include <string>

class QWidget;
class TimerPort;

// The main window's presence on the desktop: its icon in the notification
// area (tip, balloons, menu), hiding there instead of minimising, starting
// hidden, its saved position, "always on top" and translucency. Without a
// notification area the program runs on with no icon and the window is
// minimised instead of hidden, never lost.
class TrayPresence {
public:
    TrayPresence(QWidget& window, TrayService& tray, TimerPort& timers);
    ~TrayPresence();
    TrayPresence(const TrayPresence&) = delete;
    TrayPresence& operator=(const TrayPresence&) = delete;

    // Where the tray menu's commands go (the window's command map).
    void SetCommandTarget(std::function<void(int)> target) { m_commandTarget = std::move(target); }

    // Start-up: the icon when "UseStatusAreaIcon" is 1, the start minimised
    // check and the window's opacity from "Translucency".
    void InitDisplays();
    bool InitStatusAreaIcon(bool modify);
    void DeleteStatusAreaIcon();
    // After the settings: the icon added or removed as "UseStatusAreaIcon"
    // now says; a window hidden in the tray comes back when the icon goes.
    void ApplyIconSetting();
    void ShowTrayBalloon(const std::string& text);
    void ClearTrayBalloon();
    void OnTrayNotify(TrayEvent event);
    void OnShowWindowCommand();
    // The window's minimise button.
    void HideToStatusArea();
    void CheckMinimize();
    // "VideoWindow Left", "VideoWindow Top", brought back onto a screen when
    // it lies off every one.
    UiPoint SavedWindowPosition() const;
    // Moves the window to its saved position.
    void InitWindowPos();
    void SetAlwaysOnTop(bool on);
    // The window's opacity from "Translucency" (opaque again at 255).
    void ApplyTranslucency();
    // MIMIMIZE_TIMER; false for a timer of someone else.
    bool OnTimer(int id);

    int m_bTrayIcon = 0;  // 1 while the icon exists
    int m_bHidden = 0;  // 1 while hidden in the tray (or minimised instead)
    std::string m_strTrayTip;

private:
    // Hides the window into the tray, or minimises it when there is no icon.
    void PutAway();

    QWidget& m_window;
    TrayService& m_tray;
    TimerPort& m_timers;
    std::function<void(int)> m_commandTarget;
};
