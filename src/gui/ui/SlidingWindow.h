#pragma once

#include "core/ui/DockSlide.h"

class CDialog;
class QWidget;

// The tool windows that slide out beside the main window (the sector
// viewer's address window, the custom command panel) run their DockSlide
// one tick at a time; these move them as it says.

// Where the ticks come from: the window's own timer, or while one is set,
// a clock the caller owns (tests move it on themselves).
class SlideClock {
public:
    virtual ~SlideClock() = default;
    // One tick of the window's timer `timerId` (its OnTimer) after
    // `milliseconds`; a tick still waiting for the same timer is dropped.
    virtual void Schedule(CDialog& window, int timerId, int milliseconds) = 0;
    virtual void Cancel(CDialog& window, int timerId) = 0;
};
// Null (the start) gives the windows' own timers back.
void SetSlideClock(SlideClock* clock);

// Starts a slide: its first tick after `milliseconds`.
void StartSlideTimer(CDialog& window, int timerId, int milliseconds);
// One tick: the window moved (shown while it comes out and once docked,
// hidden at the end of sliding back), kept behind the main window, which
// keeps the focus, and the next tick asked for while the slide goes on.
void SlideTick(CDialog& window, int timerId, DockSlide& slide, const UiRect& main, QWidget* mainWindow);
// A window that is out and not sliding stands docked beside the main window.
void DockBeside(QWidget& window, const DockSlide& slide, const UiRect& main);
