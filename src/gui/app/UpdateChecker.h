#pragma once

#include "core/app/UpdateCheck.h"

#include <memory>
#include <optional>
#include <string>

class TimerPort;
class TrayPresence;
class WebFetcher;
struct FetchResult;

// The update and news checks of the main window: the loud check of the tray
// menu, the quiet one after start-up ("NotifyUpdates") and the news check.
// Each fetches a file of the update server named by the profile value
// "UpdateServer" without blocking the window and decides when the answer
// comes; with no server configured nothing is sent anywhere.
class UpdateChecker {
public:
    UpdateChecker(WebFetcher& fetcher, TrayPresence& tray, TimerPort& timers);
    ~UpdateChecker();
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // Start-up: with "NotifyUpdates" 1, the quiet check follows in 10 s
    // (NOTIFY_UPDATES_TIMER).
    void ScheduleQuietCheck();
    // 0 when a fetch started, -1 when none could (no or a bad server address).
    int CheckForUpdate();
    int CheckForUpdateQuiet();
    int CheckForNews();
    // The tray menu's "&Check for program update".
    void Checkprogupdate();
    // NOTIFY_UPDATES_TIMER, BALLOON_TIMER_UPDATE and BALLOON_TIMER_NEWS;
    // false for a timer of someone else.
    bool OnTimer(int id);

    // How long a fetch may wait for the server (tests shorten it).
    void SetTimeoutMs(int milliseconds) { m_nTimeoutMs = milliseconds; }
    // Fetches still waiting for their answer.
    bool Busy() const;

    // What the server said last.
    std::optional<ServerBuild> m_ServerBuild;
    int m_nNewsNumber = 0;

private:
    // The address of a server file; tells the user why not when loud.
    std::optional<std::string> ServerFile(const char* file, bool loud, const char* who);
    void Fetch(const std::string& address, std::size_t limit, void (UpdateChecker::*handler)(const FetchResult&));
    void DoInternetMessage(const FetchResult& result);
    void DoInternetMessageQuiet(const FetchResult& result);
    void OnNewsNumber(const FetchResult& result);
    void DoNewsMessage();
    void OnNewsText(const FetchResult& result);

    WebFetcher& m_fetcher;
    TrayPresence& m_tray;
    TimerPort& m_timers;
    int m_nTimeoutMs = kFetchTimeoutMs;
    std::shared_ptr<UpdateChecker*> m_alive;  // answers after this is gone are dropped
};
