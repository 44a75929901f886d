#pragma once

#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The icon in the desktop's notification area (system tray): its tip, its
// balloons, its menu, and what the user does with it. The program uses
// QSystemTrayIcon; tests use a scripted tray.

enum class TrayEvent {
    LeftButtonDown,  // a click on the icon
    RightButtonUp,  // the icon's menu opens
    MouseMove,  // any other touch of the icon
};

struct TrayMenuEntry {
    int command;
    std::string text;  // "&Show Window"
};

struct TrayIconSetup {
    QImage icon;
    std::string tip;
    std::vector<TrayMenuEntry> menu;
    std::function<void(TrayEvent)> onEvent;
    std::function<void(int)> onCommand;  // a menu entry was chosen
};

class TrayService {
public:
    virtual ~TrayService() = default;
    // False on a desktop without a notification area.
    virtual bool IsAvailable() const = 0;
    // Shows the icon; false when it cannot be shown.
    virtual bool AddIcon(const TrayIconSetup& setup) = 0;
    virtual void SetTip(const std::string& tip) = 0;
    virtual void RemoveIcon() = 0;
    virtual void ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) = 0;
    // Takes a balloon away where the desktop allows it; the icon stays.
    virtual void ClearBalloon() = 0;
};

// The tray of the desktop the program runs on.
std::unique_ptr<TrayService> MakeSystemTray();
