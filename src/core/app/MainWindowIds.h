#pragma once

// Timers of the main window.
enum MainTimer : int {
    MIMIMIZE_TIMER = 2,
    NOTIFY_UPDATES_TIMER = 3,
    BALLOON_TIMER_UPDATE = 4,
    STARTUP_TIMER = 7,
    BALLOON_TIMER_NEWS = 15,
    RESCAN_TIMER = 20,  // a drive rescan waits for the running operation
};

// The tray menu's commands, sent to the main window.
constexpr int ID_EXIT_PROGRAM = 32771;
constexpr int ID_SETTINGS_MENU = 32772;
constexpr int ID_SHOW_WINDOW = 32773;
constexpr int ID_CHECK_UPDATE = 32774;
