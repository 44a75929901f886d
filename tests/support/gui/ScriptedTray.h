#pragma once

#include "gui/ui/TimerPort.h"
#include "gui/ui/TrayService.h"

#include <map>
#include <string>
#include <vector>

// A notification area the test owns: available or not, recording the icon,
// its tip and balloons; the test plays the user's clicks and menu choices.
class ScriptedTray : public TrayService {
public:
    struct Balloon {
        std::string title;
        std::string text;
        int timeoutMs;
    };
    explicit ScriptedTray(bool trayAvailable = true) : available(trayAvailable) {}

    bool IsAvailable() const override { return available; }
    bool AddIcon(const TrayIconSetup& iconSetup) override
    {
        if (!available)
            return false;
        setup = iconSetup;
        shown = true;
        return true;
    }
    void SetTip(const std::string& tip) override { setup.tip = tip; }
    void RemoveIcon() override { shown = false; }
    void ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) override
    {
        balloons.push_back({title, text, timeoutMs});
        balloonShown = true;
    }
    void ClearBalloon() override { balloonShown = false; }

    void Touch(TrayEvent event) { setup.onEvent(event); }
    void Choose(int command) { setup.onCommand(command); }

    bool available;
    bool shown = false;
    bool balloonShown = false;
    TrayIconSetup setup;
    std::vector<Balloon> balloons;
};

// Timers that run only when the test ticks them.
class ManualTimers : public TimerPort {
public:
    void SetTimer(int id, int milliseconds) override { running[id] = milliseconds; }
    void KillTimer(int id) override { running.erase(id); }
    bool Running(int id) const { return running.count(id) != 0; }

    std::map<int, int> running;  // id -> period
};
