#include "gui/ui/SlidingWindow.h"

#include "gui/ui/Dialog.h"
#include "gui/ui/QtConvert.h"

#include <atomic>

namespace {

std::atomic<SlideClock*> g_clock{nullptr};

}  // namespace

void SetSlideClock(SlideClock* clock)
{
    g_clock = clock;
}

void StartSlideTimer(CDialog& window, int timerId, int milliseconds)
{
    if (SlideClock* clock = g_clock.load()) {
        window.KillTimer(timerId);
        clock->Schedule(window, timerId, milliseconds);
    } else {
        window.SetTimer(timerId, milliseconds);
    }
}

void SlideTick(CDialog& window, int timerId, DockSlide& slide, const UiRect& main, QWidget* mainWindow)
{
    window.KillTimer(timerId);
    if (SlideClock* clock = g_clock.load())
        clock->Cancel(window, timerId);
    const DockSlide::Step step = slide.OnTimer(main);
    window.setGeometry(ToQRect(step.place));
    switch (step.kind) {
    case DockSlide::Step::Kind::Move:
        if (!slide.Hidden())
            window.show();
        break;
    case DockSlide::Step::Kind::Dock: window.show(); break;
    case DockSlide::Step::Kind::Hide: window.hide(); break;
    }
    if (mainWindow)
        mainWindow->raise();
    if (step.nextTimerMs > 0)
        StartSlideTimer(window, timerId, step.nextTimerMs);
}

void DockBeside(QWidget& window, const DockSlide& slide, const UiRect& main)
{
    if (!slide.Hidden() && !slide.TimerArmed())
        window.setGeometry(ToQRect(slide.DockedPlace(main)));
}
